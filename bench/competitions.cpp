// Resident memory after 1, 10, 100 (and every further 100) new competitions in a row.
#include "tests/support/fakes.h"

#include <QApplication>
#include <QFile>
#include <QTest>

#include <cstdio>
#include <cstdlib>

using namespace quorvela;
using namespace quorvela::test;

namespace {

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Game game;
    if (!game.start())
        return 1;
    const int competitions = argc > 1 ? std::atoi(argv[1]) : 100;
    for (int competition = 1; competition <= competitions; ++competition) {
        game.dialogs.answers.push_back(Answer::Yes);
        game.dialogs.names.push_back(QStringLiteral("Gara %1").arg(competition));
        game.window->findChild<QAction *>(QStringLiteral("Next"))->trigger();
        if (!QTest::qWaitFor(
                [&] { return game.dialogs.answers.empty() && game.window->isVisible(); }))
            return 1;
        QTest::qWait(5);
        // A few answers each time, so every competition paints and counts.
        game.answer(QStringLiteral("1"), QStringLiteral("2"));
        if (competition == 1 || competition == 10 || competition % 100 == 0)
            std::printf("rss-after-%d %ld\n", competition, residentKiB());
    }
    return 0;
}
