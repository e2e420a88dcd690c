// The countdown, the end of the time, and the minimised title.
#include "rules/clocktext.h"
#include "support/fakes.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

using namespace quorvela;
using namespace quorvela::test;

namespace {

// Delivers ticks as the timer does, through the window's event guard.
void tick(Tavola &window, int times = 1)
{
    for (int i = 0; i < times; ++i)
        window.dispatch([&] { window.Timer1_Timer(); });
}

const QString kLongTitle = QString(55, u' ') + "Quorvela anche con diverso denominatore";

} // namespace

class TestClock : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }
    void labelAfterTicks_data();
    void labelAfterTicks();
    void endOfTimeDeclined();
    void endOfTimeConfirmedSavesAndEnds();
    void ticksWhileTheQuestionIsOpen();
    void ticksWhileTempoScadutoIsOpen();
    void exitQuestionOpenAcrossZero();
    void gameGoesOnAfterTheTime();
    void realTimerTicks();
    void lateTicksCatchUp_data();
    void lateTicksCatchUp();
    void lateTicksEndTheTimeOnce();
    void titles();
};

void TestClock::labelAfterTicks_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("label");
    QTest::newRow("first tick") << 1 << "00:09:59";
    QTest::newRow("after 00:09:00") << 61 << "00:08:59";
    QTest::newRow("after 00:01:00") << 541 << "00:00:59";
    QTest::newRow("600th tick is silent") << 600 << "00:00:00";
}

void TestClock::labelAfterTicks()
{
    // Each tick lowers the clock and secondsLeft together; the 600th asks nothing.
    QFETCH(int, ticks);
    QFETCH(QString, label);
    Game game;
    QVERIFY(game.start());
    const size_t boxesAtStart = game.dialogs.boxes.size();
    tick(*game.window, ticks);
    QCOMPARE(game.c().lblconto->text(), label);
    QCOMPARE(int(game.window->secondsLeft), 600 - ticks);
    QCOMPARE(game.dialogs.boxes.size(), boxesAtStart);
}

void TestClock::endOfTimeDeclined()
{
    // The 601st tick asks; No: "Tempo scaduto", focus to txtAnswer, timer stopped, beep.
    Game game;
    QVERIFY(game.start());
    QVERIFY(QTest::qWaitForWindowActive(game.window.get()));
    game.answer("9", "9");
    tick(*game.window, 600);
    game.dialogs.boxes.clear();
    game.dialogs.answers.push_back(Answer::No);
    game.c().cmdExit->setFocus();
    tick(*game.window);
    QCOMPARE(game.boxTexts(), (QStringList{"Vuoi veramente lasciarmi  ?", "Tempo scaduto"}));
    const MessageBox &question = game.dialogs.boxes[0];
    QCOMPARE(question.title, "Uscire dal programma");
    QCOMPARE(question.buttons, Buttons::YesNo);
    QCOMPARE(question.icon, Icon::Question);
    QCOMPARE(question.defaultButton, Answer::No);
    QCOMPARE(game.dialogs.boxes[1].title, "Quorvela");
    QCOMPARE(game.dialogs.boxes[1].buttons, Buttons::Ok);
    QCOMPARE(QApplication::focusWidget(), game.c().txtAnswer);
    // The judged answer's numerator, with the caret after it, where typing goes on.
    QCOMPARE(game.c().txtAnswer->cursorPosition(), 1);
    QVERIFY(!game.c().Timer1->isActive());
    QCOMPARE(game.dialogs.beeps, 1);
    QCOMPARE(game.c().lblconto->text(), "00:00:00");
    QCOMPARE(int(game.window->secondsLeft), 0);
    QVERIFY(!game.ended());
}

void TestClock::endOfTimeConfirmedSavesAndEnds()
{
    // Yes at the end of the time saves a better score and ends inside the tick.
    Game game;
    game.scriptProblem(1, 2, 1, 6);
    QVERIFY(game.start());
    game.answer("2", "3");
    tick(*game.window, 600);
    game.dialogs.boxes.clear();
    game.dialogs.answers.push_back(Answer::Yes);
    tick(*game.window);
    QCOMPARE(game.boxTexts(), (QStringList{"Vuoi veramente lasciarmi  ?",
                                           "Ok ho registrato il tuo record, C A M P I O N E\""}));
    QCOMPARE(game.ender.codes, std::vector<int>{0});
    QCOMPARE(readBytes(game.scoreFile()), QByteArray("1\r\n"));
    QCOMPARE(game.dialogs.beeps, 0);
}

void TestClock::ticksWhileTheQuestionIsOpen()
{
    // Ticks during the tick's own question open nothing and count nothing below zero.
    Game game;
    QVERIFY(game.start());
    tick(*game.window, 600);
    game.dialogs.boxes.clear();
    game.dialogs.answers.push_back(Answer::No);
    game.dialogs.whileOpen = [&](const MessageBox &) { tick(*game.window, 5); };
    tick(*game.window);
    QCOMPARE(game.boxTexts(), (QStringList{"Vuoi veramente lasciarmi  ?", "Tempo scaduto"}));
    QCOMPARE(int(game.window->secondsLeft), 0);
    QCOMPARE(game.dialogs.beeps, 1);
    QVERIFY(!game.c().Timer1->isActive());
    QCOMPARE(game.dialogs.unscripted, 0);
}

void TestClock::ticksWhileTempoScadutoIsOpen()
{
    // Ticks while "Tempo scaduto" is open do not run the end of the time again.
    Game game;
    QVERIFY(game.start());
    tick(*game.window, 600);
    game.dialogs.answers.push_back(Answer::No);
    game.dialogs.whileOpen = [&](const MessageBox &box) {
        if (box.text == "Tempo scaduto")
            tick(*game.window, 3);
    };
    game.dialogs.boxes.clear();
    tick(*game.window);
    QCOMPARE(game.boxTexts().size(), 2);
    QCOMPARE(game.dialogs.beeps, 1);
    QCOMPARE(game.dialogs.unscripted, 0);
}

void TestClock::exitQuestionOpenAcrossZero()
{
    // The exit button's question stays open past 00:00:00; after No the next tick asks.
    Game game;
    QVERIFY(game.start());
    tick(*game.window, 595);
    game.dialogs.boxes.clear();
    game.dialogs.answers.push_back(Answer::No);
    game.dialogs.whileOpen = [&](const MessageBox &) {
        game.dialogs.whileOpen = nullptr;
        tick(*game.window, 10);
    };
    QTest::mouseClick(game.c().cmdExit, Qt::LeftButton);
    QCOMPARE(game.boxTexts(), QStringList{"Vuoi veramente lasciarmi  ?"});
    QCOMPARE(game.c().lblconto->text(), "00:00:00");
    QCOMPARE(int(game.window->secondsLeft), 0);
    QVERIFY(game.c().Timer1->isActive());
    game.dialogs.answers.push_back(Answer::No);
    tick(*game.window);
    QCOMPARE(game.boxTexts(), (QStringList{"Vuoi veramente lasciarmi  ?",
                                           "Vuoi veramente lasciarmi  ?", "Tempo scaduto"}));
    QVERIFY(!game.c().Timer1->isActive());
}

void TestClock::gameGoesOnAfterTheTime()
{
    // After the time: answers count, the exit button asks, and a better score is saved.
    Game game;
    game.scriptProblem(1, 2, 1, 6);
    QVERIFY(game.start());
    tick(*game.window, 600);
    game.dialogs.answers.push_back(Answer::No);
    tick(*game.window);
    game.answer("2", "3");
    QCOMPARE(game.c().lblScore->text(), "1");
    game.dialogs.answers.push_back(Answer::Yes);
    QTest::mouseClick(game.c().cmdExit, Qt::LeftButton);
    QCOMPARE(readBytes(game.scoreFile()), QByteArray("1\r\n"));
    QCOMPARE(readBytes(game.nameFile()), QByteArray("Luca\r\n"));
    QCOMPARE(game.ender.codes, std::vector<int>{0});
}

void TestClock::realTimerTicks()
{
    // The real timer drives the handler (interval shortened for the test).
    Game game;
    QVERIFY(game.start());
    // A loaded machine may deliver many ticks between two looks: wait for some,
    // stop, then check that label and seconds moved together.
    game.c().Timer1->setInterval(1);
    QTRY_VERIFY(game.window->secondsLeft <= 590);
    game.c().Timer1->stop();
    QCOMPARE(game.c().lblconto->text(), clockTextOfSeconds(game.window->secondsLeft));
}

void TestClock::lateTicksCatchUp_data()
{
    // Each timeout of Timer1, at that many milliseconds after its start.
    QTest::addColumn<QList<int>>("timeouts");
    QTest::addColumn<QString>("label");
    QTest::newRow("on time") << QList<int>{1000, 2000, 3000} << "00:09:57";
    QTest::newRow("a little early") << QList<int>{960, 1950} << "00:09:58";
    QTest::newRow("far too early") << QList<int>{400} << "00:10:00";
    QTest::newRow("late, then on time") << QList<int>{1600, 2000, 3000} << "00:09:57";
    QTest::newRow("a background tab's minute") << QList<int>{60000} << "00:09:00";
    QTest::newRow("to the silent end") << QList<int>{600000} << "00:00:00";
}

void TestClock::lateTicksCatchUp()
{
    // A clock that keeps real time counts every second that has passed, however
    // few timeouts came.
    QFETCH(QList<int>, timeouts);
    QFETCH(QString, label);
    Game game;
    game.keepRealTime();
    QVERIFY(game.start());
    const size_t boxesAtStart = game.dialogs.boxes.size();
    for (int at : timeouts) {
        game.nowMs = at;
        QVERIFY(QMetaObject::invokeMethod(game.c().Timer1, "timeout"));
    }
    QCOMPARE(game.c().lblconto->text(), label);
    QCOMPARE(game.c().lblconto->text(), clockTextOfSeconds(game.window->secondsLeft));
    QCOMPARE(game.dialogs.boxes.size(), boxesAtStart);
}

void TestClock::lateTicksEndTheTimeOnce()
{
    // Eleven minutes in a background tab: the time ends once, as it would have
    // on time, and the ticks past the end are dropped with the stopped clock.
    Game game;
    game.keepRealTime();
    QVERIFY(game.start());
    const size_t boxesAtStart = game.dialogs.boxes.size();
    game.dialogs.answers.push_back(Answer::No);
    game.nowMs = 660000;
    QVERIFY(QMetaObject::invokeMethod(game.c().Timer1, "timeout"));
    QStringList said;
    for (size_t i = boxesAtStart; i < game.dialogs.boxes.size(); ++i)
        said << game.dialogs.boxes[i].text;
    QCOMPARE(said, QStringList({"Vuoi veramente lasciarmi  ?", "Tempo scaduto"}));
    QVERIFY(!game.c().Timer1->isActive());
    QCOMPARE(game.c().lblconto->text(), "00:00:00");
    QVERIFY(!game.ended());
}

void TestClock::titles()
{
    // Long title when shown; the time left, made once, when minimised.
    Game game;
    QVERIFY(game.start());
    QVERIFY(QTest::qWaitForWindowExposed(game.window.get()));
    QCOMPARE(game.window->windowTitle(), kLongTitle);
    tick(*game.window, 2);
    game.window->setWindowState(Qt::WindowMinimized);
    QTRY_COMPARE(game.window->windowTitle(), QString("00:09:58"));
    tick(*game.window, 10);
    QCOMPARE(game.window->windowTitle(), QString("00:09:58"));
    game.window->setWindowState(Qt::WindowNoState);
    QTRY_COMPARE(game.window->windowTitle(), kLongTitle);
    game.window->setWindowState(Qt::WindowMaximized);
    QTRY_COMPARE(game.window->windowTitle(), kLongTitle);
}

QTEST_MAIN(TestClock)
#include "tst_clock.moc"
