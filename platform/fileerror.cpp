#include "fileerror.h"

#include <QFile>

#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace quorvela {

native::Path toNative(const QString &path)
{
#ifdef _WIN32
    return native::Path(path.toStdWString());
#else
    return native::Path(QFile::encodeName(path).toStdString());
#endif
}

QString fromNative(const native::Path &path)
{
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

QString FileError::systemMessage() const
{
#ifdef _WIN32
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, DWORD(error.system), 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    const QString message = QString::fromWCharArray(text, int(length)).trimmed();
    LocalFree(text);
    // Ends in a full stop on Windows; the sentence around it adds its own.
    return message.endsWith(u'.') ? message.chopped(1) : message;
#else
    return QString::fromLocal8Bit(std::strerror(int(error.system)));
#endif
}

} // namespace quorvela
