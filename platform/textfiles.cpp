#include "textfiles.h"

#include "programend.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvela {

namespace {

constexpr mode_t kSharedFile = 0666;
constexpr mode_t kSharedFolder = 0777;

[[noreturn]] void fail(const QString &path, const char *action, int errorNumber)
{
    throw FileError{path, QString::fromLatin1(action), errorNumber};
}

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

// Opens without following a symbolic link and without blocking on a FIFO, then
// insists on a regular file: a shared folder must not be a way in.
int openRegular(const QString &path, int flags, const char *action, mode_t mode = 0)
{
    const int fd =
        ::open(encoded(path).constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0)
        fail(path, action, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        fail(path, action, error);
    }
    return fd;
}

// A save writes "folder/.name.XXXXXX" (mkstemp fills the six characters).
QString temporaryPrefix(const QString &path)
{
    const QFileInfo info(path);
    return QStringLiteral(".") + info.fileName() + QStringLiteral(".");
}
constexpr int kTemporarySuffix = 6;

// Makes a rename in the folder survive a power cut.
void syncFolder(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        fail(path, "scrivere", errno);
    const int synced = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // EINVAL: a file system that cannot sync folders; the file itself is synced.
    if (synced != 0 && error != EINVAL)
        fail(path, "scrivere", error);
}

void writeAll(int fd, const QByteArray &bytes, const QString &path)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail(path, "scrivere", errno);
        }
        data += written;
        left -= written;
    }
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
        ::close(file.fd);
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
    const QByteArray name = encoded(path);
    int fd = ::open(name.constData(),
                    O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kSharedFile);
    if (fd >= 0) {
        // The umask would keep other accounts out of a record they share.
        if (::fchmod(fd, kSharedFile) != 0) {
            const int error = errno;
            ::close(fd);
            fail(path, "creare", error);
        }
    } else if (errno == EEXIST) {
        fd = openRegular(path, O_WRONLY | O_APPEND, "creare");
    } else {
        fail(path, "creare", errno);
    }
    insert(number, {fd, Mode::Append, path, QString(), QByteArray()});
}

void TextFiles::openForInput(std::int16_t number, const QString &path)
{
    insert(number,
           {openRegular(path, O_RDONLY, "leggere"), Mode::Input, path, QString(), QByteArray()});
}

void TextFiles::openForOutput(std::int16_t number, const QString &path)
{
    // A link at the record's name is refused here too, not silently replaced.
    struct stat st {};
    if (::lstat(encoded(path).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        fail(path, "scrivere", S_ISLNK(st.st_mode) ? ELOOP : S_ISDIR(st.st_mode) ? EISDIR : EINVAL);

    QByteArray pattern = encoded(QFileInfo(path).absolutePath() + QLatin1Char('/') +
                                 temporaryPrefix(path) + QString(kTemporarySuffix, u'X'));
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        fail(path, "scrivere", errno);
    // mkostemp makes it 0600; renamed into place it must stay shared.
    if (::fchmod(fd, kSharedFile) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(pattern.constData());
        fail(path, "scrivere", error);
    }
    insert(number, {fd, Mode::Output, path, QFile::decodeName(pattern), QByteArray()});
}

QString TextFiles::readAll(std::int16_t number)
{
    OpenFile &file = at(number);
    if (file.mode != Mode::Input)
        fail(file.path, "leggere", EBADF);
    QByteArray bytes(kReadLimit, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < kReadLimit) {
        const ssize_t n = ::read(file.fd, bytes.data() + got, size_t(kReadLimit - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(file.path, "leggere", errno);
        if (n == 0)
            break;
        got += n;
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
        writeAll(file.fd, line, file.path);
}

void TextFiles::close(std::int16_t number)
{
    const auto it = files_.find(number);
    if (it == files_.end())
        return;
    OpenFile file = std::move(it->second);
    files_.erase(it);
    if (file.mode != Mode::Output) {
        ::close(file.fd);
        return;
    }
    const QByteArray temp = encoded(file.tempPath);
    try {
        writeAll(file.fd, file.pending, file.path);
        if (::fsync(file.fd) != 0)
            fail(file.path, "scrivere", errno);
        if (::close(file.fd) != 0) {
            file.fd = -1;
            fail(file.path, "scrivere", errno);
        }
        file.fd = -1;
        if (::rename(temp.constData(), encoded(file.path).constData()) != 0)
            fail(file.path, "scrivere", errno);
        syncFolder(file.path);
    } catch (...) {
        if (file.fd >= 0)
            ::close(file.fd);
        ::unlink(temp.constData());
        throw;
    }
}

void TextFiles::closeAll() noexcept
{
    for (auto &[number, file] : files_) {
        ::close(file.fd);
        if (file.mode == Mode::Output)
            ::unlink(encoded(file.tempPath).constData());
    }
    files_.clear();
}

namespace {

void makeFolder(const QString &path, mode_t mode)
{
    struct stat st {};
    if (::stat(encoded(path).constData(), &st) == 0) {
        if (!S_ISDIR(st.st_mode))
            throw FileError{path, QStringLiteral("creare"), ENOTDIR, true};
        return;
    }
    const QString parent = QFileInfo(path).path();
    if (parent != path)
        makeFolder(parent, 0755);
    if (::mkdir(encoded(path).constData(), mode) != 0) {
        // Made by another copy in the meantime: its maker chose the permissions.
        if (errno == EEXIST)
            return;
        throw FileError{path, QStringLiteral("creare"), errno, true};
    }
    // The umask would keep other accounts out.
    if (::chmod(encoded(path).constData(), mode) != 0)
        throw FileError{path, QStringLiteral("creare"), errno, true};
}

} // namespace

void TextFiles::makeSharedFolder(const QString &path)
{
    // Missing parents get the ordinary permissions; only the record folder is shared.
    makeFolder(QDir::cleanPath(QFileInfo(path).absoluteFilePath()), kSharedFolder);
}

void TextFiles::removeLeftovers(const QString &path)
{
    const QString prefix = temporaryPrefix(path);
    const QDir folder = QFileInfo(path).absoluteDir();
    const QStringList names =
        folder.entryList({prefix + QLatin1Char('*')},
                         QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        if (name.size() != prefix.size() + kTemporarySuffix)
            continue;
        // One that cannot be removed costs a few bytes; the save goes on.
        ::unlink(encoded(folder.filePath(name)).constData());
    }
}

FolderLock::FolderLock(const QString &folder)
    : fd_(::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (fd_ < 0)
        throw FileError{folder, QStringLiteral("usare"), errno, true};
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR)
            continue;
        const int error = errno;
        ::close(fd_);
        throw FileError{folder, QStringLiteral("usare"), error, true};
    }
}

FolderLock::~FolderLock()
{
    // Closing the descriptor releases the lock.
    ::close(fd_);
}

} // namespace quorvela
