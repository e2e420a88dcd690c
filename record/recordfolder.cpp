// The system's record folder.
#include "recordfiles.h"

#include <QFile>

namespace quorvela {

#ifdef _WIN32

// Older copies of the game keep the record in the Windows directory, which no
// standard account may write since Windows Vista. This one keeps it in the folder
// Windows keeps for every account's data, the same for every account of the
// machine however each is allowed to write; a record found in the Windows
// directory is carried over the first time.
QString systemRecordFolder()
{
    std::string windows;
    if (const native::Error error = native::windowsDirectory(windows))
        throw FileError{QStringLiteral("GetWindowsDirectoryA"), FileAction::Find, error, true};
    native::Path common;
    if (const native::Error error = native::commonDataFolder(common))
        throw FileError{QStringLiteral("%ProgramData%"), FileAction::Find, error, true};
    return recordFolderCarryingOver(fromNative(common / L"Quorvela"),
                                    QString::fromLocal8Bit(windows.c_str()));
}

#else

QString systemRecordFolder()
{
    return QFile::decodeName(kBuildRecordFolder);
}

#endif

} // namespace quorvela
