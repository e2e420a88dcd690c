#include "fileerror.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace quorvela {

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
