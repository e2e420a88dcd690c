// The few file operations the record needs, one implementation per system
// (nativefile_posix.cpp, nativefile_win.cpp). No Qt here, so that the Windows
// half can be built and tried on its own. Every call returns 0 or an errno
// value; Windows' own codes are translated to the nearest one.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace quorvela::native {

using Path = std::filesystem::path;

#ifdef _WIN32
using Handle = void *;
#else
using Handle = int;
#endif
extern const Handle kNoHandle;

// An existing regular file, opened without following a link (or a reparse
// point) and without blocking on anything that is not a disk file.
int openRegular(const Path &path, bool forWriting, Handle &handle);
// A new empty file that every account of the machine may read and write;
// EEXIST when there is one already.
int createShared(const Path &path, Handle &handle);
// Refuses what must not be replaced by a save: a link (ELOOP), a folder
// (EISDIR), anything else that is not a regular file (EINVAL). A missing
// file is fine.
int checkReplaceable(const Path &path);
// A new shared file beside target, named "." + target's name + "." + six
// characters (kTemporarySuffix), for a save that replaces target at the end.
int createTemporary(const Path &target, Path &temporary, Handle &handle);
inline constexpr std::size_t kTemporarySuffix = 6;

int writeAll(Handle handle, const char *data, std::size_t size);
int read(Handle handle, char *data, std::size_t size, std::size_t &got);
// Flushed to the disk.
int sync(Handle handle);
int close(Handle handle);
// Replaces target by source in one step, and makes it survive a power cut.
int replace(const Path &source, const Path &target);
void removeFile(const Path &path) noexcept;

// 0 for a folder, ENOTDIR for something else, ENOENT when missing.
int folderStatus(const Path &path);
// One folder, its parent already there: shared by every account, or with the
// system's ordinary permissions. EEXIST when it appeared meanwhile.
int makeFolder(const Path &path, bool shared);

// An exclusive lock held by the whole machine, every account included, on
// behalf of a folder; it blocks until free.
int lockFolder(const Path &folder, Handle &lock);
void unlockFolder(Handle lock) noexcept;

#ifdef _WIN32
// GetWindowsDirectoryA into a buffer of 128 characters, in the ANSI code page.
int windowsDirectory(std::string &folder);
// The folder for data of every account: %ProgramData% (C:\ProgramData).
int commonDataFolder(Path &folder);
// Copies a file where none is; nothing when source is missing.
int copyIfMissing(const Path &source, const Path &target);
#endif

} // namespace quorvela::native
