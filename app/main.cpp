// Quorvela: the window with the real dialogs, random source, record keeper,
// record folder and end.
#include "platform/blinkrest.h"
#include "platform/dialogs.h"
#include "platform/programend.h"
#include "game/rules/randomsource.h"
#include "platform/session.h"
#include "record/recordfiles.h"
#include "record/recordkeeper.h"
#include "ui/tavola.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    const QByteArray platform =
        quorvela::preferredPlatform([](const char *name) { return qgetenv(name); }, argc, argv);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorvela"));
    QApplication::setApplicationDisplayName(QString());
    QApplication::setDesktopFileName(QStringLiteral("invalid.quorvela.quorvela"));
    quorvela::useItalianButtons();
    const quorvela::BlinkRest cursorRest;

    quorvela::QtDialogs dialogs;
    quorvela::ClockSeededRandom random;
    quorvela::QtProgramEnder ender;
#ifdef _WIN32
    // No set-group-id there: the game writes the record itself.
    quorvela::StoreKeeper record;
#else
    quorvela::HelperKeeper record(
        quorvela::HelperKeeper::locate(QString::fromLatin1(quorvela::kRecordHelperName),
                                       QString::fromLatin1(quorvela::kInstalledRecordHelper)));
#endif
    quorvela::Tavola tavola({dialogs, random, ender, record, quorvela::systemRecordFolder});
    if (!tavola.Show())
        return ender.exitCode();
    return QApplication::exec();
}
