// The system's record folder. Compiled into each executable on its own, with
// the folder that executable was built for.
#include "recordfiles.h"

#include "platform/programend.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#endif

namespace quorvela {

QString systemRecordFolder()
{
#ifdef _WIN32
    char buffer[128];
    const UINT length = GetWindowsDirectoryA(buffer, 128);
    // 0 is a failure; a length of 128 or more means the path did not fit.
    if (length == 0 || length >= 128)
        throw FileError{QStringLiteral("GetWindowsDirectoryA"), QStringLiteral("trovare"),
                        ENAMETOOLONG, true};
    return QString::fromLocal8Bit(buffer, int(length));
#else
    return QStringLiteral(QUORVELA_RECORD_DIR);
#endif
}

} // namespace quorvela
