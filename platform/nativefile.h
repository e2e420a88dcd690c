// The few file operations the record needs, one implementation per system
// (nativefile_posix.cpp, nativefile_win.cpp). No Qt here, so that the Windows
// half can be built and tried on its own. Every call returns an Error: none,
// or what went wrong both as an errno value and as the system's own code.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace quorvela::native {

using Path = std::filesystem::path;

// The number our messages know: an errno value (Windows' codes are translated
// to the nearest one), or kUnknownError where there is none; the system's own
// code beside it (errno itself on POSIX, GetLastError's on Windows), so that an
// unknown one can still be told in the system's own words.
inline constexpr int kUnknownError = -1;
struct Error {
    int number = 0;
    unsigned long system = 0;

    constexpr Error() = default;
    // An errno value: the system's code on POSIX, our own finding elsewhere.
    constexpr Error(int errnoValue)
        : number(errnoValue), system(static_cast<unsigned long>(errnoValue))
    {
    }
    constexpr Error(int errnoValue, unsigned long systemCode)
        : number(errnoValue), system(systemCode)
    {
    }
    constexpr explicit operator bool() const { return number != 0; }
    friend constexpr bool operator==(const Error &error, int errnoValue)
    {
        return error.number == errnoValue;
    }
};

#ifdef _WIN32
using Handle = void *;
#else
using Handle = int;
#endif
extern const Handle kNoHandle;

// An existing regular file, opened without following a link (or a reparse
// point) and without blocking on anything that is not a disk file.
Error openRegular(const Path &path, bool forWriting, Handle &handle);
// A new empty file that every account of the machine may read and write;
// EEXIST when there is one already.
Error createShared(const Path &path, Handle &handle);
// Refuses what must not be replaced by a save: a link (ELOOP), a folder
// (EISDIR), anything else that is not a regular file (EINVAL). A missing
// file is fine.
Error checkReplaceable(const Path &path);
// A save writes beside its target a file named "." + target's name + "." +
// kTemporarySuffix random characters, and renames it over the target at the end.
inline constexpr std::size_t kTemporarySuffix = 6;
Path temporaryPrefix(const Path &target);
// Whether a name in target's folder is one of target's temporary files.
bool isTemporaryOf(const Path &name, const Path &target);
// A new shared file with such a name.
Error createTemporary(const Path &target, Path &temporary, Handle &handle);

Error writeAll(Handle handle, const char *data, std::size_t size);
Error read(Handle handle, char *data, std::size_t size, std::size_t &got);
// Flushed to the disk.
Error sync(Handle handle);
Error close(Handle handle);
// Replaces target by source in one step, and makes it survive a power cut.
Error replace(const Path &source, const Path &target);
void removeFile(const Path &path) noexcept;

// 0 for a folder, ENOTDIR for something else, ENOENT when missing.
Error folderStatus(const Path &path);
// One folder, its parent already there: shared by every account, or with the
// system's ordinary permissions. EEXIST when it appeared meanwhile.
Error makeFolder(const Path &path, bool shared);

// An exclusive lock held by the whole machine, every account included, on
// behalf of a folder; it blocks until free.
Error lockFolder(const Path &folder, Handle &lock);
void unlockFolder(Handle lock) noexcept;

#ifdef _WIN32
// GetWindowsDirectoryA into a buffer of 128 characters, in the ANSI code page.
Error windowsDirectory(std::string &folder);
// The folder for data of every account: %ProgramData% (C:\ProgramData).
Error commonDataFolder(Path &folder);
// Copies a file where none is; nothing when source is missing.
Error copyIfMissing(const Path &source, const Path &target);
#endif

} // namespace quorvela::native
