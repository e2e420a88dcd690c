#include "recordkeeper.h"

#include "platform/fileerror.h"
#include "platform/textfiles.h"
#include "record/store/helperrequest.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include <cerrno>

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

void HelperKeeper::prepare(const QString &)
{
    run({QStringLiteral("prepare")});
}

Saving HelperKeeper::saveIfBetter(const QString &, const QString &score, const QString &name)
{
    const QString answer = run({QStringLiteral("save"), QString::fromLocal8Bit(recordLineOf(score)),
                                QString::fromLocal8Bit(recordLineOf(name))});
    if (answer == QLatin1String(helper::kSaved))
        return Saving::Saved;
    if (answer == QLatin1String(helper::kKept))
        return Saving::Kept;
    return answer == QLatin1String(helper::kRefused) ? Saving::Refused : Saving::Busy;
}

QString HelperKeeper::locate(const QString &name, const QString &installed)
{
    const QString beside = QCoreApplication::applicationDirPath() + u'/' + name;
    return QFileInfo(beside).isFile() ? beside : installed;
}

QString HelperKeeper::run(const QStringList &arguments)
{
    const auto unusable = [this](int error) {
        FileError failure{program_, FileAction::Use, error};
        failure.helper = true;
        return failure;
    };
    const QFileInfo info(program_);
    if (!info.isFile())
        throw unusable(ENOENT);
    if (!info.isExecutable())
        throw unusable(EACCES);

    QProcess process;
    // It takes nothing from the game's environment.
    process.setProcessEnvironment(QProcessEnvironment());
    process.setProgram(program_);
    process.setArguments(arguments);
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(deadlineMs_))
        throw unusable(EIO);
    // A helper that overran (stopped by its player while it held the lock, or
    // waiting on a disk that hangs) is stopped: busy, nothing saved.
    if (!process.waitForFinished(deadlineMs_)) {
        process.kill();
        process.waitForFinished(1000);
        return QLatin1String(helper::kBusy);
    }
    if (process.exitStatus() != QProcess::NormalExit)
        throw unusable(EIO);
    const QString line = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    if (process.exitCode() == 0)
        return line;
    // "error ACTION FOLDER ERRNO SYSTEMCODE PATH", the path last, blanks and all.
    const QStringList fields = line.split(u' ');
    if (process.exitCode() == 1 && fields.size() >= 6 &&
        fields[0] == QLatin1String(helper::kError)) {
        const int action = fields[1].toInt();
        FileError failure{line.section(u' ', 5),
                          FileAction(action),
                          {fields[3].toInt(), fields[4].toULong()},
                          fields[2] == QLatin1String("1")};
        throw failure;
    }
    // Refused: this helper does not serve this program (a build tree it does not
    // trust, a traced game, a preloaded library). Nothing is saved; never the end.
    if (process.exitCode() == 2 && line == QLatin1String(helper::kRefused))
        return line;
    throw unusable(EPERM);
}

#endif

} // namespace quorvela
