#include "nativefile.h"

#include <windows.h>

#include <sddl.h>
#include <shlobj.h>

#include <cerrno>
#include <cwctype>
#include <random>

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
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_PRIVILEGE_NOT_HELD:
        return EACCES;
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
// descriptor of their own: they inherit the folder's.)
constexpr wchar_t kSharedFolder[] =
    L"D:(A;OICI;0x1301bf;;;BU)(A;OICI;0x1301bf;;;AU)(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
// Everyone may wait for and release the machine-wide lock, whoever made it.
constexpr wchar_t kSharedMutex[] =
    L"D:(A;;0x00100001;;;WD)(A;;0x001F0001;;;SY)(A;;0x001F0001;;;BA)";

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

// Antivirus and indexing programs open new files for a moment, without sharing
// deletion: a replace that meets one tries again for up to a second.
template <typename Step> BOOL patiently(Step step)
{
    for (int attempt = 0;; ++attempt) {
        if (step())
            return TRUE;
        const DWORD error = GetLastError();
        if (attempt == 20 || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
            return FALSE;
        Sleep(50);
    }
}

} // namespace

Error openRegular(const Path &path, bool forWriting, Handle &handle)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return lastError();
    if (const Error kind = kindOf(attributes))
        return kind;
    const HANDLE file =
        createFile(path, forWriting ? FILE_APPEND_DATA : GENERIC_READ, OPEN_EXISTING);
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

Error createShared(const Path &path, Handle &handle)
{
    const HANDLE file = createFile(path, FILE_APPEND_DATA, CREATE_NEW);
    if (file == INVALID_HANDLE_VALUE)
        return lastError();
    handle = file;
    return 0;
}

Error checkReplaceable(const Path &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ? Error() : kindOf(attributes);
}

Error createTemporary(const Path &target, Path &temporary, Handle &handle)
{
    static std::mt19937 random{std::random_device{}()};
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring name = temporaryPrefix(target).native();
        for (std::size_t i = 0; i < kTemporarySuffix; ++i)
            name += wchar_t(kLetters[pick(random)]);
        const Path candidate = target.parent_path() / name;
        const HANDLE file = createFile(candidate, GENERIC_WRITE, CREATE_NEW);
        if (file != INVALID_HANDLE_VALUE) {
            temporary = candidate;
            handle = file;
            return 0;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            return lastError();
    }
    return EEXIST;
}

Error writeAll(Handle handle, const char *data, std::size_t size)
{
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : DWORD(size);
        DWORD written = 0;
        if (!WriteFile(handle, data, chunk, &written, nullptr))
            return lastError();
        data += written;
        size -= written;
    }
    return 0;
}

Error read(Handle handle, char *data, std::size_t size, std::size_t &got)
{
    DWORD n = 0;
    if (!ReadFile(handle, data, size > 0x10000000 ? 0x10000000 : DWORD(size), &n, nullptr))
        return lastError();
    got = n;
    return 0;
}

Error sync(Handle handle)
{
    return FlushFileBuffers(handle) ? 0 : lastError();
}

Error close(Handle handle)
{
    return CloseHandle(handle) ? 0 : lastError();
}

Error replace(const Path &source, const Path &target)
{
    // Write-through: the move is on the disk when it returns.
    return patiently([&] {
        return MoveFileExW(source.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    })
               ? 0
               : lastError();
}

void removeFile(const Path &path) noexcept
{
    DeleteFileW(path.c_str());
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

Error lockFolder(const Path &folder, Handle &lock)
{
    // Byte-range locks cannot be taken on a folder, and each save replaces the
    // record files: a named mutex in the machine's global namespace stands for
    // the folder, named after its full path.
    // A folder that is gone or turned into a file fails here, as on Linux.
    if (const Error status = folderStatus(folder))
        return status;
    wchar_t full[MAX_PATH];
    const DWORD length = GetFullPathNameW(folder.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return length == 0 ? lastError() : ENAMETOOLONG;
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a over the case-folded path
    for (DWORD i = 0; i < length; ++i) {
        const wchar_t c = full[i] == L'/' ? L'\\' : wchar_t(std::towupper(full[i]));
        if (c == L'\\' && i + 1 == length)
            break;
        hash = (hash ^ std::uint64_t(c)) * 1099511628211ull;
    }
    wchar_t name[64];
    swprintf(name, 64, L"Global\\quorvela-record-%016llx", static_cast<unsigned long long>(hash));

    Security security(kSharedMutex);
    if (security.error())
        return security.error();
    const HANDLE mutex =
        CreateMutexExW(security.attributes(), name, 0, SYNCHRONIZE | MUTEX_MODIFY_STATE);
    if (!mutex)
        return lastError();
    // Abandoned: a copy ended while holding it. Its saves were whole or absent.
    const DWORD waited = WaitForSingleObject(mutex, INFINITE);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        const Error error = lastError();
        CloseHandle(mutex);
        return error ? error : Error(EIO);
    }
    lock = mutex;
    return 0;
}

void unlockFolder(Handle lock) noexcept
{
    ReleaseMutex(lock);
    CloseHandle(lock);
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

Error copyIfMissing(const Path &source, const Path &target)
{
    // Copied beside the target and moved into place without replacing: a copy
    // cut short never stands at the target's name.
    Path temporary;
    Handle handle = kNoHandle;
    if (const Error error = createTemporary(target, temporary, handle))
        return error;
    CloseHandle(handle);
    if (!CopyFileW(source.c_str(), temporary.c_str(), FALSE)) {
        const DWORD error = GetLastError();
        removeFile(temporary);
        return error == ERROR_FILE_NOT_FOUND ? 0 : fromWindows(error);
    }
    if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
        return 0;
    const DWORD error = GetLastError();
    removeFile(temporary);
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? 0 : fromWindows(error);
}

} // namespace quorvela::native
