#include "recordkeeper.h"

#include "platform/fileerror.h"
#include "platform/textfiles.h"

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
    throwOnFailure(store::prepare(toNative(folder)));
}

bool StoreKeeper::saveIfBetter(const QString &folder, const QString &score, const QString &name)
{
    const store::Outcome outcome =
        store::saveIfBetter(toNative(folder), recordLineOf(score), recordLineOf(name));
    throwOnFailure(outcome);
    return outcome.saved;
}

#ifndef _WIN32

void HelperKeeper::prepare(const QString &)
{
    run({QStringLiteral("prepare")});
}

bool HelperKeeper::saveIfBetter(const QString &, const QString &score, const QString &name)
{
    return run({QStringLiteral("save"), QString::fromLocal8Bit(recordLineOf(score)),
                QString::fromLocal8Bit(recordLineOf(name))}) == QLatin1String("saved");
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

    QProcess helper;
    // It takes nothing from the game's environment.
    helper.setProcessEnvironment(QProcessEnvironment());
    helper.setProgram(program_);
    helper.setArguments(arguments);
    helper.start(QIODevice::ReadOnly);
    if (!helper.waitForFinished(-1) || helper.exitStatus() != QProcess::NormalExit)
        throw unusable(EIO);
    const QString line = QString::fromLocal8Bit(helper.readAllStandardOutput()).trimmed();
    if (helper.exitCode() == 0)
        return line;
    // "error ACTION FOLDER ERRNO SYSTEMCODE PATH", the path last, blanks and all.
    const QStringList fields = line.split(u' ');
    if (helper.exitCode() == 1 && fields.size() >= 6 && fields[0] == QLatin1String("error")) {
        const int action = fields[1].toInt();
        FileError failure{line.section(u' ', 5),
                          FileAction(action),
                          {fields[3].toInt(), fields[4].toULong()},
                          fields[2] == QLatin1String("1")};
        throw failure;
    }
    // Refused: this helper does not serve this program.
    throw unusable(EPERM);
}

#endif

} // namespace quorvela
