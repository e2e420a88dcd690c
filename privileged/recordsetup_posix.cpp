// quorvela-record-setup: the record folder as only the keeper may change it, run as
// root over a folder every account may once have written; no name there is trusted
// (doc/record.md). Usage: quorvela-record-setup FOLDER [KEEPER...]
#include "store/keeperrequest.h"
#include "store/recordstore.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <linux/openat2.h>
#include <optional>
#include <set>
#include <string>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace quorvela;

int fail(const std::string &what, int error = errno)
{
    std::fprintf(stderr, "quorvela-record-setup: %s: %s\n", what.c_str(), std::strerror(error));
    return 1;
}

// A descriptor that closes itself.
struct Fd {
    int fd = -1;
    explicit Fd(int f = -1) : fd(f) {}
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
};

// A name in folder opened without following a link and without crossing into
// another mount: a pupil's FUSE mount in the old folder could otherwise keep this
// program waiting for ever on an answer that never comes.
int openBelow(int folder, const char *name, int flags)
{
    open_how how{};
    how.flags = std::uint64_t(flags | O_NOFOLLOW | O_CLOEXEC);
    how.resolve = RESOLVE_NO_XDEV | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    const long fd = ::syscall(SYS_openat2, folder, name, &how, sizeof how);
    return int(fd);
}

int openFolderBelow(int folder, const char *name)
{
    return openBelow(folder, name, O_RDONLY | O_DIRECTORY);
}

// At most the game's limit of a regular file in folder, through a descriptor
// opened without following a link or waiting on a FIFO. Only what every account
// could read already is carried over: a pupil's link to a secret file must not
// put the secret into a record that every account reads.
std::optional<std::string> readEntry(int folder, const char *name, bool anyMode)
{
    const Fd file(openBelow(folder, name, O_RDONLY | O_NONBLOCK | O_NOCTTY));
    struct stat st {};
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    if (!anyMode && (st.st_mode & S_IROTH) == 0)
        return std::nullopt;
    std::string text(native::kRecordReadLimit, '\0');
    const ssize_t n = ::pread(file.fd, text.data(), text.size(), 0);
    if (n < 0)
        return std::nullopt;
    text.resize(std::size_t(n));
    return text;
}

// The old folder's record: the journal's save when it is whole (a save cut short
// is finished), else the two files as they are.
store::Contents oldRecord(int folder)
{
    // A helper of the running version may be saving: let it finish, for a while.
    const Fd journalLock(openBelow(folder, store::kJournalFile, O_RDONLY | O_NONBLOCK | O_NOCTTY));
    struct stat st {};
    if (journalLock.fd >= 0 && ::fstat(journalLock.fd, &st) == 0 && S_ISREG(st.st_mode))
        native::lock(journalLock.fd, store::kLockDeadline);
    // A whole journal cannot be a copy of a secret: its checksum says so.
    if (const auto journal = readEntry(folder, store::kJournalFile, true))
        if (const auto save = store::parseJournal(*journal))
            return *save;
    return {readEntry(folder, store::kScoreFile, false).value_or(std::string()),
            readEntry(folder, store::kNameFile, false).value_or(std::string())};
}

// Whether the game could have saved this record: a score of 0 to 32767 in plain
// digits and one name line, each ended by CR LF, or no record at all. Anything
// else in a folder every account could write (99999, 1e999) is a pupil's, and
// would be a record no one beats.
bool savable(const store::Contents &record)
{
    if (record.score.empty() && record.name.empty())
        return true;
    std::string lines[2];
    const std::string *contents[] = {&record.score, &record.name};
    for (int i = 0; i < 2; ++i) {
        const std::string &content = *contents[i];
        if (content.size() < 2 || content.compare(content.size() - 2, 2, "\r\n") != 0)
            return false;
        lines[i] = content.substr(0, content.size() - 2);
    }
    return keeper::parseRequest(keeper::saveRequest(lines[0], lines[1])).has_value();
}

// A new file of root's and the games group's in folder.
int makeFile(int folder, const std::string &name, unsigned mode, gid_t games,
             const std::string &content)
{
    const Fd file(
        ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (file.fd < 0)
        return fail("making " + name);
    if (::write(file.fd, content.data(), content.size()) != ssize_t(content.size()) ||
        ::fchown(file.fd, 0, games) != 0 || ::fchmod(file.fd, mode) != 0 || ::fsync(file.fd) != 0)
        return fail("writing " + name);
    return 0;
}

// Removes the tree at name in parent, without following links or entering
// another mount, each folder made root's alone before it is read so that nothing
// new appears in it meanwhile. It goes down, and back up through "..", with a list
// of names and one descriptor at a time, so that no depth runs out of
// descriptors; whatever cannot go (a mount) stays in a folder only root enters.
bool removeTree(int parent, const std::string &name)
{
    int fd = openFolderBelow(parent, name.c_str());
    if (fd < 0)
        return ::unlinkat(parent, name.c_str(), 0) == 0;
    std::vector<std::string> path;              // the names from the top down to fd
    std::vector<std::set<std::string>> kept(1); // for each level, what cannot go
    for (long work = 0; work < 1000000; ++work) {
        if (::fchown(fd, 0, 0) != 0 || ::fchmod(fd, 0700) != 0)
            break;
        std::string down;
        if (DIR *dir = ::fdopendir(::dup(fd))) {
            while (const dirent *entry = ::readdir(dir)) {
                const std::string entryName = entry->d_name;
                if (entryName == "." || entryName == ".." || kept.back().count(entryName))
                    continue;
                if (::unlinkat(fd, entry->d_name, 0) == 0 ||
                    ::unlinkat(fd, entry->d_name, AT_REMOVEDIR) == 0)
                    continue;
                down = entryName;
                break;
            }
            ::closedir(dir);
        }
        if (!down.empty()) {
            const int child = openFolderBelow(fd, down.c_str());
            if (child < 0) {
                kept.back().insert(down);
                continue;
            }
            ::close(fd);
            fd = child;
            path.push_back(down);
            kept.emplace_back();
            continue;
        }
        // Nothing here can go any more: back up, and remove this folder there.
        if (path.empty())
            break;
        const int up = ::openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        if (up < 0)
            return false;
        fd = up;
        kept.pop_back();
        if (::unlinkat(fd, path.back().c_str(), AT_REMOVEDIR) != 0)
            kept.back().insert(path.back());
        path.pop_back();
    }
    ::close(fd);
    return ::unlinkat(parent, name.c_str(), AT_REMOVEDIR) == 0;
}

int setUpKeeper(const char *path, gid_t games)
{
    const Fd keeper(::open(path, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (keeper.fd < 0 || ::fstat(keeper.fd, &st) != 0)
        return fail(path);
    if (!S_ISREG(st.st_mode) || st.st_nlink != 1)
        return fail(std::string(path) + " is not a program of one name", EINVAL);
    if (::fchown(keeper.fd, 0, games) != 0 || ::fchmod(keeper.fd, 02755) != 0)
        return fail(path);
    return 0;
}

// What an earlier run left beside the folder (root's alone: no other account
// may put a name in the parent) goes.
void removeLeftovers(int parent, const std::string &name)
{
    const std::string prefix = "." + name + ".new-";
    std::vector<std::string> found;
    if (DIR *dir = ::fdopendir(::dup(parent))) {
        while (const dirent *entry = ::readdir(dir))
            if (std::string(entry->d_name).rfind(prefix, 0) == 0)
                found.emplace_back(entry->d_name);
        ::closedir(dir);
    }
    for (const std::string &leftover : found)
        if (!removeTree(parent, leftover))
            std::fprintf(stderr, "quorvela-record-setup: left %s (root's alone)\n", leftover.c_str());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argv[1][0] != '/') {
        std::fprintf(stderr, "usage: quorvela-record-setup /FOLDER [KEEPER...]\n");
        return 2;
    }
    const group *gamesGroup = ::getgrnam("games");
    if (!gamesGroup)
        return fail("no group games", ENOENT);
    const gid_t games = gamesGroup->gr_gid;
    ::umask(022);

    std::string path = argv[1];
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const std::string parentPath = path.substr(0, std::max<std::size_t>(path.find_last_of('/'), 1));
    const std::string name = path.substr(path.find_last_of('/') + 1);
    for (std::size_t at = parentPath.find('/', 1);; at = parentPath.find('/', at + 1)) {
        const std::string folder = parentPath.substr(0, at);
        if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
            return fail("making " + folder);
        if (at == std::string::npos)
            break;
    }
    // The parent is root's, and no other account may put a name in it (or, like
    // /tmp, may not take away one of root's).
    const Fd parent(::open(parentPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat st {};
    if (parent.fd < 0 || ::fstat(parent.fd, &st) != 0)
        return fail(parentPath);
    if (st.st_uid != 0 || ((st.st_mode & 022) != 0 && (st.st_mode & S_ISVTX) == 0))
        return fail(parentPath + " may be changed by other accounts", EPERM);

    removeLeftovers(parent.fd, name);

    // The new folder, root's alone until it is whole.
    std::string fresh;
    for (int attempt = 0;; ++attempt) {
        fresh = "." + name + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        if (::mkdirat(parent.fd, fresh.c_str(), 0700) == 0)
            break;
        if (errno != EEXIST || attempt > 100)
            return fail("making " + fresh);
    }
    const Fd folder(
        ::openat(parent.fd, fresh.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.fd < 0)
        return fail(fresh);

    // A failure from here on leaves a usable record folder: the new one is not
    // in place yet, so it goes, and the old one gets its owner and mode back.
    struct stat oldState {};
    int oldFd = -1;
    bool closed = false;
    const auto giveBack = [&](int status) {
        if (closed) {
            if (::fchown(oldFd, oldState.st_uid, oldState.st_gid) != 0 ||
                ::fchmod(oldFd, oldState.st_mode & 07777) != 0)
                fail("giving the old record folder back");
        }
        if (!removeTree(parent.fd, fresh))
            std::fprintf(stderr, "quorvela-record-setup: left %s/%s (root's alone)\n",
                         parentPath.c_str(), fresh.c_str());
        return status;
    };

    // The old folder, closed to every account before it is read. Mounts that an
    // account put at its name (FUSE lets a pupil mount on a folder they may write),
    // one over another, go first, without waiting on them.
    store::Contents record;
    oldFd = openFolderBelow(parent.fd, name.c_str());
    // As many as the kernel lets one name hold (fs.mount-max, 100000 by default).
    for (long mounts = 0; oldFd < 0 && errno == EXDEV; ++mounts) {
        if (mounts == 1000000 || ::umount2(path.c_str(), MNT_DETACH | UMOUNT_NOFOLLOW) != 0)
            return giveBack(fail("unmounting " + path));
        oldFd = openFolderBelow(parent.fd, name.c_str());
    }
    const Fd old(oldFd);
    if (old.fd >= 0 && ::fstat(old.fd, &oldState) == 0 && ::fchown(old.fd, 0, 0) == 0) {
        closed = true;
        if (::fchmod(old.fd, 0700) == 0)
            record = oldRecord(old.fd);
    }
    if (!savable(record))
        record = {};

    const std::string empty;
    const struct {
        const char *name;
        unsigned mode;
        const std::string &content;
    } files[] = {
        {store::kScoreFile, store::kFileMode, record.score},
        {store::kNameFile, store::kFileMode, record.name},
        {store::kJournalFile, store::kJournalMode, empty},
    };
    for (const auto &file : files)
        if (makeFile(folder.fd, file.name, file.mode, games, file.content) != 0 ||
            makeFile(folder.fd, store::spareOf(file.name), file.mode, games, empty) != 0)
            return giveBack(1);
    if (::fchown(folder.fd, 0, games) != 0 || ::fchmod(folder.fd, store::kFolderMode) != 0 ||
        ::fsync(folder.fd) != 0)
        return giveBack(fail(fresh));

    // Whatever stood at the name (the old folder, a link, a file) changes places
    // with the new folder at once, then goes.
    if (::renameat2(parent.fd, fresh.c_str(), parent.fd, name.c_str(), RENAME_EXCHANGE) == 0) {
        if (!removeTree(parent.fd, fresh))
            std::fprintf(stderr, "quorvela-record-setup: left %s/%s (root's alone)\n",
                         parentPath.c_str(), fresh.c_str());
    } else if (errno != ENOENT || ::renameat2(parent.fd, fresh.c_str(), parent.fd, name.c_str(),
                                              RENAME_NOREPLACE) != 0) {
        return giveBack(fail("putting the record folder in place"));
    }
    if (::fsync(parent.fd) != 0)
        return fail(parentPath);

    for (int i = 2; i < argc; ++i)
        if (setUpKeeper(argv[i], games) != 0)
            return 1;
    return 0;
}
