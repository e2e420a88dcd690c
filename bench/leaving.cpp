// Leaving with a new record through the keeper, as the installed game does it: one
// line a figure, "start-process NS", "prepare NS", "save NS" (bench/README.md).
// Started by its keeper, bench_game, which passes no arguments: 60 rounds.
#include "record/recordkeeper.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = 60;
    const int socket = quorvela::ParentKeeper::socketFromParent();
    if (socket < 0) {
        std::fprintf(stderr, "bench_leaving: start it through its keeper, bench_game\n");
        return 2;
    }
    quorvela::ParentKeeper keeper(socket);
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
