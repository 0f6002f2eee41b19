#include "unit_finder.h"

#include "catalogue/unit_models.h"
#include "ports/port_device.h"
#include "text/visible_text.h"

#include <QFileInfo>

#include <utility>

namespace quvex::probe {

namespace {

const QString &model_name(int index)
{
    return catalogue::unit_models().at(std::size_t(index)).display_name;
}

} // namespace

UnitFinder::UnitFinder(int box_number, QString open_device)
    : m_box_number(box_number)
    , m_open_device(std::move(open_device))
{
}

UnitFinder::PortUse UnitFinder::use(const ports::PortEntry &port) const
{
    if (port.number != 0)
        return {port.number, 0, {}};
    if (!m_open_device.isEmpty())
        return {};
    // The by-id name keeps the adapter's number when it is plugged in elsewhere or the system
    // numbers its devices anew.
    return {0, m_box_number, port.stable_name.isEmpty() ? port.device : port.stable_name};
}

std::optional<UnitFinder::Connect> UnitFinder::connect(const ProbeResult &chosen) const
{
    if (chosen.outcome != ProbeOutcome::Found)
        return std::nullopt;
    if (m_open_device.isEmpty())
        return Connect{false, use(chosen.port), chosen.model_index};
    if (ports::canonical_device(chosen.port.device) == ports::canonical_device(m_open_device))
        return std::nullopt; // the panel's own unit, as it is
    return Connect{true, UnitFinder(m_box_number, {}).use(chosen.port), chosen.model_index};
}

UnitFinder::ModelChoice UnitFinder::detected(int found, int chosen) const
{
    if (found == 0)
        return {std::nullopt, QStringLiteral("The unit's answers fit no QUVEX model.")};
    if (found == chosen)
        return {};
    if (chosen == catalogue::kDisconnected)
        return {found, {}};
    return {found, QStringLiteral("The unit on COM %1 is %2, not %3 as chosen.")
                       .arg(m_box_number)
                       .arg(model_name(found), model_name(chosen))};
}

QString UnitFinder::link_question(int number, const QString &target)
{
    const QString now = ports::port_device(number);
    const bool named = QFileInfo(ports::port_link_path(number)).isSymLink() || QFileInfo::exists(now);
    if (!named || ports::canonical_device(now) == ports::canonical_device(target))
        return {};
    return QStringLiteral("COM %1 is %2 now. Make it %3 instead?")
        .arg(number)
        .arg(text::visible(now), text::visible(target));
}

} // namespace quvex::probe
