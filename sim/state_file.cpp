#include "sim/state_file.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <unistd.h>

namespace quvex::sim {

std::string format_number(double value)
{
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value == 0 ? 0.0 : value, std::chars_format::fixed);
    return result.ec == std::errc{} ? std::string(text, result.ptr) : std::string("0");
}

bool load_values(const std::string &path, Values &values, std::string &error)
{
    if (access(path.c_str(), F_OK) != 0 && errno == ENOENT)
        return true;
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        double value = 0;
        const char *first = line.data() + eq + 1;
        const char *last = line.data() + line.size();
        const auto result = std::from_chars(first, last, value);
        if (result.ec == std::errc{} && result.ptr == last)
            values[line.substr(0, eq)] = value;
    }
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

bool save_values(const std::string &path, const Values &values, std::string &error)
{
    const std::string temp = path + ".tmp." + std::to_string(getpid());
    std::FILE *file = std::fopen(temp.c_str(), "w");
    if (!file) {
        error = "cannot write " + temp + ": " + std::strerror(errno);
        return false;
    }
    bool ok = true;
    for (const auto &[key, value] : values)
        ok = ok && std::fprintf(file, "%s=%s\n", key.c_str(), format_number(value).c_str()) > 0;
    ok = ok && std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    const int saved_errno = errno;
    ok = std::fclose(file) == 0 && ok;
    if (ok && std::rename(temp.c_str(), path.c_str()) == 0)
        return true;
    error = "cannot store settings in " + path + ": " + std::strerror(ok ? errno : saved_errno);
    std::remove(temp.c_str());
    return false;
}

} // namespace quvex::sim
