#include "unit_row.h"

#include "row_states.h"
#include "text/visible_text.h"

namespace quvex::rack {

namespace {

// The port layer says "<device> is in use by <holder>. Close that program..." or "<device> is
// busy: another program holds it...": the row names the holder without the device it is on.
const QString kInUseBy = QStringLiteral(" is in use by ");
const QString kBusy = QStringLiteral(" is busy: ");

} // namespace

QString state_text(const UnitRow &row)
{
    switch (row.state) {
    case UnitState::NotAsked:
        return QStringLiteral("not asked");
    case UnitState::Answers:
        return QStringLiteral("answers");
    case UnitState::NoAnswer:
        return row.silent_since.isValid()
                   ? QStringLiteral("no answer (since %1)").arg(row.silent_since.toLocalTime().toString(u"HH:mm:ss"))
                   : QStringLiteral("no answer");
    case UnitState::NotQuvex:
        return QStringLiteral("answers, but not as a QUVEX unit");
    case UnitState::InUse:
        if (const qsizetype at = row.reason.indexOf(kInUseBy); at >= 0) {
            const qsizetype end = row.reason.indexOf(QStringLiteral(". Close that program"), at);
            return QStringLiteral("in use by ")
                   + row.reason.mid(at + kInUseBy.size(), end < 0 ? -1 : end - at - kInUseBy.size());
        }
        return QStringLiteral("in use by another program");
    case UnitState::WillNotOpen:
        return row.reason;
    case UnitState::OpenInPanel:
        return row.reason.isEmpty() ? QStringLiteral("open in this panel")
                                    : QStringLiteral("open in this panel (%1)").arg(row.reason);
    }
    return {};
}

QString port_text(const UnitRow &row)
{
    return row.port.number ? QStringLiteral("COM %1").arg(row.port.number) : text::visible(row.target);
}

void mark_answers(UnitRow &row, int model_index)
{
    row.state = UnitState::Answers;
    row.model_index = model_index;
    row.silent_since = {};
    row.reason.clear();
}

void mark_silent(UnitRow &row)
{
    if (row.state != UnitState::NoAnswer || !row.silent_since.isValid())
        row.silent_since = QDateTime::currentDateTime();
    row.state = UnitState::NoAnswer;
    row.reason.clear();
}

void mark_not_quvex(UnitRow &row)
{
    row.state = UnitState::NotQuvex;
    row.silent_since = {};
    row.reason.clear();
}

void mark_not_opened(UnitRow &row, const QString &reason)
{
    row.state = reason.contains(kInUseBy) || reason.contains(kBusy) ? UnitState::InUse : UnitState::WillNotOpen;
    row.reason = reason;
}

} // namespace quvex::rack
