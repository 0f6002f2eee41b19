#pragma once

#include <string>

namespace quvex::sim {

// The pseudo-terminal the panel opens as if it were the unit's serial port. The slave side stays
// open here as well, so the master never hangs up while the panel closes and reopens the port;
// close() gives that up, and the panel's open port hangs up as on a pulled adapter.
class PtyPair
{
public:
    PtyPair() = default;
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;
    ~PtyPair();

    bool open(std::string &error);
    void close();
    int master() const { return m_master; }
    // Bytes already sent that the panel has not read yet (0 when unknown).
    int unread() const;
    const std::string &slave_path() const { return m_slave_path; }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slave_path;
};

} // namespace quvex::sim
