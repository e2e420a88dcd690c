// quorvela: the record's keeper, and the game's parent. Installed set-group-id
// games, it alone may write the record files. It starts the game as its child,
// with the group given up for good and a clean environment, and serves the
// record to that child alone, over a socket pair no other process holds; then it
// ends as the game ended. No Qt, no argument, nothing read of the caller's
// environment but the few variables a desktop session needs, handed to the game.
//
// Why a parent: a helper that a program starts cannot tell the game from a
// program that became the game (one line of shell does it). A keeper that
// starts the game itself knows its child. The game's file is not readable by
// its players, so the kernel makes its process undumpable: no debugger of the
// player's attaches to it, nor reads its memory or its descriptors.
#include "keeperenv.h"
#include "store/keeper.h"
#include "store/keeperrequest.h"
#include "store/recordstore.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace quorvela::keeper {
// Compiled in for each keeper by CMake, beside its game.
extern const char kRecordFolder[];
extern const char kGamePath[];
} // namespace quorvela::keeper

namespace {

using namespace quorvela;
using namespace quorvela::keeper;

// Standard input, output and error are open, to /dev/null if the caller closed
// them: a record file or the socket must never be opened as one of them.
void ensureStandardFiles()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
            std::_Exit(kCannotStart);
    }
}

// A limit the caller set (a file size of a few bytes, say) must not cut a save
// short: the keeper raises the soft limit on a file's size to the hard one, and
// writes nothing where the hard one would still cut a save. The game runs
// under the raised limit too.
bool raiseLimits()
{
    rlimit size{};
    if (::getrlimit(RLIMIT_FSIZE, &size) != 0 || size.rlim_max != RLIM_INFINITY)
        return false;
    size.rlim_cur = RLIM_INFINITY;
    return ::setrlimit(RLIMIT_FSIZE, &size) == 0;
}

// "error ACTION FOLDER ERRNO SYSTEMCODE PATH" (keeperrequest.h).
std::string errorLine(const store::Outcome &outcome)
{
    char line[64];
    std::snprintf(line, sizeof line, "%s %d %d %d %lu ", keeper::kError, int(outcome.action),
                  outcome.folder ? 1 : 0, outcome.error.number, outcome.error.system);
    return line + outcome.path.string();
}

// One request (keeperrequest.h); one answer.
std::string serve(std::string_view message, bool mayWrite)
{
    const std::optional<keeper::Request> request = keeper::parseRequest(message);
    if (!request)
        return keeper::kRefused;
    const native::Path folder = kRecordFolder;
    // The two record files of the folder and its journal, read within their
    // bounds and never through a link; nothing written, so under any limit.
    if (request->command == keeper::Command::Read) {
        store::Contents record;
        const store::Outcome outcome = store::readRecord(folder, record);
        return outcome.error ? errorLine(outcome) : keeper::recordAnswer(record);
    }
    // Start-up writes too (it finishes a save cut short): nothing of either
    // where a file could be cut short.
    if (!mayWrite)
        return keeper::kRefused;

    const store::Outcome outcome = request->command == keeper::Command::Prepare
                                       ? store::prepare(folder)
                                       : store::saveIfBetter(folder, request->score, request->name);
    if (outcome.busy())
        return keeper::kBusy;
    if (outcome.error)
        return errorLine(outcome);
    if (request->command == keeper::Command::Prepare)
        return keeper::kReady;
    return outcome.saved ? keeper::kSaved : keeper::kKept;
}

// Runs in the child: the group given up for good, the game started with what a
// desktop session needs of the environment and nothing else.
[[noreturn]] void startGame(int socket, pid_t keeper)
{
    if (socket == kGameSocket) {
        if (::fcntl(socket, F_SETFD, 0) != 0)
            std::_Exit(kCannotStart);
    } else if (::dup2(socket, kGameSocket) != kGameSocket) {
        std::_Exit(kCannotStart);
    }
    const gid_t player = ::getgid();
    gid_t real = 0, effective = 0, saved = 0;
    if (::setresgid(player, player, player) != 0 || ::getresgid(&real, &effective, &saved) != 0 ||
        real != player || effective != player || saved != player)
        std::_Exit(kCannotStart);
    // The game ends with its keeper (a logout, a kill): it could save nothing
    // more. Set after the group changed, which clears it; the signal's handling
    // is the default, whatever the caller passed on.
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    for (const int number : {SIGTERM, SIGINT, SIGQUIT, SIGHUP, SIGPIPE, SIGCHLD})
        ::signal(number, SIG_DFL);
    if (::prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || ::getppid() != keeper)
        std::_Exit(kCannotStart);
    std::vector<std::string> kept = gameEnvironment(environ);
    std::vector<char *> environment;
    for (std::string &entry : kept)
        environment.push_back(entry.data());
    environment.push_back(nullptr);
    char name[] = "quorvela";
    char *arguments[] = {name, nullptr};
    ::execve(kGamePath, arguments, environment.data());
    const std::string said = std::string("quorvela: cannot start the game ") + kGamePath + ": " +
                             std::strerror(errno) + "\n";
    [[maybe_unused]] const ssize_t written = ::write(2, said.data(), said.size());
    std::_Exit(kCannotStart);
}

} // namespace

int main()
{
    ensureStandardFiles();
    const bool mayWrite = raiseLimits();
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, sockets) != 0)
        return kCannotStart;
    const pid_t keeper = ::getpid();
    const pid_t game = ::fork();
    if (game < 0)
        return kCannotStart;
    if (game == 0) {
        ::close(sockets[0]);
        startGame(sockets[1], keeper);
    }
    ::close(sockets[1]);
    // Nothing of the caller's environment is used from here on.
    ::clearenv();
    // A terminal's Ctrl+C ends the game; the keeper follows when it has gone.
    ::signal(SIGINT, SIG_IGN);
    ::signal(SIGQUIT, SIG_IGN);
    ::signal(SIGPIPE, SIG_IGN);
    // Files made in a folder of the games group stay writable by the group.
    ::umask(002);

    // A write past a file-size limit fails (and the save is finished later)
    // rather than ending the keeper halfway.
    ::signal(SIGXFSZ, SIG_IGN);

    char message[kMaxMessage];
    for (;;) {
        // MSG_TRUNC: the whole request's length, so that a longer one is refused
        // rather than read cut short.
        const ssize_t length = ::recv(sockets[0], message, sizeof message, MSG_TRUNC);
        if (length < 0 && errno == EINTR)
            continue;
        if (length <= 0)
            break; // the game has ended (or closed its end)
        const std::string answer = std::size_t(length) > sizeof message
                                       ? std::string(keeper::kRefused)
                                       : serve({message, std::size_t(length)}, mayWrite);
        if (::send(sockets[0], answer.data(), answer.size(), MSG_NOSIGNAL) < 0)
            break;
    }
    ::close(sockets[0]);
    int status = 0;
    while (::waitpid(game, &status, 0) < 0)
        if (errno != EINTR)
            return kCannotStart;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);
}
