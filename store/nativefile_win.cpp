#include "nativefile.h"

#include <windows.h>

#include <sddl.h>
#include <shlobj.h>

#include <cerrno>

namespace quorvela::native {

const Handle kNoHandle = INVALID_HANDLE_VALUE;

namespace {

int errnoOf(DWORD code)
{
    switch (code) {
    case ERROR_SUCCESS:
        return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return EACCES;
    // Another account opened a record file without sharing it, or holds the lock.
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return kBusy;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
        return ENAMETOOLONG;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_CANT_RESOLVE_FILENAME:
        return ELOOP;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
        return EIO;
    default:
        // Told in the system's own words.
        return kUnknownError;
    }
}

Error fromWindows(DWORD code)
{
    return {errnoOf(code), code};
}

Error lastError()
{
    return fromWindows(GetLastError());
}

// Another copy may read or replace a record file while this one has it open.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A security descriptor from its text form, freed with the object.
class Security {
public:
    explicit Security(const wchar_t *sddl)
    {
        attributes_.nLength = sizeof attributes_;
        attributes_.bInheritHandle = FALSE;
        if (ConvertStringSecurityDescriptorToSecurityDescriptorW(
                sddl, SDDL_REVISION_1, &attributes_.lpSecurityDescriptor, nullptr))
            return;
        attributes_.lpSecurityDescriptor = nullptr;
        error_ = lastError();
    }
    ~Security() { LocalFree(attributes_.lpSecurityDescriptor); }
    Security(const Security &) = delete;
    Security &operator=(const Security &) = delete;

    Error error() const { return error_; }
    SECURITY_ATTRIBUTES *attributes() { return &attributes_; }

private:
    SECURITY_ATTRIBUTES attributes_{};
    Error error_;
};

// Modify rights for every local and domain account, full rights for the system
// and the administrators, passed on to the files made inside. (Files get no
// descriptor of their own: they inherit the folder's.) Only for a record folder
// that the game makes itself; the installer gives stricter rights.
constexpr wchar_t kSharedFolder[] =
    L"D:(A;OICI;0x1301bf;;;BU)(A;OICI;0x1301bf;;;AU)(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

HANDLE createFile(const Path &path, DWORD access, DWORD disposition)
{
    return CreateFileW(path.c_str(), access, kShareAll, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// What a name stands for, without following a reparse point.
Error kindOf(DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return ELOOP;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return EISDIR;
    return 0;
}

Error toStart(HANDLE file)
{
    LARGE_INTEGER zero{};
    return SetFilePointerEx(file, zero, nullptr, FILE_BEGIN) ? Error() : lastError();
}

} // namespace

Error openRegular(const Path &path, Access access, Handle &handle)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return lastError();
    if (const Error kind = kindOf(attributes))
        return kind;
    // The data alone: the installer lets accounts change nothing else of a record file.
    const HANDLE file = createFile(
        path, access == Access::ReadWrite ? GENERIC_READ | FILE_WRITE_DATA | FILE_APPEND_DATA : GENERIC_READ,
        OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE)
        return lastError();
    // Looked at again through the handle: the name may have changed meanwhile.
    BY_HANDLE_FILE_INFORMATION info{};
    Error error =
        GetFileInformationByHandle(file, &info) ? kindOf(info.dwFileAttributes) : lastError();
    if (!error && GetFileType(file) != FILE_TYPE_DISK)
        error = EINVAL;
    if (error) {
        CloseHandle(file);
        return error;
    }
    handle = file;
    return 0;
}

Error createNew(const Path &path, unsigned, Handle &handle)
{
    const HANDLE file = createFile(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    if (file == INVALID_HANDLE_VALUE)
        return lastError();
    handle = file;
    return 0;
}

Error readAll(Handle handle, std::string &text, std::size_t limit)
{
    if (const Error error = toStart(handle))
        return error;
    text.assign(limit, '\0');
    std::size_t got = 0;
    while (got < limit) {
        const std::size_t want = limit - got;
        DWORD n = 0;
        if (!ReadFile(handle, text.data() + got, want > 0x10000000 ? 0x10000000 : DWORD(want), &n,
                      nullptr))
            return lastError();
        if (n == 0)
            break;
        got += n;
    }
    text.resize(got);
    return 0;
}

Error rewrite(Handle handle, const std::string &text)
{
    if (const Error error = toStart(handle))
        return error;
    const char *data = text.data();
    std::size_t size = text.size();
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : DWORD(size);
        DWORD written = 0;
        if (!WriteFile(handle, data, chunk, &written, nullptr))
            return lastError();
        data += written;
        size -= written;
    }
    if (!SetEndOfFile(handle) || !FlushFileBuffers(handle))
        return lastError();
    return 0;
}

Error close(Handle handle)
{
    return CloseHandle(handle) ? 0 : lastError();
}

Error lock(Handle handle, std::chrono::milliseconds deadline)
{
    const auto until = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        // One byte far beyond any content: the lock guards the record, not bytes.
        OVERLAPPED where{};
        where.OffsetHigh = 0x7fffffff;
        if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                       &where))
            return 0;
        const DWORD code = GetLastError();
        if (code != ERROR_LOCK_VIOLATION && code != ERROR_IO_PENDING)
            return fromWindows(code);
        if (std::chrono::steady_clock::now() >= until)
            return {kBusy, code};
        Sleep(20);
    }
}

Error moveIntoPlace(const Path &from, const Path &to)
{
    // Without MOVEFILE_REPLACE_EXISTING: a name that is taken stays as it is.
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) ? Error() : lastError();
}

bool mayMakeFilesIn(const Path &)
{
    // The folder's inherited access list, not the maker, decides who may change a file.
    return true;
}

Error folderStatus(const Path &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return lastError();
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? 0 : ENOTDIR;
}

Error makeFolder(const Path &path, bool shared)
{
    if (!shared)
        return CreateDirectoryW(path.c_str(), nullptr) ? 0 : lastError();
    Security security(kSharedFolder);
    if (security.error())
        return security.error();
    return CreateDirectoryW(path.c_str(), security.attributes()) ? 0 : lastError();
}

Error windowsDirectory(std::string &folder)
{
    char buffer[128];
    const UINT length = GetWindowsDirectoryA(buffer, 128);
    // 0 is a failure; a length of 128 or more means the path did not fit.
    if (length == 0)
        return lastError();
    if (length >= 128)
        return ENAMETOOLONG;
    folder.assign(buffer, length);
    return 0;
}

Error commonDataFolder(Path &folder)
{
    wchar_t buffer[MAX_PATH];
    const HRESULT result =
        SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer);
    if (FAILED(result))
        return HRESULT_FACILITY(result) == FACILITY_WIN32 ? fromWindows(HRESULT_CODE(result))
                                                          : Error(ENOENT);
    folder = buffer;
    return 0;
}

bool isAt(Handle handle, const Path &path)
{
    const HANDLE named = CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION open{}, there{};
    const bool same = GetFileInformationByHandle(handle, &open) &&
                      GetFileInformationByHandle(named, &there) &&
                      open.dwVolumeSerialNumber == there.dwVolumeSerialNumber &&
                      open.nFileIndexHigh == there.nFileIndexHigh &&
                      open.nFileIndexLow == there.nFileIndexLow;
    CloseHandle(named);
    return same;
}

} // namespace quorvela::native
