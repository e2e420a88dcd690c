// quorvela-record-setup.exe: the record's folder and files as the installers leave
// them, run with the system's rights over a folder any account may have made first;
// no name there is trusted (doc/windows.md). Exit status 0, or the Windows error.
#include "store/recordstore.h"

#include <windows.h>

#include <aclapi.h>
#include <cstdint>
#include <sddl.h>
#include <shlobj.h>

#include <string>
#include <vector>

extern "C" NTSTATUS NTAPI NtSetSecurityObject(HANDLE, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR);
extern "C" ULONG NTAPI RtlNtStatusToDosError(NTSTATUS);

namespace {

// Protected (nothing inherited from %ProgramData%). The folder: Users read and list
// it, for the folder alone. The files: Users read and write their data, with no
// attributes, extended attributes, DELETE, WRITE_DAC or WRITE_OWNER.
constexpr wchar_t kFolderRights[] = L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;;0x1200a9;;;BU)";
constexpr wchar_t kFileRights[] = L"O:BAD:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x12008f;;;BU)";
// A folder set aside: the administrators' and the system's alone.
constexpr wchar_t kClosedRights[] = L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
// The record's names, as the store has them (plain ASCII).
std::wstring wide(const char *name)
{
    return std::wstring(name, name + std::char_traits<char>::length(name));
}
const std::wstring kNames[] = {wide(quorvela::store::kScoreFile), wide(quorvela::store::kNameFile),
                               wide(quorvela::store::kJournalFile)};
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// What no account but the administrators and the system may hold on a sound folder.
constexpr DWORD kChanging = DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_ALL | GENERIC_WRITE |
                            FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | FILE_DELETE_CHILD |
                            FILE_WRITE_ATTRIBUTES | FILE_WRITE_EA;

struct Handle {
    HANDLE h = INVALID_HANDLE_VALUE;
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : h(handle) {}
    ~Handle()
    {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    bool ok() const { return h != INVALID_HANDLE_VALUE; }
};

// A security descriptor from its text form, freed with the object.
struct Descriptor {
    SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    DWORD error = ERROR_SUCCESS;
    explicit Descriptor(const wchar_t *sddl)
    {
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
                sddl, SDDL_REVISION_1, &attributes.lpSecurityDescriptor, nullptr))
            error = GetLastError();
    }
    ~Descriptor() { LocalFree(attributes.lpSecurityDescriptor); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
};

// Owners are changed whoever holds them now, and a folder or file is opened for
// backup and restore whatever its list allows (a pupil's may deny the system and
// the administrators everything).
void enablePrivileges()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return;
    for (const wchar_t *name :
         {L"SeTakeOwnershipPrivilege", L"SeBackupPrivilege", L"SeRestorePrivilege"}) {
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid))
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    }
    CloseHandle(token);
}

// The owner and the protected list, set on the object of the handle alone:
// SetSecurityInfo would also walk what the folder holds by name to pass the list
// on, and a name there may be a pupil's junction.
DWORD protect(HANDLE handle, const wchar_t *sddl)
{
    const Descriptor descriptor(sddl);
    if (descriptor.error)
        return descriptor.error;
    const NTSTATUS status =
        NtSetSecurityObject(handle, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                            descriptor.attributes.lpSecurityDescriptor);
    return status >= 0 ? ERROR_SUCCESS : RtlNtStatusToDosError(status);
}

// The administrators made the owner of the object of the handle, which needs
// nothing but the right that taking ownership grants.
DWORD takeOwnership(HANDLE handle)
{
    const Descriptor descriptor(L"O:BA");
    if (descriptor.error)
        return descriptor.error;
    const NTSTATUS status = NtSetSecurityObject(handle, OWNER_SECURITY_INFORMATION,
                                                descriptor.attributes.lpSecurityDescriptor);
    return status >= 0 ? ERROR_SUCCESS : RtlNtStatusToDosError(status);
}

// A name opened as itself: a reparse point is not followed.
HANDLE openAsItself(const std::wstring &path, DWORD access)
{
    return CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool isFolder(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(handle, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool isAdministratorsOrSystem(PSID sid)
{
    return sid && (IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ||
                   IsWellKnownSid(sid, WinLocalSystemSid));
}

// A real folder that the administrators or the system own, and on which no other
// account is allowed anything that changes it or what it holds.
bool isSound(HANDLE folder)
{
    if (!isFolder(folder))
        return false;
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(folder, SE_FILE_OBJECT,
                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr,
                        &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    bool sound = isAdministratorsOrSystem(owner) && dacl;
    for (DWORD i = 0; sound && i < dacl->AceCount; ++i) {
        ACE_HEADER *ace = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void **>(&ace)) || !ace)
            sound = false;
        else if (ace->AceType == ACCESS_ALLOWED_ACE_TYPE && !(ace->AceFlags & INHERIT_ONLY_ACE)) {
            const auto *allowed = reinterpret_cast<ACCESS_ALLOWED_ACE *>(ace);
            const PSID sid = PSID(const_cast<DWORD *>(&allowed->SidStart));
            if (!isAdministratorsOrSystem(sid) && (allowed->Mask & kChanging))
                sound = false;
        }
    }
    LocalFree(descriptor);
    return sound;
}

std::wstring finalPath(HANDLE handle)
{
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetFinalPathNameByHandleW(handle, buffer, DWORD(std::size(buffer)), 0);
    return length > 0 && length < std::size(buffer) ? std::wstring(buffer, length) : std::wstring();
}

// At most the game's limit of a regular file at name in folder, opened as itself,
// and only when the file it opened lies in that folder: a junction a pupil put on
// the way must not carry a file from elsewhere into a record every account reads.
std::string contentIn(HANDLE folder, const std::wstring &folderPath, const wchar_t *name)
{
    const Handle file(openAsItself(folderPath + L"\\" + name, GENERIC_READ));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.ok() || !GetFileInformationByHandle(file.h, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
        GetFileType(file.h) != FILE_TYPE_DISK)
        return {};
    const std::wstring inside = finalPath(folder);
    const std::wstring where = finalPath(file.h);
    if (inside.empty() || where.size() <= inside.size() ||
        CompareStringOrdinal(where.c_str(), int(inside.size()), inside.c_str(), int(inside.size()),
                             TRUE) != CSTR_EQUAL ||
        where[inside.size()] != L'\\')
        return {};
    char buffer[4096];
    DWORD got = 0;
    return ReadFile(file.h, buffer, sizeof buffer, &got, nullptr) ? std::string(buffer, got)
                                                                  : std::string();
}

// A new record file in a folder that only this program may change yet.
DWORD makeFile(const std::wstring &path, const std::string &content)
{
    const Descriptor rights(kFileRights);
    if (rights.error)
        return rights.error;
    const Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0,
                                  const_cast<SECURITY_ATTRIBUTES *>(&rights.attributes), CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok())
        return GetLastError();
    DWORD written = 0;
    if (!WriteFile(file.h, content.data(), DWORD(content.size()), &written, nullptr))
        return GetLastError();
    return ERROR_SUCCESS;
}

// The kept folder's files: each a regular file of one name, its owner, rights and
// attributes reset through its handle; anything else at a record's name, and any
// other name, goes as itself, and a missing or replaced file is made anew.
DWORD refreshFiles(const std::wstring &folder)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            bool record = false;
            for (const std::wstring &own : kNames)
                record = record || CompareStringOrdinal(name.c_str(), -1, own.c_str(), -1, TRUE) ==
                                       CSTR_EQUAL;
            if (name == L"." || name == L".." || record)
                continue;
            const Handle entry(openAsItself(folder + L"\\" + name, DELETE | FILE_WRITE_ATTRIBUTES));
            FILE_BASIC_INFO basic{};
            basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
            FILE_DISPOSITION_INFO gone{TRUE};
            if (entry.ok()) {
                SetFileInformationByHandle(entry.h, FileBasicInfo, &basic, sizeof basic);
                SetFileInformationByHandle(entry.h, FileDispositionInfo, &gone, sizeof gone);
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    for (const std::wstring &name : kNames) {
        const std::wstring path = folder + L"\\" + name;
        std::string content;
        {
            const Handle file(openAsItself(path, READ_CONTROL | WRITE_DAC | WRITE_OWNER | DELETE |
                                                     FILE_READ_DATA | FILE_READ_ATTRIBUTES |
                                                     FILE_WRITE_ATTRIBUTES));
            BY_HANDLE_FILE_INFORMATION info{};
            if (file.ok() && GetFileInformationByHandle(file.h, &info)) {
                const bool regular = !(info.dwFileAttributes &
                                       (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
                                     GetFileType(file.h) == FILE_TYPE_DISK;
                FILE_BASIC_INFO basic{};
                basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
                if (!SetFileInformationByHandle(file.h, FileBasicInfo, &basic, sizeof basic))
                    return GetLastError();
                if (regular && info.nNumberOfLinks == 1) {
                    if (const DWORD error = protect(file.h, kFileRights))
                        return error;
                    continue;
                }
                // A file with a second name elsewhere keeps its content in a file
                // of its own; anything else goes.
                char buffer[4096];
                DWORD got = 0;
                if (regular && ReadFile(file.h, buffer, sizeof buffer, &got, nullptr))
                    content.assign(buffer, got);
                FILE_DISPOSITION_INFO gone{TRUE};
                if (!SetFileInformationByHandle(file.h, FileDispositionInfo, &gone, sizeof gone))
                    return GetLastError();
            }
        }
        if (const DWORD error = makeFile(path, content))
            return error;
    }
    return ERROR_SUCCESS;
}

// An unsound folder at the name: closed to every account and renamed aside through
// its own handle, its record's content read first. One that cannot be renamed (some
// program's current folder) is closed and stays in place: kept says so.
DWORD setAside(const std::wstring &folder, std::string (&contents)[3], bool &kept)
{
    kept = false;
    // Whatever its list allows: first the administrators' with the one right that
    // taking ownership grants, then opened again as their own.
    {
        const Handle owned(openAsItself(folder, WRITE_OWNER));
        if (!owned.ok())
            return GetLastError() == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : GetLastError();
        if (const DWORD error = takeOwnership(owned.h))
            return error;
    }
    constexpr DWORD kAccess = READ_CONTROL | WRITE_DAC | WRITE_OWNER | FILE_LIST_DIRECTORY |
                              FILE_READ_ATTRIBUTES | SYNCHRONIZE;
    // A folder that another program holds open without letting it be renamed
    // (a console's current folder) is opened without the right to.
    Handle old(openAsItself(folder, kAccess | DELETE));
    if (!old.ok() && GetLastError() == ERROR_SHARING_VIOLATION) {
        old.h = openAsItself(folder, kAccess);
        kept = true;
    }
    if (!old.ok())
        return GetLastError();
    if (const DWORD error = protect(old.h, kClosedRights))
        return error;
    if (isFolder(old.h))
        for (int i = 0; i < 3; ++i)
            contents[i] = contentIn(old.h, folder, kNames[i].c_str());
    const std::wstring aside = folder + L".old-" + std::to_wstring(GetTickCount64()) + L"-" +
                               std::to_wstring(GetCurrentProcessId());
    const std::size_t bytes = sizeof(FILE_RENAME_INFO) + aside.size() * sizeof(wchar_t);
    std::vector<std::uint64_t> buffer(bytes / sizeof(std::uint64_t) + 1);
    auto *rename = reinterpret_cast<FILE_RENAME_INFO *>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = DWORD(aside.size() * sizeof(wchar_t));
    aside.copy(rename->FileName, aside.size());
    if (kept)
        return ERROR_SUCCESS;
    if (!SetFileInformationByHandle(old.h, FileRenameInfo, rename, DWORD(bytes))) {
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)
            return error;
        kept = true;
    }
    return ERROR_SUCCESS;
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

    {
        const Handle existing(openAsItself(folder, READ_CONTROL | FILE_READ_ATTRIBUTES));
        if (existing.ok() && isSound(existing.h)) {
            if (const Handle rights(openAsItself(folder, READ_CONTROL | WRITE_DAC | WRITE_OWNER));
                !rights.ok() || protect(rights.h, kFolderRights) != ERROR_SUCCESS)
                return int(GetLastError());
            return int(refreshFiles(folder));
        }
    }
    // A pupil may make the name again at any moment: set aside each time, a few times.
    std::string contents[3];
    const Descriptor rights(kFolderRights);
    if (rights.error)
        return int(rights.error);
    for (int attempt = 0;; ++attempt) {
        std::string found[3];
        bool kept = false;
        if (const DWORD error = setAside(folder, found, kept))
            return int(error);
        for (int i = 0; i < 3; ++i)
            if (contents[i].empty())
                contents[i] = found[i];
        if (kept) {
            // Closed to every account already: given the record folder's rights,
            // and its files reset as a sound folder's are.
            const Handle same(openAsItself(folder, READ_CONTROL | WRITE_DAC | WRITE_OWNER));
            if (!same.ok())
                return int(GetLastError());
            if (const DWORD error = protect(same.h, kFolderRights))
                return int(error);
            return int(refreshFiles(folder));
        }
        if (CreateDirectoryW(folder.c_str(), const_cast<SECURITY_ATTRIBUTES *>(&rights.attributes)))
            break;
        if (GetLastError() != ERROR_ALREADY_EXISTS || attempt == 5)
            return int(GetLastError());
    }
    for (int i = 0; i < 3; ++i)
        if (const DWORD error = makeFile(folder + L"\\" + kNames[i], contents[i]))
            return int(error);
    return 0;
}
