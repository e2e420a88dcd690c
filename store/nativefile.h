// The few file operations the record needs, one implementation per system
// (nativefile_posix.cpp, nativefile_win.cpp). No Qt here: the record's keeper
// program uses it, and the Windows half is built and tried on its own. Every
// call returns an Error: none, or what went wrong both as an errno value and as
// the system's own code.
#pragma once

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>

namespace quorvela {

// What was being done when a file operation failed.
enum class FileAction { Open, Create, Read, Write, Use, Find };

namespace native {

using Path = std::filesystem::path;

// The most of a record file that is ever read: a record line is a few bytes, and a
// label asked to show megabytes would freeze the window. The store saves no line
// longer than this, its line end included, so every record is read back whole.
inline constexpr std::size_t kRecordReadLimit = 4096;

#ifdef _WIN32
using Handle = void *;
#else
using Handle = int;
#endif
extern const Handle kNoHandle;

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

// Another process holds what was asked for (a lock, or on Windows a file opened
// without sharing) and did not let go in time.
inline constexpr int kBusy = EWOULDBLOCK;

enum class Access { Read, ReadWrite };

// An existing regular file, opened without following a link (or a reparse
// point) and without blocking on anything that is not a disk file: ELOOP for a
// link, EISDIR for a folder, EINVAL for anything else.
Error openRegular(const Path &path, Access access, Handle &handle);
// A new empty file, opened for reading and writing; EEXIST when there is one
// already (a link included). Its permissions: mode on POSIX (less the umask);
// inherited from the folder on Windows.
Error createNew(const Path &path, unsigned mode, Handle &handle);

// Reads from the start, at most limit bytes.
Error readAll(Handle handle, std::string &text, std::size_t limit);
// The whole content becomes text: written from the start, then cut to its
// length, then flushed to the disk.
Error rewrite(Handle handle, const std::string &text);
Error close(Handle handle);

// Waits until this process alone holds the file's lock, or kBusy once the
// deadline has passed: whoever holds it may be stopped for ever. Closing the file
// releases it, and so does the end of the process, however it ends.
Error lock(Handle handle, std::chrono::milliseconds deadline);

// Whether the open file is the one at path now (not followed if a link): a
// folder replaced meanwhile has other files under the same names.
bool isAt(Handle handle, const Path &path);
// Puts the file from at the name to, which must be free (EEXIST otherwise);
// ENOENT when from is missing. Never follows a link at either name.
Error moveIntoPlace(const Path &from, const Path &to);
// Whether this process may make files in the folder itself: where the folder
// belongs to another account (an installation's, root's), a file made here
// would belong to the player, who could then change it at will.
bool mayMakeFilesIn(const Path &folder);

// 0 for a folder, ENOTDIR for something else, ENOENT when missing.
Error folderStatus(const Path &path);
// One folder, its parent already there; EEXIST when it appeared meanwhile.
// With shared on Windows, every account may write the files made in it (the
// installer gives the record folder stricter rights); on POSIX the system's
// ordinary permissions always: a shared record folder is made at installation.
Error makeFolder(const Path &path, bool shared);

#ifdef _WIN32
// GetWindowsDirectoryA into a buffer of 128 characters, in the ANSI code page.
Error windowsDirectory(std::string &folder);
// The folder for data of every account: %ProgramData% (C:\ProgramData).
Error commonDataFolder(Path &folder);
#endif

} // namespace native
} // namespace quorvela
