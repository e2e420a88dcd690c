#include "recordkeeper.h"

#include "platform/fileerror.h"
#include "platform/textfiles.h"
#include "store/keeperrequest.h"

#include <QStringList>

#include <cerrno>

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
#include "store/keeper.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#endif

namespace quorvela {

void throwOnFailure(const store::Outcome &outcome)
{
    if (outcome.error)
        throw FileError{fromNative(outcome.path), outcome.action, outcome.error, outcome.folder};
}

std::string recordLineOf(const QString &text)
{
    QString line = text;
    for (QChar &c : line)
        if (c == u'\r' || c == u'\n' || c == QChar(0))
            c = u' ';
    QByteArray bytes = line.toLocal8Bit();
    while (std::size_t(bytes.size()) > store::kMaxLine) {
        line.chop(line.size() > 1 && line.at(line.size() - 1).isLowSurrogate() ? 2 : 1);
        bytes = line.toLocal8Bit();
    }
    return bytes.toStdString();
}

void StoreKeeper::prepare(const QString &folder)
{
    if (const store::Outcome outcome = store::prepare(toNative(folder)); !outcome.busy())
        throwOnFailure(outcome);
}

Saving StoreKeeper::saveIfBetter(const QString &folder, const QString &score, const QString &name)
{
    const store::Outcome outcome =
        store::saveIfBetter(toNative(folder), recordLineOf(score), recordLineOf(name));
    if (outcome.busy())
        return Saving::Busy;
    throwOnFailure(outcome);
    return outcome.saved ? Saving::Saved : Saving::Kept;
}

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)

int ParentKeeper::socketFromParent()
{
    const int fd = keeper::kGameSocket;
    struct stat st {};
    int type = 0;
    socklen_t length = sizeof type;
    if (::fstat(fd, &st) != 0 || !S_ISSOCK(st.st_mode) ||
        ::getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) != 0 || type != SOCK_SEQPACKET)
        return -1;
    // Nothing the game may start inherits it.
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    return fd;
}

void ParentKeeper::prepare(const QString &)
{
    ask(keeper::kPrepare);
}

Saving ParentKeeper::saveIfBetter(const QString &, const QString &score, const QString &name)
{
    const QString answer = ask(keeper::saveRequest(recordLineOf(score), recordLineOf(name)));
    if (answer == QLatin1String(keeper::kSaved))
        return Saving::Saved;
    if (answer == QLatin1String(keeper::kKept))
        return Saving::Kept;
    return answer == QLatin1String(keeper::kRefused) ? Saving::Refused : Saving::Busy;
}

QString ParentKeeper::ask(const std::string &request)
{
    if (socket_ < 0)
        return QLatin1String(keeper::kRefused);
    const auto unusable = [](int error) {
        FileError failure{QStringLiteral("quorvela"), FileAction::Use, error};
        failure.helper = true;
        return failure;
    };
    char buffer[keeper::kMaxMessage];
    // A late answer to an earlier question (see below) is not this one's.
    while (::recv(socket_, buffer, sizeof buffer, MSG_DONTWAIT) > 0) {
    }
    if (::send(socket_, request.data(), request.size(), MSG_NOSIGNAL) < 0)
        throw unusable(errno);
    // A keeper that overran (stopped by its player while it held the lock, or
    // waiting on a disk that hangs) is busy: nothing saved, and the game goes on.
    pollfd ready{socket_, POLLIN, 0};
    int polled = 0;
    while ((polled = ::poll(&ready, 1, deadlineMs_)) < 0 && errno == EINTR) {
    }
    if (polled == 0)
        return QLatin1String(keeper::kBusy);
    const ssize_t length = ::recv(socket_, buffer, sizeof buffer, 0);
    if (length <= 0)
        throw unusable(length == 0 ? EPIPE : errno);
    const QString line = QString::fromLocal8Bit(buffer, length);
    // "error ACTION FOLDER ERRNO SYSTEMCODE PATH", the path last, blanks and all.
    const QStringList fields = line.split(u' ');
    if (fields.size() >= 6 && fields[0] == QLatin1String(keeper::kError)) {
        FileError failure{line.section(u' ', 5),
                          FileAction(fields[1].toInt()),
                          {fields[3].toInt(), fields[4].toULong()},
                          fields[2] == QLatin1String("1")};
        throw failure;
    }
    return line;
}

#endif

} // namespace quorvela
