#include "watch_query.h"

#include "session/quiet_operator.h"
#include "session/quiet_view.h"
#include "session/unit_session.h"

namespace quvex::rack {

WatchAnswer watch_query(const QString &device)
{
    session::QuietOperator quiet;
    session::QuietView view;
    session::UnitSession unit(quiet, view);
    unit.use_port(0, device);
    quiet.m_link = &unit.link;
    link::Link &link = unit.link;
    link.open_port();
    if (!link.is_port_open())
        return {WatchOutcome::NotOpened, unit.port.open_failure()};
    // Every model knows it; a "?" would still be a unit that answers.
    link.set_unknown_answers_expected(true);
    const link::Reading reading = link.query_item_value(QStringLiteral("Video Std"));
    const bool answered = reading && !link.state().no_response_error;
    link.close_port();
    return {answered ? WatchOutcome::Answers : WatchOutcome::NoAnswer, {}};
}

} // namespace quvex::rack
