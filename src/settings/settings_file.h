#pragma once

#include "panel/panel.h"
#include "settings_compare.h"
#include "settings_content.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QSaveFile;

namespace quvex::settings {

// "c:\quvex.cfg" on Windows, quvex.cfg in the home folder elsewhere.
QString settings_path();

// Every value of the connected unit, in the order a save writes them, each read afresh from the
// unit in one unit-wide run; nothing when the unit could not be read to the end (the exchange
// has said why).
std::optional<QList<SettingsPair>> read_unit_pairs(const catalogue::Catalogue &items, link::ModeBracket &bracket,
                                                   panel::Panel &panel, const QString &verb);
// A settings file holding the pairs of the named model.
QByteArray settings_bytes(const QString &model_name, const QList<SettingsPair> &pairs);

// A settings file is written beside the old one and put in its place only when complete.
// Opened unbuffered, so that a write that fails (a full disk) is seen where it happens and not
// lost in a late flush that the commit does not report; only where may_replace() allows.
bool open_for_replace(QSaveFile &file);
bool commit_settings(QSaveFile &file, const QByteArray &bytes);
// Writes bytes to path whole or not at all, as above; empty on success, else "cannot write PATH:
// the system's reason". A write cut short (a full disk) is tried on from where it stopped, so
// that the system's reason comes to light.
QString write_whole(const QString &path, const QByteArray &bytes);

// Saves every value of the connected unit to a settings file, as the unit reports it now, and
// loads such a file into a unit through the ordinary set-value path. The fixed-path items work
// on the one file it is built with, the others on any path; each message names the file used.
// A save that does not finish leaves the previous file exactly as it was.
class SettingsFile
{
public:
    SettingsFile(catalogue::Catalogue &items, link::ModeBracket &bracket, link::OperatorSide &operator_side,
                 panel::Panel &panel, QString path);

    const QString &path() const { return m_path; }
    QString open_caption() const;
    QString save_caption() const;
    QString compare_caption() const;

    void filesave_Click() { save_to(m_path); }
    void fileopen_Click() { open_from(m_path); }
    void filecompare_Click(const DifferenceChooser &choose) { compare_with(m_path, choose); }

    void save_to(const QString &path);
    void open_from(const QString &path);
    // Reads the unit, lists where it differs from the file and sends what the operator checks.
    void compare_with(const QString &path, const DifferenceChooser &choose);

    // Selects the content's model and applies its pairs, as an open of a file that holds them;
    // false when an exchange failed and the rest was left. items_begun, when given, counts the
    // file's items whose turn came: each but the last of them was loaded whole.
    bool load(const SettingsContent &content, int *items_begun = nullptr);

private:
    void show(const QString &text);
    // The lines of the file that name no item of its model, in one message, if there are any.
    void show_unknown_names(const SettingsContent &content, const QString &not_done);
    // In one unit-wide run; false when an exchange failed and the rest was left.
    bool apply(const QList<SettingsPair> &pairs, const QString &verb, int total, int *items_begun = nullptr);

    catalogue::Catalogue &m_items;
    link::ModeBracket &m_bracket;
    link::OperatorSide &m_operator;
    panel::Panel &m_panel;
    QString m_path;
};

} // namespace quvex::settings
