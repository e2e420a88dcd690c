// quorvela-record-setup.exe: the record's folder and files as Windows installers leave
// them, run with the system's rights by the MSI and the NSIS installer.
// %ProgramData%\Quorvela may have been made before by any account (ProgramData lets
// Users make folders; the zip and older versions make it as the player), so nothing
// found there is trusted: a reparse point at the folder's or a file's name is set
// aside, never followed; a folder or file an account owns is taken over by the
// administrators, its rights reset through its handle; whatever else stands in the
// folder goes. The record's content stays. Every account may then read the files and
// write their data, nothing else; the system and the administrators keep full control.
// No Qt, no arguments. Exit status 0, or the Windows error code.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <string>

namespace {

// Protected (nothing inherited from %ProgramData%). The folder: Users read and list
// it, for the folder alone. The files: Users read and write their data, with no
// attributes, extended attributes, DELETE, WRITE_DAC or WRITE_OWNER.
constexpr wchar_t kFolderRights[] = L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;;0x1200a9;;;BU)";
constexpr wchar_t kFileRights[] = L"O:BAD:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x12008f;;;BU)";
constexpr const wchar_t *kNames[] = {L"qvlmarc.txt", L"qvlmarc1.txt", L"qvlmarc.journal"};
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// What this program needs of a handle to take a folder or file over.
constexpr DWORD kTakeOver = READ_CONTROL | WRITE_DAC | WRITE_OWNER | FILE_READ_ATTRIBUTES |
                            FILE_WRITE_ATTRIBUTES | SYNCHRONIZE;

struct Handle {
    HANDLE h = INVALID_HANDLE_VALUE;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle()
    {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    bool ok() const { return h != INVALID_HANDLE_VALUE; }
};

// Owners and lists are changed whoever holds them now.
void enablePrivileges()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return;
    for (const wchar_t *name : {L"SeTakeOwnershipPrivilege", L"SeRestorePrivilege", L"SeBackupPrivilege"}) {
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid))
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    }
    CloseHandle(token);
}

// The owner (the administrators) and the protected list, set through the handle.
DWORD protect(HANDLE handle, const wchar_t *sddl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return GetLastError();
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    PSID owner = nullptr;
    DWORD error = GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) &&
                          GetSecurityDescriptorOwner(descriptor, &owner, &defaulted)
                      ? ERROR_SUCCESS
                      : GetLastError();
    if (error == ERROR_SUCCESS)
        error = SetSecurityInfo(handle, SE_FILE_OBJECT,
                                OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                                    PROTECTED_DACL_SECURITY_INFORMATION,
                                owner, nullptr, dacl, nullptr);
    LocalFree(descriptor);
    return error;
}

// A name opened as itself: a reparse point is not followed.
HANDLE openAsItself(const std::wstring &path, DWORD access, DWORD disposition)
{
    return CreateFileW(path.c_str(), access, kShareAll, nullptr, disposition,
                       FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Whatever stands at path goes: a reparse point as itself, a folder with what it
// holds (never through a reparse point), read-only or not.
void removeEntry(const std::wstring &path, int depth)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        depth < 32) {
        WIN32_FIND_DATAW found;
        const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name != L"." && name != L"..")
                    removeEntry(path + L"\\" + name, depth + 1);
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryW(path.c_str());
    else
        DeleteFileW(path.c_str());
}

// The folder itself: a reparse point or a file at its name goes; an existing
// folder is taken over whoever made it.
DWORD takeFolder(const std::wstring &folder, HANDLE &handle)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        Handle existing(openAsItself(folder, kTakeOver | FILE_LIST_DIRECTORY, OPEN_EXISTING));
        BY_HANDLE_FILE_INFORMATION info{};
        if (existing.ok() && GetFileInformationByHandle(existing.h, &info) &&
            (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            handle = existing.h;
            existing.h = INVALID_HANDLE_VALUE;
            return protect(handle, kFolderRights);
        }
        if (existing.ok()) {
            CloseHandle(existing.h);
            existing.h = INVALID_HANDLE_VALUE;
            removeEntry(folder, 32);
        }
        SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
                kFolderRights, SDDL_REVISION_1, &attributes.lpSecurityDescriptor, nullptr))
            return GetLastError();
        const BOOL made = CreateDirectoryW(folder.c_str(), &attributes);
        const DWORD error = made ? ERROR_SUCCESS : GetLastError();
        LocalFree(attributes.lpSecurityDescriptor);
        if (error != ERROR_SUCCESS && error != ERROR_ALREADY_EXISTS)
            return error;
    }
    return ERROR_CANT_ACCESS_FILE;
}

// One record file: kept when it is a regular file of one name, its owner, rights
// and attributes reset through its handle; otherwise its regular content, if any,
// goes into a new file of its own.
DWORD takeFile(const std::wstring &path)
{
    std::string content;
    {
        Handle file(openAsItself(path, kTakeOver | FILE_READ_DATA, OPEN_EXISTING));
        BY_HANDLE_FILE_INFORMATION info{};
        if (file.ok() && GetFileInformationByHandle(file.h, &info)) {
            const bool regular = !(info.dwFileAttributes &
                                   (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
                                 GetFileType(file.h) == FILE_TYPE_DISK;
            if (regular && info.nNumberOfLinks == 1) {
                FILE_BASIC_INFO basic{};
                basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
                if (!SetFileInformationByHandle(file.h, FileBasicInfo, &basic, sizeof basic))
                    return GetLastError();
                return protect(file.h, kFileRights);
            }
            if (regular) {
                char buffer[4096];
                DWORD got = 0;
                if (ReadFile(file.h, buffer, sizeof buffer, &got, nullptr))
                    content.assign(buffer, got);
            }
        }
    }
    removeEntry(path, 0);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            kFileRights, SDDL_REVISION_1, &attributes.lpSecurityDescriptor, nullptr))
        return GetLastError();
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &attributes,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    LocalFree(attributes.lpSecurityDescriptor);
    if (error != ERROR_SUCCESS)
        return error;
    DWORD written = 0;
    if (!WriteFile(file, content.data(), DWORD(content.size()), &written, nullptr))
        error = GetLastError();
    CloseHandle(file);
    return error;
}

bool isRecordName(const std::wstring &name)
{
    for (const wchar_t *record : kNames)
        if (CompareStringOrdinal(name.c_str(), -1, record, -1, TRUE) == CSTR_EQUAL)
            return true;
    return false;
}

} // namespace

int main()
{
    enablePrivileges();
    wchar_t common[MAX_PATH];
    if (FAILED(
            SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common)))
        return int(ERROR_PATH_NOT_FOUND);
    const std::wstring folder = std::wstring(common) + L"\\Quorvela";
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (const DWORD error = takeFolder(folder, handle))
        return int(error);
    const Handle held(handle);

    // Once the folder is the administrators' with its list, no account adds to it.
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L".." && !isRecordName(name))
                removeEntry(folder + L"\\" + name, 0);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    for (const wchar_t *name : kNames)
        if (const DWORD error = takeFile(folder + L"\\" + name))
            return int(error);
    return 0;
}
