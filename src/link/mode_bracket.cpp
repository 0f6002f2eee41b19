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

void ModeBracket::save_unit_mode()
{
    m_saved_video_std = m_link.query_item_value(kVideoStd).number();
    m_saved_overscan = m_link.query_item_value(kOverscan).number();
    m_active_video_std = m_saved_video_std;
    m_active_overscan = m_saved_overscan;
}

void ModeBracket::forget_unit_mode()
{
    m_saved_video_std = kNone;
    m_saved_overscan = kNone;
}

QString ModeBracket::select_item_video_mode(const QString &name)
{
    const bool mode_specific = catalogue::is_mode_specific(name);
    const bool bulk = m_link.state().bulk_mode;

    if (bulk && mode_specific && m_saved_video_std == kNone) {
        save_unit_mode();
    } else if (bulk && !mode_specific && m_saved_video_std != kNone) {
        m_link.send_item_value(kVideoStd, m_saved_video_std);
        m_link.send_item_value(kOverscan, m_saved_overscan);
        forget_unit_mode();
    } else if (!bulk && mode_specific) {
        save_unit_mode();
    } else if (!bulk && !mode_specific) {
        forget_unit_mode();
    }

    if (!mode_specific)
        return name;
    const int video_std = catalogue::required_video_std(name);
    if (video_std != m_active_video_std) {
        m_link.send_item_value(kVideoStd, video_std);
        m_active_video_std = video_std;
    }
    const int overscan = catalogue::required_overscan(name);
    if (overscan != m_active_overscan) {
        m_link.send_item_value(kOverscan, overscan);
        m_active_overscan = overscan;
    }
    return catalogue::base_item_name(name);
}

void ModeBracket::restore_video_mode()
{
    if (m_link.state().bulk_mode || m_saved_video_std == kNone)
        return;
    if (m_active_video_std != m_saved_video_std)
        m_link.send_item_value(kVideoStd, m_saved_video_std);
    if (m_active_overscan != m_saved_overscan)
        m_link.send_item_value(kOverscan, m_saved_overscan);
    forget_unit_mode();
}

catalogue::Value ModeBracket::read_item_value(const QString &name)
{
    const QString unit_name = select_item_video_mode(name);
    const catalogue::Value value = m_link.query_item_value(unit_name);
    restore_video_mode();
    return value;
}

void ModeBracket::write_item_value(const QString &name, double value)
{
    const QString unit_name = select_item_video_mode(name);
    m_link.send_item_value(unit_name, value);
    restore_video_mode();
}

} // namespace quvex::link
