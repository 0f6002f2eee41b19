#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace quvex::link {

// SIGINT, SIGTERM and SIGHUP for a program that must give the unit its own video mode back
// before it ends. The handler only writes the signal's number to a socketpair; the event loop
// reads the other end, since nothing else is safe inside a handler. The first signal asks for a
// stop; a second one ends the program at once, by that signal, after its last words. SIGPIPE is
// ignored, so an output that has gone (a closed pipe, a dropped ssh session) shows as a failed
// write instead of ending the program in the middle of the restore. One instance at a time.
class StopSignals
{
public:
    StopSignals() = default;
    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;
    ~StopSignals();

    // False where the system offers no signals or no socketpair; the program then ends as before.
    bool install(std::function<void()> on_stop, std::function<void()> last_words);
    // Handles a signal that has arrived but that the event loop has not handed over yet.
    void deliver();
    // The first signal caught; 0 while none.
    int caught() const { return m_caught; }
    // Gives code, or ends the program by the signal caught, as if it had never been caught.
    int finish(int code) const;

    [[noreturn]] static void end_by(int signal);

private:
    int m_read = -1;
    int m_write = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_on_stop;
    std::function<void()> m_last_words;
    int m_caught = 0;
};

} // namespace quvex::link
