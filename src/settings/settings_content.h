#pragma once

#include "catalogue/value.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace quvex::settings {

inline const QString kSettingsIdentifier = QStringLiteral("QUVEX Control Panel");

// Real files are a few KiB with fewer than 60 pairs; anything near these is not one of ours,
// and loading it would keep the window locked for many minutes.
inline constexpr qint64 kSettingsSizeLimit = 1 << 20;
inline constexpr int kSettingsPairLimit = 1000;

// One item line of a settings file: the name as the file spells it, and its value, empty
// where the file gives none.
struct SettingsPair
{
    QString name;
    catalogue::Value value;
};

// A settings file as read before anything of it reaches a unit. A refused file holds only the
// operator's message saying why. A file damaged part-way holds the pairs before the damage and
// the name of the pair where it is.
struct SettingsContent
{
    QString refusal;
    bool unknown_model = false; // the refusal is the unknown QUVEX type
    int model_index = 0;
    QList<SettingsPair> pairs;
    std::optional<QString> damaged_at;
};

SettingsContent parse_settings(const QByteArray &bytes);
// As parse_settings; refused with "Could not open file <path>" when path is no readable plain file.
SettingsContent read_settings_file(const QString &path);

} // namespace quvex::settings
