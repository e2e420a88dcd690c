// Leaving with a new record through the helper, as the installed game does it: one
// line a figure, "start-process NS", "prepare NS", "save NS" (bench/README.md).
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
