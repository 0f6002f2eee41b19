#pragma once

#include <QAbstractTableModel>

namespace quvex::rack {
class Rack;
}

namespace quvex::app {

// The Units window's table: one line per row of the rack, as the rack has it now. The state is
// words first, with a colour and a light beside them for a glance; the name is the only column
// the operator edits, and the rack keeps it.
class UnitsTableModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Port, Name, Device, Model, State, LastBackup, Changes, Progress, ColumnCount };
    // Progress: the percentage done while an action runs on the row; nothing otherwise.
    static constexpr int kPercentRole = Qt::UserRole;

    explicit UnitsTableModel(rack::Rack &rack, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

Q_SIGNALS:
    // The rack could not keep a name: why.
    void name_refused(const QString &reason);

private:
    rack::Rack &m_rack;
};

} // namespace quvex::app
