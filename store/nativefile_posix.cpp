#include "nativefile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quorvela::native {

const Handle kNoHandle = -1;

namespace {

// What a stat says a name stands for, as our errors name it.
int kindOf(const struct stat &st)
{
    if (S_ISREG(st.st_mode))
        return 0;
    return S_ISLNK(st.st_mode) ? ELOOP : S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
}

} // namespace

Error openRegular(const Path &path, Access access, Handle &handle)
{
    const int flags = access == Access::ReadWrite ? O_RDWR : O_RDONLY;
    const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        // A folder opened for writing, or a link: name what stands there.
        struct stat st {};
        if ((error == EISDIR || error == ELOOP) && ::lstat(path.c_str(), &st) == 0)
            return kindOf(st);
        return error;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || kindOf(st) != 0) {
        const int error = kindOf(st);
        ::close(fd);
        return error ? error : EIO;
    }
    handle = fd;
    return 0;
}

Error createNew(const Path &path, unsigned mode, Handle &handle)
{
    const int fd = ::open(
        path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, mode_t(mode));
    if (fd < 0)
        return errno;
    handle = fd;
    return 0;
}

Error readAll(Handle handle, std::string &text, std::size_t limit)
{
    text.assign(limit, '\0');
    std::size_t got = 0;
    while (got < limit) {
        const ssize_t n = ::pread(handle, text.data() + got, limit - got, off_t(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    text.resize(got);
    return 0;
}

Error rewrite(Handle handle, const std::string &text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::pwrite(handle, text.data() + done, text.size() - done, off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        done += std::size_t(n);
    }
    if (::ftruncate(handle, off_t(text.size())) != 0)
        return errno;
    return ::fsync(handle) == 0 ? 0 : errno;
}

Error close(Handle handle)
{
    return ::close(handle) == 0 ? 0 : errno;
}

Error lock(Handle handle, std::chrono::milliseconds deadline)
{
    const auto until = std::chrono::steady_clock::now() + deadline;
    while (::flock(handle, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return errno;
        if (std::chrono::steady_clock::now() >= until)
            return kBusy;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
}

Error moveIntoPlace(const Path &from, const Path &to)
{
#ifdef __EMSCRIPTEN__
    // A web page's files live in its memory, where the game is the one writer:
    // nothing comes between the look and the move.
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0)
        return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
#else
    // rename() itself never follows a link at either name.
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0 ? 0
                                                                                            : errno;
#endif
}

bool mayMakeFilesIn(const Path &folder)
{
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && st.st_uid == ::geteuid();
}

Error folderStatus(const Path &path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno;
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

Error makeFolder(const Path &path, bool)
{
    return ::mkdir(path.c_str(), 0755) == 0 ? 0 : errno;
}

bool isAt(Handle handle, const Path &path)
{
    struct stat open {}, named {};
    return ::fstat(handle, &open) == 0 && ::fstatat(AT_FDCWD, path.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

} // namespace quorvela::native
