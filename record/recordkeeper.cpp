#include "recordkeeper.h"

#include "platform/fileerror.h"
#include "store/keeperrequest.h"

#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <optional>

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

RecordText recordTextOf(const std::string &score, const std::string &name)
{
    const auto text = [](const std::string &bytes) {
        return QString::fromLocal8Bit(bytes.data(),
                                      qsizetype(std::min(bytes.size(), native::kRecordReadLimit)));
    };
    return {text(score), text(name)};
}

void StoreKeeper::prepare(const QString &folder)
{
    if (const store::Outcome outcome = store::prepare(toNative(folder)); !outcome.busy())
        throwOnFailure(outcome);
}

RecordText StoreKeeper::read(const QString &folder)
{
    store::Contents record;
    throwOnFailure(store::readRecord(toNative(folder), record));
    return recordTextOf(record.score, record.name);
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

RecordText ParentKeeper::read(const QString &folder)
{
    if (const std::optional<store::Contents> record = keeper::parseRecordAnswer(ask(keeper::kRead)))
        return recordTextOf(record->score, record->name);
    return StoreKeeper().read(folder);
}

Saving ParentKeeper::saveIfBetter(const QString &, const QString &score, const QString &name)
{
    const std::string answer = ask(keeper::saveRequest(recordLineOf(score), recordLineOf(name)));
    if (answer == keeper::kSaved)
        return Saving::Saved;
    if (answer == keeper::kKept)
        return Saving::Kept;
    return answer == keeper::kRefused ? Saving::Refused : Saving::Busy;
}

std::string ParentKeeper::ask(const std::string &request)
{
    if (socket_ < 0)
        return keeper::kRefused;
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
        return keeper::kBusy;
    const ssize_t length = ::recv(socket_, buffer, sizeof buffer, 0);
    if (length <= 0)
        throw unusable(length == 0 ? EPIPE : errno);
    std::string answer(buffer, std::size_t(length));
    // "error ACTION FOLDER ERRNO SYSTEMCODE PATH", the path last, blanks and all.
    if (answer.rfind(std::string(keeper::kError) + ' ', 0) == 0) {
        const QString line = QString::fromLocal8Bit(answer.data(), qsizetype(answer.size()));
        const QStringList fields = line.split(u' ');
        if (fields.size() >= 6)
            throw FileError{line.section(u' ', 5),
                            FileAction(fields[1].toInt()),
                            {fields[3].toInt(), fields[4].toULong()},
                            fields[2] == QLatin1String("1")};
    }
    return answer;
}

#endif

} // namespace quorvela
