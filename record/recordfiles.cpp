// The record's folder and the reading of a record file.
#include "recordfiles.h"

#include "platform/programend.h"
#include "ui/tavola.h"

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
        throw FileError{QStringLiteral("C:\\WINDOWS"), QStringLiteral("trovare"), ENAMETOOLONG};
    return QString::fromLocal8Bit(buffer, int(length));
#else
    return QStringLiteral(QUORVELA_RECORD_DIR);
#endif
}

QString Tavola::GetSystemDir()
{
    QString folder = services_.systemFolder();
    if (!folder.endsWith(kSeparator))
        folder += kSeparator;
#ifndef _WIN32
    // The Windows directory always exists; the record folder may not yet.
    TextFiles::makeSharedFolder(folder);
#endif
    return folder;
}

QString Tavola::Leggifiletxt(const QString &nomefile)
{
    const std::int16_t number = files_.freeFile();
    files_.openForInput(number, nomefile);
    QString text = files_.readAll(number);
    files_.close(number);
    return text;
}

} // namespace quorvela
