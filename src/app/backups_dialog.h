#pragma once

#include "backup/unit_backup.h"

#include <QDialog>

#include <optional>

class QTreeWidget;

namespace quvex::app {

// File › Backups...: the connected unit's versions in the backup store, newest first, each with
// its time and the number of items it changed from the one before. "Compare with unit" accepts
// it with the version chosen (the newest at first).
class BackupsDialog final : public QDialog
{
public:
    BackupsDialog(QWidget *parent, const QList<backup::ListedVersion> &versions);

    QTreeWidget &list() const { return *m_list; }
    // The chosen version's file; empty when none is chosen.
    QString chosen() const;

private:
    QList<backup::ListedVersion> m_versions;
    QTreeWidget *m_list;
};

// Shows the dialog modally: the file of the version to compare with the unit, or nothing.
std::optional<QString> choose_backup(QWidget *parent, const QList<backup::ListedVersion> &versions);

} // namespace quvex::app
