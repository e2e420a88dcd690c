#include "callercheck.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <sys/sysmacros.h>

namespace quorvela::helper {

namespace {

std::string_view nextField(std::string_view &line)
{
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        line = {};
        return {};
    }
    line.remove_prefix(start);
    const std::size_t end = line.find(' ');
    const std::string_view field = line.substr(0, end);
    line.remove_prefix(end == std::string_view::npos ? line.size() : end);
    return field;
}

// Digits of a number in base 10 or 16 (lower case, as /proc writes them).
bool parseNumber(std::string_view text, unsigned base, unsigned long long &value)
{
    if (text.empty() || text.size() > 20)
        return false;
    value = 0;
    for (const char c : text) {
        const unsigned digit = c >= '0' && c <= '9'   ? unsigned(c - '0')
                               : c >= 'a' && c <= 'f' ? unsigned(c - 'a' + 10)
                                                      : base;
        if (digit >= base)
            return false;
        value = value * base + digit;
    }
    return true;
}

bool endsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// One line of /proc/PID/maps: "start-end perms offset major:minor inode [path]".
bool mappingTrusted(std::string_view line, const Trust &trust, StatFunction statOf)
{
    nextField(line);
    const std::string_view perms = nextField(line);
    nextField(line);
    const std::string_view device = nextField(line);
    const std::string_view inode = nextField(line);
    const std::size_t start = line.find_first_not_of(' ');
    const std::string_view path =
        start == std::string_view::npos ? std::string_view() : line.substr(start);
    if (perms.size() != 4 || inode.empty())
        return false;
    if (perms[2] != 'x' || path.empty() || path.front() == '[')
        return true;
    if (path.front() != '/')
        return false;
    if (endsWith(path, kDeleted)) {
        // Code from a memory file is made at run time, not installed.
        const std::string name(path.substr(0, path.size() - kDeleted.size()));
        return name.rfind("/memfd:", 0) != 0 && foldersTrusted(name, trust, false);
    }
    const std::size_t colon = device.find(':');
    unsigned long long major = 0, minor = 0, number = 0;
    if (colon == std::string_view::npos || !parseNumber(device.substr(0, colon), 16, major) ||
        !parseNumber(device.substr(colon + 1), 16, minor) || !parseNumber(inode, 10, number))
        return false;
    const std::string name(path);
    struct stat st {};
    return statOf(name.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::major(st.st_dev) == major &&
           ::minor(st.st_dev) == minor && st.st_ino == number && trust.unchangeable(st) &&
           foldersTrusted(name, trust);
}

} // namespace

bool Trust::unchangeable(const struct stat &st) const
{
    return owns(st.st_uid) && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool foldersTrusted(const std::string &path, const Trust &trust, bool sticky)
{
    if (path.empty() || path.front() != '/')
        return false;
    for (std::size_t end = path.find_last_of('/');; end = path.find_last_of('/', end - 1)) {
        const std::string folder = path.substr(0, end == 0 ? 1 : end);
        struct stat st {};
        if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || !trust.owns(st.st_uid))
            return false;
        if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && !(sticky && (st.st_mode & S_ISVTX)))
            return false;
        if (end == 0)
            return true;
    }
}

long tracerOf(std::string_view status)
{
    constexpr std::string_view kField = "\nTracerPid:";
    const std::size_t at = status.find(kField);
    if (at == std::string_view::npos)
        return -1;
    std::string_view rest = status.substr(at + kField.size());
    rest.remove_prefix(std::min(rest.find_first_not_of(" \t"), rest.size()));
    unsigned long long pid = 0;
    return parseNumber(rest.substr(0, rest.find('\n')), 10, pid) ? long(pid) : -1;
}

bool loadsForeignCode(std::string_view environment)
{
    constexpr std::string_view kNames[] = {"LD_PRELOAD=", "LD_AUDIT=", "LD_LIBRARY_PATH=",
                                           "QT_PLUGIN_PATH=", "QT_QPA_PLATFORM_PLUGIN_PATH="};
    while (!environment.empty()) {
        const std::size_t end = environment.find('\0');
        const std::string_view variable = environment.substr(0, end);
        for (const std::string_view name : kNames)
            if (variable.rfind(name, 0) == 0)
                return true;
        environment.remove_prefix(end == std::string_view::npos ? environment.size() : end + 1);
    }
    return false;
}

bool mappingsTrusted(std::string_view maps, const Trust &trust, StatFunction statOf)
{
    if (maps.empty())
        return false;
    while (!maps.empty()) {
        const std::size_t end = maps.find('\n');
        const std::string_view line = maps.substr(0, end);
        if (!line.empty() && !mappingTrusted(line, trust, statOf))
            return false;
        maps.remove_prefix(end == std::string_view::npos ? maps.size() : end + 1);
    }
    return true;
}

bool isTheGame(const std::string &exeLink, const struct stat &exe, const char *gamePath,
               const Trust &trust)
{
    char resolved[PATH_MAX] = {};
    // An upgrade may have removed the game for good: its path as compiled in.
    const std::string game = ::realpath(gamePath, resolved) ? resolved : gamePath;
    if (!S_ISREG(exe.st_mode) || !trust.unchangeable(exe) || !foldersTrusted(game, trust))
        return false;
    if (exeLink == game) {
        struct stat st {};
        return ::stat(game.c_str(), &st) == 0 && st.st_dev == exe.st_dev && st.st_ino == exe.st_ino;
    }
    // Replaced on disk while it ran: no account but root could have put a file
    // at that path, so the deleted file that was there is the game.
    return exeLink == game + std::string(kDeleted) && exe.st_nlink == 0;
}

} // namespace quorvela::helper
