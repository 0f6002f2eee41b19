#pragma once

#include "link/link.h"
#include "link/mode_bracket.h"
#include "link/operator_side.h"

#include <QString>

#include <functional>

namespace quvex::panel {

// Counts the operations in progress. The window is locked from the start of the outermost one
// to its end, its message boxes included: operations nest (a load selects a model, which
// reads the whole unit), and an inner one must not unlock the window under the outer one.
class OperationLock
{
public:
    explicit OperationLock(link::OperatorSide &operator_side);

    void acquire();
    void release();
    // Runs each time the outermost operation has ended, the window unlocked.
    void set_on_end(std::function<void()> on_end) { m_on_end = std::move(on_end); }

private:
    link::OperatorSide &m_operator;
    int m_depth = 0;
    std::function<void()> m_on_end;
};

// One operator action or menu operation from its event to its end: the window stays locked
// and the error flags start clear, so the operation can tell its own first failure. Once the
// program is stopping, every operation has failed.
class Operation
{
public:
    Operation(OperationLock &lock, link::LinkState &state);
    ~Operation();
    Operation(const Operation &) = delete;
    Operation &operator=(const Operation &) = delete;

    bool failed() const { return m_state.wrong_type_error || m_state.no_response_error || m_state.stopping; }

private:
    OperationLock &m_lock;
    link::LinkState &m_state;
};

// Progress of a unit-wide run for a status line: done of total (0: unknown), current item.
// An empty verb means the run is over.
using ProgressHook = std::function<void(const QString &verb, int done, int total, const QString &item)>;

// A run over the whole unit (read all, write all, save, load): an operation with bulk_mode on
// and its progress reported. However it ends, bulk_mode goes off, a unit that the run left in
// another video mode gets its own back, and the progress display is cleared.
class UnitRun
{
public:
    UnitRun(OperationLock &lock, link::Link &link, link::ModeBracket &bracket, const ProgressHook &progress,
            QString verb, int total);
    ~UnitRun();
    UnitRun(const UnitRun &) = delete;
    UnitRun &operator=(const UnitRun &) = delete;

    bool failed() const { return m_operation.failed(); }
    void step(const QString &item);
    // Ends the run before the operation's closing message; the destructor does it otherwise.
    void finish();

private:
    Operation m_operation;
    link::LinkState &m_state;
    link::ModeBracket &m_bracket;
    const ProgressHook &m_progress;
    QString m_verb;
    int m_total;
    int m_done = 0;
    bool m_finished = false;
};

} // namespace quvex::panel
