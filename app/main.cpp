// Quorvela on the desktop: the window with the real dialogs, random source,
// record keeper, record folder and end. The browser's main is main_wasm.cpp.
#include "rules/randomsource.h"
#include "platform/blinkrest.h"
#include "platform/dialogs.h"
#include "platform/programend.h"
#include "platform/session.h"
#include "record/recordfiles.h"
#include "record/recordkeeper.h"
#include "ui/tavola.h"

#include <QApplication>

int main(int argc, char *argv[])
{
#ifndef _WIN32
    // The keeper's socket, closed to any program started from here on, before Qt
    // (whose libraries may start one) is set up.
    const int keeperSocket = quorvela::ParentKeeper::socketFromParent();
#endif
    const QByteArray platform =
        quorvela::preferredPlatform([](const char *name) { return qgetenv(name); }, argc, argv);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    QApplication app(argc, argv);
    quorvela::setUpApplication();
    const quorvela::BlinkRest cursorRest;

    quorvela::ClockSeededRandom random;
    quorvela::QtDialogs dialogs;
    quorvela::QtProgramEnder ender;
#ifdef _WIN32
    // No set-group-id there: the game writes the record itself.
    quorvela::StoreKeeper record;
#else
    // The record's keeper started this game and keeps its record.
    quorvela::ParentKeeper record(keeperSocket);
#endif
    quorvela::Tavola tavola({dialogs, random, ender, record, quorvela::systemRecordFolder});
    if (!tavola.Show())
        return ender.exitCode();
    return QApplication::exec();
}
