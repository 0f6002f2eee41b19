#include "mode_bracket.h"

#include "catalogue/naming.h"

namespace quvex::link {

namespace {

const QString kVideoStd = QStringLiteral("Video Std");
const QString kOverscan = QStringLiteral("Overscan");

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

bool ModeBracket::put_back_unit_mode()
{
    // Sent without comparing: within a run the unit has been switched back and forth.
    const bool restored = m_link.send_item_value(kVideoStd, m_saved_video_std) == WriteResult::Accepted
                          && m_link.send_item_value(kOverscan, m_saved_overscan) == WriteResult::Accepted;
    forget_unit_mode();
    return restored;
}

bool ModeBracket::switch_to(const QString &name, int value, double &active)
{
    if (value == active)
        return true;
    // Counted as switched even when the unit did not acknowledge it, so that the restore
    // sends the unit's own value back whatever the unit did.
    active = value;
    return m_link.send_item_value(name, value) == WriteResult::Accepted;
}

void ModeBracket::forget_unit_mode()
{
    m_saved_video_std = kNone;
    m_saved_overscan = kNone;
}

std::optional<QString> ModeBracket::select_item_video_mode(const QString &name)
{
    const bool mode_specific = catalogue::is_mode_specific(name);
    const bool bulk = m_link.state().bulk_mode;

    if (mode_specific && (!bulk || m_saved_video_std == kNone)) {
        forget_unit_mode();
        if (!save_unit_mode())
            return std::nullopt;
    } else if (bulk && !mode_specific && m_saved_video_std != kNone) {
        if (!put_back_unit_mode())
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
    if (m_link.state().bulk_mode || m_saved_video_std == kNone)
        return;
    bool restored = true;
    if (m_active_video_std != m_saved_video_std)
        restored = m_link.send_item_value(kVideoStd, m_saved_video_std) == WriteResult::Accepted;
    if (restored && m_active_overscan != m_saved_overscan)
        restored = m_link.send_item_value(kOverscan, m_saved_overscan) == WriteResult::Accepted;
    forget_unit_mode();
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
