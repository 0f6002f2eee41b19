#include "sim/port_link.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quvex::sim {

namespace {

std::string ports_folder()
{
    const char *config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config)
        return std::string(config) + "/quvex/ports";
    const char *home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/.config/quvex/ports" : std::string();
}

// Empty when the path is not a symbolic link (or cannot be read).
std::string link_target(const std::string &path)
{
    char target[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
    return length > 0 ? std::string(target, std::size_t(length)) : std::string();
}

bool is_dead_pty(const std::string &target)
{
    return target.starts_with("/dev/pts/") && access(target.c_str(), F_OK) != 0 && errno == ENOENT;
}

// Through a temporary name and rename(), so that the panel never finds the port missing.
bool replace_link(const std::string &path, const std::string &target, std::string &error)
{
    const std::string temp = path + ".tmp." + std::to_string(getpid());
    unlink(temp.c_str());
    if (symlink(target.c_str(), temp.c_str()) == 0 && rename(temp.c_str(), path.c_str()) == 0)
        return true;
    error = "cannot replace " + path + ": " + std::strerror(errno);
    unlink(temp.c_str());
    return false;
}

bool may_replace(const std::string &path, std::string &error)
{
    const std::string old = link_target(path);
    if (is_dead_pty(old))
        return true;
    error = path + " already exists" + (old.empty() ? "" : " and points at " + old)
            + "; remove it or choose another --com number";
    return false;
}

} // namespace

PortLink::~PortLink()
{
    if (m_path.empty() || link_target(m_path) != m_target)
        return;
    if (unlink(m_path.c_str()) != 0)
        std::fprintf(stderr, "quvex-sim: cannot remove %s: %s\n", m_path.c_str(), std::strerror(errno));
}

bool PortLink::create(int com, const std::string &target, std::string &error)
{
    const std::string folder = ports_folder();
    if (folder.empty()) {
        error = "cannot find the ports folder: neither XDG_CONFIG_HOME nor HOME is set";
        return false;
    }
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure) {
        error = "cannot create " + folder + ": " + failure.message();
        return false;
    }
    const std::string path = folder + "/com" + std::to_string(com);
    if (symlink(target.c_str(), path.c_str()) != 0) {
        if (errno != EEXIST) {
            error = "cannot create " + path + ": " + std::strerror(errno);
            return false;
        }
        if (!may_replace(path, error) || !replace_link(path, target, error))
            return false;
    }
    m_path = path;
    m_target = target;
    return true;
}

bool PortLink::repoint(const std::string &target, std::string &error)
{
    if (m_path.empty())
        return true;
    // Still ours when missing or pointing at the old device; whatever someone put there
    // meanwhile is treated as create() treats an existing link.
    struct stat status
    {};
    const bool missing = lstat(m_path.c_str(), &status) != 0 && errno == ENOENT;
    if (!missing && link_target(m_path) != m_target && !may_replace(m_path, error))
        return false;
    if (!replace_link(m_path, target, error))
        return false;
    m_target = target;
    return true;
}

} // namespace quvex::sim
