#include "nativefile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvela::native {

const Handle kNoHandle = -1;

namespace {

constexpr mode_t kSharedFile = 0666;
constexpr mode_t kSharedFolder = 0777;

// The umask would keep other accounts out of a record they share.
Error shareOrDrop(int fd, const char *name)
{
    if (::fchmod(fd, kSharedFile) == 0)
        return 0;
    const int error = errno;
    ::close(fd);
    ::unlink(name);
    return error;
}

} // namespace

Error openRegular(const Path &path, bool forWriting, Handle &handle)
{
    const int flags = forWriting ? O_WRONLY | O_APPEND : O_RDONLY;
    const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    }
    handle = fd;
    return 0;
}

Error createShared(const Path &path, Handle &handle)
{
    const int fd = ::open(
        path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kSharedFile);
    if (fd < 0)
        return errno;
    if (const Error error = shareOrDrop(fd, path.c_str()))
        return error;
    handle = fd;
    return 0;
}

Error checkReplaceable(const Path &path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode))
        return 0;
    return S_ISLNK(st.st_mode) ? ELOOP : S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
}

Error createTemporary(const Path &target, Path &temporary, Handle &handle)
{
    std::string pattern = (target.parent_path() / temporaryPrefix(target)).native();
    pattern.append(kTemporarySuffix, 'X');
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    // mkostemp makes it 0600; renamed into place it must stay shared.
    if (const Error error = shareOrDrop(fd, pattern.c_str()))
        return error;
    temporary = pattern;
    handle = fd;
    return 0;
}

Error writeAll(Handle handle, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(handle, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += written;
        size -= std::size_t(written);
    }
    return 0;
}

Error read(Handle handle, char *data, std::size_t size, std::size_t &got)
{
    for (;;) {
        const ssize_t n = ::read(handle, data, size);
        if (n >= 0) {
            got = std::size_t(n);
            return 0;
        }
        if (errno != EINTR)
            return errno;
    }
}

Error sync(Handle handle)
{
    return ::fsync(handle) == 0 ? 0 : errno;
}

Error close(Handle handle)
{
    return ::close(handle) == 0 ? 0 : errno;
}

Error replace(const Path &source, const Path &target)
{
    if (::rename(source.c_str(), target.c_str()) != 0)
        return errno;
    // The rename survives a power cut only once the folder is synced. When that
    // fails (or the file system cannot sync folders), the save still stands: the
    // new file is in place and its content on the disk, and only a power cut in
    // the next moments could bring the old one back, which is no failure to
    // report to the player.
    const int fd = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    return 0;
}

void removeFile(const Path &path) noexcept
{
    ::unlink(path.c_str());
}

Error folderStatus(const Path &path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno;
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

Error makeFolder(const Path &path, bool shared)
{
    const mode_t mode = shared ? kSharedFolder : 0755;
    if (::mkdir(path.c_str(), mode) != 0)
        return errno;
    // The umask would keep other accounts out.
    return !shared || ::chmod(path.c_str(), mode) == 0 ? 0 : errno;
}

Error lockFolder(const Path &folder, Handle &lock)
{
    // The folder itself is locked: each save replaces the files, and no lock
    // file is left lying in the folder.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno == EINTR)
            continue;
        const int error = errno;
        ::close(fd);
        return error;
    }
    lock = fd;
    return 0;
}

void unlockFolder(Handle lock) noexcept
{
    // Closing the descriptor releases the lock.
    ::close(lock);
}

} // namespace quorvela::native
