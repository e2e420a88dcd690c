#include "textfiles.h"

#include "nativefile.h"
#include "programend.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace quorvela {

namespace {

[[noreturn]] void fail(const QString &path, const char *action, int errorNumber)
{
    throw FileError{path, QString::fromLatin1(action), errorNumber};
}

native::Path nativePath(const QString &path)
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

void check(int error, const QString &path, const char *action)
{
    if (error)
        fail(path, action, error);
}

// A save writes "folder/.name.XXXXXX" (six characters chosen at random).
QString temporaryPrefix(const QString &path)
{
    const QFileInfo info(path);
    return QStringLiteral(".") + info.fileName() + QStringLiteral(".");
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
            native::removeFile(nativePath(file.tempPath));
        fail(file.path, "aprire", EBUSY);
    }
    files_.emplace(number, std::move(file));
}

TextFiles::OpenFile &TextFiles::at(std::int16_t number)
{
    const auto it = files_.find(number);
    if (it == files_.end())
        fail(QString(), "usare", EBADF);
    return it->second;
}

void TextFiles::openForAppend(std::int16_t number, const QString &path)
{
    const native::Path name = nativePath(path);
    native::Handle handle = native::kNoHandle;
    int error = native::createShared(name, handle);
    if (error == EEXIST)
        error = native::openRegular(name, true, handle);
    check(error, path, "creare");
    insert(number, {handle, Mode::Append, path, QString(), QByteArray()});
}

void TextFiles::openForInput(std::int16_t number, const QString &path)
{
    native::Handle handle = native::kNoHandle;
    check(native::openRegular(nativePath(path), false, handle), path, "leggere");
    insert(number, {handle, Mode::Input, path, QString(), QByteArray()});
}

void TextFiles::openForOutput(std::int16_t number, const QString &path)
{
    const native::Path name = nativePath(path);
    // A link at the record's name is refused here too, not silently replaced.
    check(native::checkReplaceable(name), path, "scrivere");
    native::Path temporary;
    native::Handle handle = native::kNoHandle;
    check(native::createTemporary(name, temporary, handle), path, "scrivere");
    insert(number, {handle, Mode::Output, path, fromNative(temporary), QByteArray()});
}

QString TextFiles::readAll(std::int16_t number)
{
    OpenFile &file = at(number);
    if (file.mode != Mode::Input)
        fail(file.path, "leggere", EBADF);
    QByteArray bytes(kReadLimit, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < kReadLimit) {
        std::size_t n = 0;
        check(native::read(file.handle, bytes.data() + got, std::size_t(kReadLimit - got), n),
              file.path, "leggere");
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
        fail(file.path, "scrivere", EBADF);
    const QByteArray line = text.toLocal8Bit() + "\r\n";
    if (file.mode == Mode::Output)
        file.pending += line;
    else
        check(native::writeAll(file.handle, line.constData(), std::size_t(line.size())), file.path,
              "scrivere");
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
    const native::Path temp = nativePath(file.tempPath);
    int error =
        native::writeAll(file.handle, file.pending.constData(), std::size_t(file.pending.size()));
    if (!error)
        error = native::sync(file.handle);
    const int closed = native::close(file.handle);
    if (!error)
        error = closed;
    if (!error)
        error = native::replace(temp, nativePath(file.path));
    if (error) {
        native::removeFile(temp);
        fail(file.path, "scrivere", error);
    }
}

void TextFiles::closeAll() noexcept
{
    for (auto &[number, file] : files_) {
        native::close(file.handle);
        if (file.mode == Mode::Output)
            native::removeFile(nativePath(file.tempPath));
    }
    files_.clear();
}

namespace {

void makeFolder(const QString &path, bool shared)
{
    const int status = native::folderStatus(nativePath(path));
    if (status == 0)
        return;
    if (status != ENOENT)
        throw FileError{path, QStringLiteral("creare"), status, true};
    const QString parent = QFileInfo(path).path();
    if (parent != path)
        makeFolder(parent, false);
    const int error = native::makeFolder(nativePath(path), shared);
    // Made by another copy in the meantime: its maker chose the permissions.
    if (error && error != EEXIST)
        throw FileError{path, QStringLiteral("creare"), error, true};
}

} // namespace

void TextFiles::makeSharedFolder(const QString &path)
{
    // Missing parents get the ordinary permissions; only the record folder is shared.
    makeFolder(QDir::cleanPath(QFileInfo(path).absoluteFilePath()), true);
}

void TextFiles::removeLeftovers(const QString &path)
{
    const QString prefix = temporaryPrefix(path);
    const QDir folder = QFileInfo(path).absoluteDir();
    const QStringList names =
        folder.entryList({prefix + QLatin1Char('*')},
                         QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        if (name.size() != prefix.size() + qsizetype(native::kTemporarySuffix))
            continue;
        // One that cannot be removed costs a few bytes; the save goes on.
        native::removeFile(nativePath(folder.filePath(name)));
    }
}

FolderLock::FolderLock(const QString &folder)
{
    if (const int error = native::lockFolder(nativePath(folder), lock_))
        throw FileError{folder, QStringLiteral("usare"), error, true};
}

FolderLock::~FolderLock()
{
    native::unlockFolder(lock_);
}

} // namespace quorvela
