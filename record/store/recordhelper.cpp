// quorvela-record: the one program that writes the record. Installed
// set-group-id games, it alone may write the record files, which belong to root
// and the games group. It takes nothing from its caller but its arguments, loads
// no Qt (nothing a user can point a library path at), serves only the game it
// was built with, and answers in one line (helperrequest.h).
#include "callercheck.h"
#include "helperrequest.h"
#include "recordstore.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvela::helper {
// Compiled in for each helper by CMake, beside its game.
extern const char kRecordFolder[];
extern const char *const kGamePaths[];
} // namespace quorvela::helper

namespace {

using namespace quorvela;
using namespace quorvela::helper;

constexpr unsigned kLifetimeSeconds = 30;

// Standard input, output and error are open, to /dev/null if the caller closed
// them: a record file must never be opened as one of them.
void ensureStandardFiles()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
            std::_Exit(2);
    }
}

// At most limit bytes of a /proc file of the caller's.
std::string readProc(const std::string &path, std::size_t limit)
{
    std::string text;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return text;
    char buffer[4096];
    ssize_t n = 0;
    while (text.size() < limit &&
           ((n = ::read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)))
        if (n > 0)
            text.append(buffer, std::size_t(n));
    ::close(fd);
    return text;
}

// The program that started this one is a game it serves, untraced, running no
// code that its trusted owners did not install. Looking at the caller needs the
// caller's own group; the games group comes back after.
bool calledByTheGame()
{
    struct stat self {};
    if (::stat("/proc/self/exe", &self) != 0)
        return false;
    const Trust trust{self.st_uid};
    const gid_t games = ::getegid();
    if (::setegid(::getgid()) != 0)
        return false;
    const std::string proc = "/proc/" + std::to_string(::getppid());
    char caller[PATH_MAX] = {};
    const ssize_t length = ::readlink((proc + "/exe").c_str(), caller, sizeof caller - 1);
    struct stat exe {};
    const bool exeKnown = length > 0 && ::stat((proc + "/exe").c_str(), &exe) == 0;
    const std::string status = readProc(proc + "/status", 1 << 16);
    const std::string environment = readProc(proc + "/environ", 1 << 20);
    const std::string maps = readProc(proc + "/maps", 1 << 24);
    if (::setegid(games) != 0)
        std::_Exit(2);
    if (!exeKnown || tracerOf(status) != 0 || loadsForeignCode(environment) ||
        !mappingsTrusted(maps, trust))
        return false;
    for (const char *const *game = kGamePaths; *game; ++game)
        if (isTheGame(caller, exe, *game, trust))
            return true;
    return false;
}

int answer(const store::Outcome &outcome, const char *success)
{
    if (outcome.busy()) {
        std::printf("%s\n", kBusy);
        return 0;
    }
    if (!outcome.error) {
        std::printf("%s\n", success);
        return 0;
    }
    std::printf("%s %d %d %d %lu %s\n", kError, int(outcome.action), outcome.folder ? 1 : 0,
                outcome.error.number, outcome.error.system, outcome.path.c_str());
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    ensureStandardFiles();
    // Nothing of the caller's environment is used, nor passed on.
    ::clearenv();
    // Ends a helper whose game died while it waited, whatever signal handling its
    // caller passed on. A helper that its owner stopped is not ended by it: that
    // takes a signal the owner may send or withhold (see the README).
    ::signal(SIGALRM, SIG_DFL);
    sigset_t alarmOnly;
    ::sigemptyset(&alarmOnly);
    ::sigaddset(&alarmOnly, SIGALRM);
    ::sigprocmask(SIG_UNBLOCK, &alarmOnly, nullptr);
    ::alarm(kLifetimeSeconds);
    // Files made in a folder of the games group stay writable by the group.
    ::umask(002);
    const std::optional<Request> request = parseRequest(argc, argv);
    if (!request || !calledByTheGame()) {
        std::printf("%s\n", kRefused);
        return 2;
    }
    const native::Path folder = kRecordFolder;
    if (request->command == Command::Prepare)
        return answer(store::prepare(folder), kReady);
    const store::Outcome outcome = store::saveIfBetter(folder, request->score, request->name);
    return answer(outcome, outcome.saved ? kSaved : kKept);
}
