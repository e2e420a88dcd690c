// quorvela-record: the one program that writes the record. Installed
// set-group-id games, it alone may write the record files, which belong to root
// and the games group. It takes nothing from its caller but its arguments, loads
// no Qt (nothing a user can point a library path at), serves only the game it
// was built with, and answers in one line (helperrequest.h).
#include "helperrequest.h"
#include "recordstore.h"

#include <climits>
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

// Standard input, output and error are open, to /dev/null if the caller closed
// them: a record file must never be opened as one of them.
void ensureStandardFiles()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
            std::_Exit(2);
    }
}

// The program that started this one is the game it belongs to. Looking at the
// caller's program needs the caller's own group; the games group comes back after.
bool calledByTheGame()
{
    const gid_t games = ::getegid();
    if (::setegid(::getgid()) != 0)
        return false;
    char caller[PATH_MAX] = {};
    const std::string link = "/proc/" + std::to_string(::getppid()) + "/exe";
    const ssize_t length = ::readlink(link.c_str(), caller, sizeof caller - 1);
    if (::setegid(games) != 0)
        std::_Exit(2);
    if (length <= 0)
        return false;
    for (const char *const *game = kGamePaths; *game; ++game) {
        char real[PATH_MAX] = {};
        if (::realpath(*game, real) && std::strcmp(real, caller) == 0)
            return true;
    }
    return false;
}

int answer(const store::Outcome &outcome, const char *success)
{
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
    // Files made in a folder of the games group stay writable by the group.
    ::umask(002);
    const std::optional<Request> request = parseRequest(argc, argv);
    if (!request || !calledByTheGame()) {
        std::printf("refused\n");
        return 2;
    }
    const native::Path folder = kRecordFolder;
    if (request->command == Command::Prepare)
        return answer(store::prepare(folder), kReady);
    const store::Outcome outcome = store::saveIfBetter(folder, request->score, request->name);
    return answer(outcome, outcome.saved ? kSaved : kKept);
}
