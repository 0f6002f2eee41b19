#include "mode_bracket.h"

#include "answer_number.h"
#include "catalogue/naming.h"

#include <utility>

namespace quvex::link {

namespace {

const QString kVideoStd = QStringLiteral("Video Std");
const QString kOverscan = QStringLiteral("Overscan");

QString mode_text(double video_std, double overscan)
{
    const QString values =
        QStringLiteral("Video Std %1, Overscan %2").arg(format_wire_number(video_std), format_wire_number(overscan));
    if ((video_std != 0 && video_std != 1) || (overscan != 0 && overscan != 1))
        return values;
    return QStringLiteral("%1 %2 (%3)")
        .arg(video_std == 0 ? QStringLiteral("NTSC") : QStringLiteral("PAL"),
             overscan == 0 ? QStringLiteral("underscan") : QStringLiteral("overscan"), values);
}

} // namespace

ModeBracket::ModeBracket(Link &link)
    : m_link(link)
{
}

bool ModeBracket::save_unit_mode()
{
    // A mode taken from a lost answer would be "restored" afterwards: the unit would end up
    // in a mode that was never its own, and later picture edits would land in the wrong set.
    const Reading video_std = m_link.query_item_value(kVideoStd);
    if (!video_std || video_std->is_empty())
        return false;
    const Reading overscan = m_link.query_item_value(kOverscan);
    if (!overscan || overscan->is_empty())
        return false;
    m_saved_video_std = m_active_video_std = video_std->number();
    m_saved_overscan = m_active_overscan = overscan->number();
    return true;
}

bool ModeBracket::put_back_unit_mode(bool only_changed)
{
    // Stops at its first failure: a unit that did not take one value will not take the next.
    WriteResult result = put_back(kVideoStd, m_saved_video_std, m_active_video_std, only_changed);
    if (result == WriteResult::Accepted)
        result = put_back(kOverscan, m_saved_overscan, m_active_overscan, only_changed);
    // A unit that was sent the restore and did not answer has probably taken it; one that a lost
    // line kept from it is still in the switched mode, which the next access must not read as
    // its own.
    m_restore_pending = result == WriteResult::LineLost;
    if (!m_restore_pending)
        forget_unit_mode();
    return result == WriteResult::Accepted;
}

WriteResult ModeBracket::put_back(const QString &name, double own, double &active, bool only_changed)
{
    if (only_changed && active == own)
        return WriteResult::Accepted;
    const WriteResult result = m_link.send_item_value(name, own, Purpose::Restore);
    if (result == WriteResult::Accepted)
        active = own;
    return result;
}

bool ModeBracket::switch_to(const QString &name, int value, double &active)
{
    if (value == active)
        return true;
    // Counted as switched even when the unit did not acknowledge it, so that the restore
    // sends the unit's own value back whatever the unit did; but not when the line never went
    // out, so that a stop sends back nothing the unit was not sent.
    const double before = std::exchange(active, value);
    const WriteResult result = m_link.send_item_value(name, value);
    if (result == WriteResult::NotSent)
        active = before;
    return result == WriteResult::Accepted;
}

void ModeBracket::forget_unit_mode()
{
    m_saved_video_std = kNone;
    m_saved_overscan = kNone;
}

bool ModeBracket::retry_pending_restore()
{
    return !m_restore_pending || put_back_unit_mode(true);
}

void ModeBracket::forget_pending_restore()
{
    if (std::exchange(m_restore_pending, false))
        forget_unit_mode();
}

QString ModeBracket::unrestored_mode() const
{
    if (m_saved_video_std == kNone
        || (m_active_video_std == m_saved_video_std && m_active_overscan == m_saved_overscan))
        return {};
    return QStringLiteral("the unit may be left in %1; its own video mode is %2")
        .arg(mode_text(m_active_video_std, m_active_overscan), mode_text(m_saved_video_std, m_saved_overscan));
}

std::optional<QString> ModeBracket::select_item_video_mode(const QString &name)
{
    // Before anything else: the unit shows the switch of the access that lost the line.
    if (!retry_pending_restore())
        return std::nullopt;
    const bool mode_specific = catalogue::is_mode_specific(name);
    const bool bulk = m_link.state().bulk_mode;

    if (mode_specific && (!bulk || m_saved_video_std == kNone)) {
        forget_unit_mode();
        if (!save_unit_mode())
            return std::nullopt;
    } else if (bulk && !mode_specific && m_saved_video_std != kNone) {
        // Sent without comparing: within a run the unit has been switched back and forth.
        if (!put_back_unit_mode(false))
            return std::nullopt;
    } else if (!bulk && !mode_specific) {
        forget_unit_mode();
    }

    if (!mode_specific)
        return name;
    if (!switch_to(kVideoStd, catalogue::required_video_std(name), m_active_video_std)
        || !switch_to(kOverscan, catalogue::required_overscan(name), m_active_overscan))
        return std::nullopt;
    return catalogue::base_item_name(name);
}

void ModeBracket::restore_video_mode()
{
    // A restore kept from a lost line was tried at the start of this access: one failure, one
    // warning.
    if (m_link.state().bulk_mode || m_saved_video_std == kNone || m_restore_pending)
        return;
    put_back_unit_mode(true);
}

Reading ModeBracket::read_item_value(const QString &name)
{
    const std::optional<QString> unit_name = select_item_video_mode(name);
    Reading value;
    if (unit_name)
        value = m_link.query_item_value(*unit_name);
    restore_video_mode();
    return value;
}

WriteResult ModeBracket::write_item_value(const QString &name, double value)
{
    const std::optional<QString> unit_name = select_item_video_mode(name);
    WriteResult result = WriteResult::NotSent;
    if (unit_name)
        result = m_link.send_item_value(*unit_name, value);
    restore_video_mode();
    return result;
}

} // namespace quvex::link
