// quorvela-record-setup.exe: the record's folder and files as Windows installers leave
// them, run with the installer's rights by the MSI and by the NSIS installer.
// %ProgramData%\Quorvela holds the two record files and the journal, made when missing
// and kept as they are otherwise; an older version's cut-short saves go. Every account
// may read the files and write their content (the game writes in place, under the
// journal's lock) but not delete, rename or replace them, change their rights, or add
// anything to the folder; the system and the administrators keep full control.
// No Qt, no arguments. Exit status 0, or the Windows error code.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <string>

namespace {

// Protected (nothing inherited from %ProgramData%). The folder: Users read and list
// it, for the folder alone. The files: Users read and write data, with no DELETE,
// WRITE_DAC or WRITE_OWNER.
constexpr wchar_t kFolderRights[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;;0x1200a9;;;BU)";
constexpr wchar_t kFileRights[] = L"D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x12019f;;;BU)";

DWORD protect(const std::wstring &path, const wchar_t *sddl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return GetLastError();
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    DWORD error = GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted)
                      ? ERROR_SUCCESS
                      : GetLastError();
    if (error == ERROR_SUCCESS)
        error =
            SetNamedSecurityInfoW(const_cast<wchar_t *>(path.c_str()), SE_FILE_OBJECT,
                                  DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                  nullptr, nullptr, dacl, nullptr);
    LocalFree(descriptor);
    return error;
}

} // namespace

int main()
{
    wchar_t common[MAX_PATH];
    if (FAILED(
            SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common)))
        return int(ERROR_PATH_NOT_FOUND);
    const std::wstring folder = std::wstring(common) + L"\\Quorvela";
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return int(GetLastError());

    for (const wchar_t *pattern : {L"\\.qvlmarc.txt.*", L"\\.qvlmarc1.txt.*"}) {
        WIN32_FIND_DATAW found;
        const HANDLE search = FindFirstFileW((folder + pattern).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do
            DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        while (FindNextFileW(search, &found));
        FindClose(search);
    }

    for (const wchar_t *name : {L"\\qvlmarc.txt", L"\\qvlmarc1.txt", L"\\qvlmarc.journal"}) {
        const std::wstring path = folder + name;
        // Made when missing, kept whole otherwise.
        const HANDLE file =
            CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return int(GetLastError());
        CloseHandle(file);
        if (const DWORD error = protect(path, kFileRights))
            return int(error);
    }
    return int(protect(folder, kFolderRights));
}
