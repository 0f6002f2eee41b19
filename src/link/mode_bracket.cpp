#include "mode_bracket.h"

#include "answer_number.h"
#include "catalogue/naming.h"

#include <QStringList>

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

// Whether a restore goes on after this answer to one of its lines: a unit that answered, if
// only with noise, is there; one that stayed silent or went away would not hear the next line.
bool goes_on(WriteResult result)
{
    return result == WriteResult::Accepted || result == WriteResult::WrongAnswer;
}

} // namespace

ModeBracket::ModeBracket(Link &link)
    : m_link(link)
    , m_video_std{kVideoStd, kNone, kNone, {}}
    , m_overscan{kOverscan, kNone, kNone, {}}
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
    m_video_std.own = m_video_std.active = video_std->number();
    m_overscan.own = m_overscan.active = overscan->number();
    return true;
}

bool ModeBracket::put_back_unit_mode(bool only_changed)
{
    m_link.hold_warnings();
    WriteResult ended = WriteResult::Accepted;
    bool answered_wrongly = false;
    for (Setting *setting : {&m_video_std, &m_overscan}) {
        if (!goes_on(ended))
            break;
        ended = put_back(*setting, only_changed);
        answered_wrongly = answered_wrongly || ended == WriteResult::WrongAnswer;
    }
    if (answered_wrongly && goes_on(ended))
        ended = confirm_unit_mode();
    // A unit that was sent the restore and did not answer has probably taken it; one that a lost
    // line kept from it is still in the switched mode, which the next access must not read as
    // its own.
    m_restore_pending = ended == WriteResult::LineLost || ended == WriteResult::AnswerLost;
    const bool own = m_video_std.is_own() && m_overscan.is_own();
    const QString left = answered_wrongly && !own && !m_restore_pending ? unrestored_mode() : QString();
    if (!m_restore_pending)
        forget_unit_mode();
    m_link.release_warnings(left);
    return ended == WriteResult::Accepted && !answered_wrongly;
}

WriteResult ModeBracket::put_back(Setting &setting, bool only_changed)
{
    if (only_changed && setting.is_own())
        return WriteResult::Accepted;
    return send(setting, setting.own, Purpose::Restore);
}

WriteResult ModeBracket::confirm_unit_mode()
{
    QList<Setting *> differing;
    for (Setting *setting : {&m_video_std, &m_overscan}) {
        const Reading value = m_link.query_item_value(setting->name, Purpose::Restore);
        if (!value || value->is_empty())
            continue; // as unsure as before
        setting->active = value->number();
        setting->unsure.reset();
        if (setting->active != setting->own)
            differing.append(setting);
    }
    WriteResult ended = WriteResult::Accepted;
    for (Setting *setting : differing) {
        if (goes_on(ended))
            ended = send(*setting, setting->own, Purpose::Restore);
    }
    return ended;
}

bool ModeBracket::switch_to(Setting &setting, int value)
{
    if (value == setting.active && !setting.unsure)
        return true;
    return send(setting, value, Purpose::Ordinary) == WriteResult::Accepted;
}

WriteResult ModeBracket::send(Setting &setting, double value, Purpose purpose)
{
    // Unsure from the moment the line goes out, so that a restore sends the unit's own value back
    // whatever the unit did, and a second signal that ends the program while the answer is
    // awaited names both modes; but not when the line never went out, so that a stop sends back
    // nothing the unit was not sent.
    const std::optional<double> before = std::exchange(setting.unsure, value);
    const WriteResult result = m_link.send_item_value(setting.name, value, purpose);
    if (result == WriteResult::Accepted) {
        setting.active = value;
        setting.unsure.reset();
    } else if (!may_have_taken(result)) {
        setting.unsure = before;
    }
    return result;
}

void ModeBracket::forget_unit_mode()
{
    for (Setting *setting : {&m_video_std, &m_overscan}) {
        setting->own = kNone;
        setting->unsure.reset();
    }
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
    if (m_video_std.own == kNone)
        return {};
    // The mode with a line that was not acknowledged taken comes first, then the one without.
    const auto possible = [](const Setting &setting) {
        return setting.unsure ? QList<double>{*setting.unsure, setting.active} : QList<double>{setting.active};
    };
    QStringList modes;
    for (const double video_std : possible(m_video_std)) {
        for (const double overscan : possible(m_overscan)) {
            const QString mode = mode_text(video_std, overscan);
            if ((video_std != m_video_std.own || overscan != m_overscan.own) && !modes.contains(mode))
                modes.append(mode);
        }
    }
    if (modes.isEmpty())
        return {};
    const QString last = modes.takeLast();
    return QStringLiteral("the unit may be left in %1; its own video mode is %2")
        .arg(modes.isEmpty() ? last : modes.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last,
             mode_text(m_video_std.own, m_overscan.own));
}

std::optional<QString> ModeBracket::select_item_video_mode(const QString &name)
{
    // Before anything else: the unit shows the switch of the access that lost the line.
    if (!retry_pending_restore())
        return std::nullopt;
    const bool mode_specific = catalogue::is_mode_specific(name);
    const bool bulk = m_link.state().bulk_mode;

    if (mode_specific && (!bulk || m_video_std.own == kNone)) {
        forget_unit_mode();
        if (!save_unit_mode())
            return std::nullopt;
    } else if (bulk && !mode_specific && m_video_std.own != kNone) {
        // Sent without comparing: within a run the unit has been switched back and forth.
        if (!put_back_unit_mode(false))
            return std::nullopt;
    } else if (!bulk && !mode_specific) {
        forget_unit_mode();
    }

    if (!mode_specific)
        return name;
    if (!switch_to(m_video_std, catalogue::required_video_std(name))
        || !switch_to(m_overscan, catalogue::required_overscan(name)))
        return std::nullopt;
    return catalogue::base_item_name(name);
}

void ModeBracket::restore_video_mode()
{
    // A restore kept from a lost line was tried at the start of this access: one failure, one
    // warning.
    if (m_link.state().bulk_mode || m_video_std.own == kNone || m_restore_pending)
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
