#include "textfiles.h"

#include "nativefile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

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

namespace {

[[noreturn]] void fail(const QString &path, FileAction action, native::Error error)
{
    throw FileError{path, action, error};
}

void check(native::Error error, const QString &path, FileAction action)
{
    if (error)
        fail(path, action, error);
}

} // namespace

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

void TextFiles::insert(std::int16_t number, OpenFile file)
{
    if (files_.count(number)) {
        native::close(file.handle);
        if (file.mode == Mode::Output)
            native::removeFile(toNative(file.tempPath));
        fail(file.path, FileAction::Open, EBUSY);
    }
    files_.emplace(number, std::move(file));
}

TextFiles::OpenFile &TextFiles::at(std::int16_t number)
{
    const auto it = files_.find(number);
    if (it == files_.end())
        fail(QString(), FileAction::Use, EBADF);
    return it->second;
}

void TextFiles::openForAppend(std::int16_t number, const QString &path)
{
    const native::Path name = toNative(path);
    native::Handle handle = native::kNoHandle;
    native::Error error = native::createShared(name, handle);
    if (error == EEXIST)
        error = native::openRegular(name, true, handle);
    check(error, path, FileAction::Create);
    insert(number, {handle, Mode::Append, path, QString(), QByteArray()});
}

void TextFiles::openForInput(std::int16_t number, const QString &path)
{
    native::Handle handle = native::kNoHandle;
    check(native::openRegular(toNative(path), false, handle), path, FileAction::Read);
    insert(number, {handle, Mode::Input, path, QString(), QByteArray()});
}

void TextFiles::openForOutput(std::int16_t number, const QString &path)
{
    const native::Path name = toNative(path);
    // A link at the record's name is refused here too, not silently replaced.
    check(native::checkReplaceable(name), path, FileAction::Write);
    native::Path temporary;
    native::Handle handle = native::kNoHandle;
    check(native::createTemporary(name, temporary, handle), path, FileAction::Write);
    insert(number, {handle, Mode::Output, path, fromNative(temporary), QByteArray()});
}

QString TextFiles::readAll(std::int16_t number)
{
    OpenFile &file = at(number);
    if (file.mode != Mode::Input)
        fail(file.path, FileAction::Read, EBADF);
    QByteArray bytes(kReadLimit, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < kReadLimit) {
        std::size_t n = 0;
        check(native::read(file.handle, bytes.data() + got, std::size_t(kReadLimit - got), n),
              file.path, FileAction::Read);
        if (n == 0)
            break;
        got += qsizetype(n);
    }
    bytes.truncate(got);
    return QString::fromLocal8Bit(bytes);
}

void TextFiles::printLine(std::int16_t number, const QString &text)
{
    OpenFile &file = at(number);
    if (file.mode == Mode::Input)
        fail(file.path, FileAction::Write, EBADF);
    const QByteArray line = text.toLocal8Bit() + "\r\n";
    if (file.mode == Mode::Output)
        file.pending += line;
    else
        check(native::writeAll(file.handle, line.constData(), std::size_t(line.size())), file.path,
              FileAction::Write);
}

void TextFiles::close(std::int16_t number)
{
    const auto it = files_.find(number);
    if (it == files_.end())
        return;
    OpenFile file = std::move(it->second);
    files_.erase(it);
    if (file.mode != Mode::Output) {
        native::close(file.handle);
        return;
    }
    const native::Path temp = toNative(file.tempPath);
    native::Error error =
        native::writeAll(file.handle, file.pending.constData(), std::size_t(file.pending.size()));
    if (!error)
        error = native::sync(file.handle);
    const native::Error closed = native::close(file.handle);
    if (!error)
        error = closed;
    if (!error)
        error = native::replace(temp, toNative(file.path));
    if (error) {
        native::removeFile(temp);
        fail(file.path, FileAction::Write, error);
    }
}

void TextFiles::closeAll() noexcept
{
    for (auto &[number, file] : files_) {
        native::close(file.handle);
        if (file.mode == Mode::Output)
            native::removeFile(toNative(file.tempPath));
    }
    files_.clear();
}

namespace {

void makeFolder(const QString &path, bool shared)
{
    const native::Error status = native::folderStatus(toNative(path));
    if (status == 0)
        return;
    if (status != ENOENT)
        throw FileError{path, FileAction::Create, status, true};
    const QString parent = QFileInfo(path).path();
    if (parent != path)
        makeFolder(parent, false);
    const native::Error error = native::makeFolder(toNative(path), shared);
    // Made by another copy in the meantime: its maker chose the permissions.
    if (error && error != EEXIST)
        throw FileError{path, FileAction::Create, error, true};
}

} // namespace

void TextFiles::makeSharedFolder(const QString &path)
{
    // Missing parents get the ordinary permissions; only the record folder is shared.
    makeFolder(QDir::cleanPath(QFileInfo(path).absoluteFilePath()), true);
}

void TextFiles::removeLeftovers(const QString &path)
{
    const native::Path target = toNative(path);
    const QDir folder = QFileInfo(path).absoluteDir();
    const QStringList names =
        folder.entryList({fromNative(native::temporaryPrefix(target)) + QLatin1Char('*')},
                         QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        // One that cannot be removed costs a few bytes; the save goes on.
        if (native::isTemporaryOf(toNative(name), target))
            native::removeFile(toNative(folder.filePath(name)));
    }
}

FolderLock::FolderLock(const QString &folder)
{
    if (const native::Error error = native::lockFolder(toNative(folder), lock_))
        throw FileError{folder, FileAction::Use, error, true};
}

FolderLock::~FolderLock()
{
    native::unlockFolder(lock_);
}

} // namespace quorvela
