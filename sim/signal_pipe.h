#pragma once

#include <string>

namespace quvex::sim {

// Turns SIGINT, SIGTERM and SIGHUP into a readable descriptor, so the poll loop ends cleanly and
// the handlers themselves do nothing but write one byte.
class SignalPipe
{
public:
    SignalPipe() = default;
    SignalPipe(const SignalPipe &) = delete;
    SignalPipe &operator=(const SignalPipe &) = delete;
    ~SignalPipe();

    bool install(std::string &error);
    int fd() const { return m_read; }

private:
    int m_read = -1;
    int m_write = -1;
};

} // namespace quvex::sim
