#include "textfiles.h"

#include <QFile>

#include <cerrno>
#include <string>

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

TextFiles::~TextFiles()
{
    closeAll();
}

std::int16_t TextFiles::freeFile() const
{
    std::int16_t number = 1;
    while (files_.count(number))
        ++number;
    return number;
}

void TextFiles::openForInput(std::int16_t number, const QString &path)
{
    native::Handle handle = native::kNoHandle;
    if (const native::Error error =
            native::openRegular(toNative(path), native::Access::Read, handle))
        throw FileError{path, FileAction::Read, error};
    if (files_.count(number)) {
        native::close(handle);
        throw FileError{path, FileAction::Open, EBUSY};
    }
    files_.emplace(number, OpenFile{handle, path});
}

QString TextFiles::readAll(std::int16_t number)
{
    const auto it = files_.find(number);
    if (it == files_.end())
        throw FileError{QString(), FileAction::Read, EBADF};
    std::string bytes;
    if (const native::Error error = native::readAll(it->second.handle, bytes, kReadLimit))
        throw FileError{it->second.path, FileAction::Read, error};
    return QString::fromLocal8Bit(bytes.data(), qsizetype(bytes.size()));
}

void TextFiles::close(std::int16_t number)
{
    const auto it = files_.find(number);
    if (it == files_.end())
        return;
    native::close(it->second.handle);
    files_.erase(it);
}

void TextFiles::closeAll() noexcept
{
    for (auto &[number, file] : files_)
        native::close(file.handle);
    files_.clear();
}

} // namespace quorvela
