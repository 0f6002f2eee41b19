#pragma once

#include "link/operator_side.h"

#include <QString>

namespace quvex::cli {

// The operator's side of the core for a command line: messages go to standard error at once and
// nothing waits for a person. Progress is shown only to a person, on a terminal, on one line
// that each message clears first. A quiet one, for a unit among several, shows nothing: its
// caller says in one line what became of the unit.
class CliOperator final : public link::OperatorSide
{
public:
    explicit CliOperator(bool quiet = false);

    void show_message(const QString &text, const QString &title = {}, link::MessageIcon icon = link::MessageIcon::None,
                      const QString &detail = {}) override;
    // Once a run: one hint says all there is to say.
    void show_hint(const QString &text) override;
    void set_window_enabled(bool) override {}
    void set_port_box_enabled(bool) override {}
    void process_events() override;

    void show_progress(const QString &verb, int done, int total, const QString &item);
    void show_trace_line(const QString &line);

    // Messages shown so far: the core shows one for every failure it meets.
    int messages_shown() const { return m_messages_shown; }

private:
    void clear_progress();

    bool m_quiet = false;
    bool m_terminal = false;
    bool m_progress_shown = false;
    bool m_hinted = false;
    int m_messages_shown = 0;
};

} // namespace quvex::cli
