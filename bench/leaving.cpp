// Leaving the game with a new record, as the installed game does it: the record
// helper started as a process of its own, which takes the journal's lock, saves
// both files in place through the journal and answers. Prints one line a figure:
//   start-process NS   (the bare start of a process, /bin/true: the reference)
//   prepare NS         (start-up's call: make what is missing)
//   save NS            (leaving with a new record)
// Usage: bench_leaving ROUNDS
#include "record/recordkeeper.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 50;
    quorvela::HelperKeeper keeper(
        quorvela::HelperKeeper::locate(QStringLiteral("bench_game-record"), QString()));
    QElapsedTimer timer;
    for (int i = 0; i < rounds; ++i) {
        timer.start();
        QProcess::execute(QStringLiteral("/bin/true"), {});
        std::printf("start-process %lld\n", timer.nsecsElapsed());

        timer.start();
        keeper.prepare(QString());
        std::printf("prepare %lld\n", timer.nsecsElapsed());

        // Every round a better score: each one a whole save.
        timer.start();
        if (keeper.saveIfBetter(QString(), QString::number(1000 + i), QStringLiteral("Bench")) !=
            quorvela::Saving::Saved)
            return 1;
        std::printf("save %lld\n", timer.nsecsElapsed());
    }
    return 0;
}
