#pragma once

#include <ctime>

namespace quvex::bench {

// The processor time of this process so far, as the scheduler counts it: exact to the
// nanosecond, where getrusage() samples at the timer tick and is too coarse for one-second runs.
inline double process_cpu_ms()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The processor time of the calling thread so far: for the window's thread, where the event loop
// that a person's input needs runs, apart from the threads that talk to the units.
inline double thread_cpu_ms()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

} // namespace quvex::bench
