// The system's record folder. Compiled into each executable on its own, with
// the folder that executable was built for.
#include "recordfiles.h"

#include "platform/programend.h"

#ifdef _WIN32
#include "platform/nativefile.h"
#endif

namespace quorvela {

#ifdef _WIN32

// The record has always lived in the Windows directory, which no standard
// account may write since Windows Vista. It now lives in the folder Windows
// keeps for every account's data, the same for every account of the machine
// however each is allowed to write; a record found in the Windows directory is
// carried over the first time.
QString systemRecordFolder()
{
    std::string windows;
    if (const int error = native::windowsDirectory(windows))
        throw FileError{QStringLiteral("GetWindowsDirectoryA"), QStringLiteral("trovare"), error,
                        true};
    native::Path common;
    if (const int error = native::commonDataFolder(common))
        throw FileError{QStringLiteral("%ProgramData%"), QStringLiteral("trovare"), error, true};
    return recordFolderCarryingOver(QString::fromStdWString((common / L"Quorvela").wstring()),
                                    QString::fromLocal8Bit(windows.c_str()));
}

#else

QString systemRecordFolder()
{
    return QStringLiteral(QUORVELA_RECORD_DIR);
}

#endif

} // namespace quorvela
