#include "units_table_model.h"

#include "catalogue/unit_models.h"
#include "rack/rack.h"
#include "text/visible_text.h"

#include <QColor>
#include <QDateTime>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace quvex::app {

namespace {

QColor state_colour(rack::UnitState state)
{
    switch (state) {
    case rack::UnitState::Answers:
        return {0, 128, 0};
    case rack::UnitState::OpenInPanel:
        return {0, 0, 192};
    case rack::UnitState::NoAnswer:
        return {192, 0, 0};
    case rack::UnitState::NotQuvex:
    case rack::UnitState::InUse:
        return {160, 96, 0};
    case rack::UnitState::WillNotOpen:
        return {128, 0, 128};
    case rack::UnitState::NotAsked:
        break;
    }
    return {96, 96, 96};
}

// A round light in the state's colour, as the status lights of a rack's gear.
QIcon state_light(rack::UnitState state)
{
    QPixmap light(12, 12);
    light.fill(Qt::transparent);
    QPainter painter(&light);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    painter.setBrush(state_colour(state));
    painter.drawEllipse(QRectF(0.5, 0.5, 11, 11));
    return QIcon(light);
}

bool has_model(const rack::UnitRow &row)
{
    return row.model_index > 0
           && (row.state == rack::UnitState::Answers || row.state == rack::UnitState::OpenInPanel
               || row.state == rack::UnitState::NoAnswer);
}

QString cell_text(const rack::UnitRow &row, int column)
{
    switch (column) {
    case UnitsTableModel::Port:
        return row.port.number ? QString::number(row.port.number) : QString();
    case UnitsTableModel::Name:
        return text::visible(row.name);
    case UnitsTableModel::Device:
        return text::visible(row.port.device);
    case UnitsTableModel::Model: {
        if (!has_model(row))
            return {};
        const catalogue::UnitModel &model = catalogue::unit_models().at(std::size_t(row.model_index));
        return model.code + u' ' + model.display_name;
    }
    case UnitsTableModel::State:
        return rack::state_text(row); // its reasons are made visible where they are written
    case UnitsTableModel::LastBackup: {
        // The store names versions by UTC time; the operator reads the clock on the wall.
        const QDateTime at = QDateTime::fromString(row.last_backup, Qt::ISODate);
        return at.isValid() ? at.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : row.last_backup;
    }
    case UnitsTableModel::Changes:
        return row.changes;
    case UnitsTableModel::Progress:
        return row.running ? QStringLiteral("%1 of %2").arg(row.done).arg(row.total) : row.outcome;
    default:
        return {};
    }
}

} // namespace

UnitsTableModel::UnitsTableModel(rack::Rack &rack, QObject *parent)
    : QAbstractTableModel(parent)
    , m_rack(rack)
{
    connect(&rack, &rack::Rack::rows_reset, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&rack, &rack::Rack::row_changed, this,
            [this](int row) { Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1)); });
}

int UnitsTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rack.rows().size());
}

int UnitsTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant UnitsTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const rack::UnitRow &row = m_rack.rows().at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return cell_text(row, index.column());
    case Qt::EditRole:
        return index.column() == Name ? row.name : cell_text(row, index.column());
    case Qt::ForegroundRole:
        return index.column() == State ? QVariant(state_colour(row.state)) : QVariant();
    case Qt::DecorationRole:
        return index.column() == State ? QVariant(state_light(row.state)) : QVariant();
    case kPercentRole:
        if (index.column() == Progress && row.running)
            return row.total > 0 ? row.done * 100 / row.total : 0;
        return {};
    default:
        return {};
    }
}

QVariant UnitsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QString kTitles[ColumnCount] = {
        QStringLiteral("Port"),          QStringLiteral("Name"),     QStringLiteral("Device or address"),
        QStringLiteral("Model"),         QStringLiteral("State"),    QStringLiteral("Last backup"),
        QStringLiteral("Changes since"), QStringLiteral("Progress"),
    };
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount
        || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return QAbstractTableModel::headerData(section, orientation, role);
    return kTitles[section];
}

Qt::ItemFlags UnitsTableModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.column() == Name ? flags | Qt::ItemIsEditable : flags;
}

bool UnitsTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() != Name || role != Qt::EditRole || index.row() >= rowCount())
        return false;
    QString error;
    if (m_rack.set_name(index.row(), value.toString().trimmed(), &error))
        return true;
    Q_EMIT name_refused(error);
    return false;
}

} // namespace quvex::app
