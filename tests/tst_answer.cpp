// Typing and judging answers, counting them and praising the right ones.
#include "rules/scoring.h"
#include "support/fakes.h"

#include <QApplication>
#include <QSet>
#include <QTest>

using namespace quorvela;
using namespace quorvela::test;

class TestAnswer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }
    void judging_data();
    void judging();
    void keysInTheNumeratorBox_data();
    void keysInTheNumeratorBox();
    void secondEnterCountsAgain();
    void reAnswerTypedAsAPupilTypes();
    void commandKeyInDenominatorHidesWithoutJudging();
    void wholeFirstFractionBarWhileTyping();
    void countersAfterTenRightAndThreeWrong();
    void countersStopAt32767();
    void everyPraiseAppears();
    void hostileTextIsJudged();
};

// Problems are scripted as drawn: a/b + c/d. What each answer is worth is the
// rules' own test (tst_judging); here, what the handler does with it.
void TestAnswer::judging_data()
{
    QTest::addColumn<QList<int>>("problem");
    QTest::addColumn<QString>("numerator");
    QTest::addColumn<QString>("denominator");
    QTest::addColumn<QString>("message"); // "praise" for any praise
    QTest::addColumn<int>("correct");
    QTest::addColumn<int>("wrong");
    QTest::addColumn<bool>("denominatorShown");
    const QList<int> twoThirds{1, 2, 1, 6}; // 2/3
    const QList<int> three{2, 1, 1, 1};     // 3
    QTest::newRow("2/3 right") << twoThirds << "2"
                               << "3"
                               << "praise" << 1 << 0 << true;
    QTest::newRow("3 over empty is right") << three << "3"
                                           << ""
                                           << "praise" << 1 << 0 << false;
    QTest::newRow("3 over 1 is right") << three << "3"
                                       << "1"
                                       << "praise" << 1 << 0 << false;
    QTest::newRow("6 over 2 is wrong") << three << "6"
                                       << "2"
                                       << "Sbagliato!! 3" << 0 << 1 << true;
    QTest::newRow("both empty judge 1 over 1") << three << ""
                                               << ""
                                               << "Sbagliato!! 3" << 0 << 1 << false;
    QTest::newRow("3/4 judged by its leading 3 but not counted") << three << "3/4"
                                                                 << ""
                                                                 << "" << 0 << 0 << false;
    // Leniently 0 over 6, strictly 5 over 6 in the Italian locale: counted
    // wrong and right, and the praise takes the message's place.
    QTest::newRow("0,5e1 over 6 for 5/6 counts both ways") << QList<int>{1, 2, 1, 3} << "0,5e1"
                                                           << "6"
                                                           << "praise" << 1 << 1 << true;
}

void TestAnswer::judging()
{
    // Empty boxes become "1"; wrong answers show the sum; the window turns black; focus to cmdNext.
    QFETCH(QList<int>, problem);
    QFETCH(QString, numerator);
    QFETCH(QString, denominator);
    QFETCH(QString, message);
    QFETCH(int, correct);
    QFETCH(int, wrong);
    QFETCH(bool, denominatorShown);
    Game game;
    game.scriptProblem(problem[0], problem[1], problem[2], problem[3]);
    QVERIFY(game.start());
    QVERIFY(QTest::qWaitForWindowActive(game.window.get()));
    Controls &c = game.c();
    game.answer(numerator, denominator);

    QCOMPARE(c.txtAnswer->text(), numerator.isEmpty() ? "1" : numerator);
    QCOMPARE(c.Text3->text(), denominator.isEmpty() ? "1" : denominator);
    if (message == "praise")
        QVERIFY(QStringList({"Esatto. Sei eccezionale!!!", "OKKKKKKKKKKKKK!!!",
                             "F A N T A S T I C O!!!", "M I T I C O!!!", "O T T I M O!!!",
                             "SEI UN CAMPIONE!!!", "SEI INSUPERABILE!!!", "E S A T T O!!!"})
                    .contains(c.lblMessage->text()));
    else
        QCOMPARE(c.lblMessage->text(), message);
    QCOMPARE(c.lblScore->text(), QString::number(correct));
    QCOMPARE(c.lblScore1->text(), QString::number(wrong));
    QCOMPARE(c.lblScore2->text(), QString::number(correct + wrong));
    QCOMPARE(c.client->backColor(), QColor(Qt::black));
    QCOMPARE(QApplication::focusWidget(), c.cmdNext);
    QVERIFY(c.cmdNext->isEnabled());
    QCOMPARE(c.Text3->isVisible(), denominatorShown);
    QCOMPARE(c.Line1[4]->isVisible(), denominatorShown);
    QCOMPARE(game.random.draws, 5); // four for the problem, one for the praise
}

void TestAnswer::keysInTheNumeratorBox_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("movesOn");
    QTest::newRow("digit stays") << int(Qt::Key_5) << "5" << false;
    QTest::newRow("slash stays") << int(Qt::Key_Slash) << "/" << false;
    QTest::newRow("plus stays") << int(Qt::Key_Plus) << "+" << false;
    QTest::newRow("blank stays") << int(Qt::Key_Space) << " " << false;
    QTest::newRow("backspace stays") << int(Qt::Key_Backspace) << "" << false;
    QTest::newRow("enter moves on") << int(Qt::Key_Return) << "" << true;
    QTest::newRow("keypad enter moves on") << int(Qt::Key_Enter) << "" << true;
    QTest::newRow("letter moves on and is typed") << int(Qt::Key_A) << "a" << true;
    QTest::newRow("minus moves on and is typed") << int(Qt::Key_Minus) << "-" << true;
    QTest::newRow("arrow does nothing") << int(Qt::Key_Left) << "" << false;
    QTest::newRow("delete does nothing") << int(Qt::Key_Delete) << "" << false;
    QTest::newRow("F2 does nothing") << int(Qt::Key_F2) << "" << false;
}

void TestAnswer::keysInTheNumeratorBox()
{
    // Command keys move the focus to the denominator box; nothing is judged here.
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(bool, movesOn);
    Game game;
    QVERIFY(game.start());
    QVERIFY(QTest::qWaitForWindowActive(game.window.get()));
    Controls &c = game.c();
    c.Text3->hide();
    QTest::keyClick(c.txtAnswer, Qt::Key(key));
    QCOMPARE(c.txtAnswer->text(), text);
    QCOMPARE(QApplication::focusWidget(), movesOn ? c.Text3 : c.txtAnswer);
    QCOMPARE(c.Text3->isVisible(),
             key != Qt::Key_Left && key != Qt::Key_Delete && key != Qt::Key_F2);
    QCOMPARE(c.lblScore2->text(), "0");
    QCOMPARE(c.lblMessage->text(), "");
}

void TestAnswer::secondEnterCountsAgain()
{
    // Every Enter in the denominator box judges and counts the same problem again.
    Game game;
    game.scriptProblem(1, 2, 1, 6);
    QVERIFY(game.start());
    game.answer("2", "3");
    QTest::keyClick(game.c().Text3, Qt::Key_Return);
    QCOMPARE(game.window->correctAnswers, 2);
    QCOMPARE(game.c().lblScore2->text(), "2");
}

void TestAnswer::reAnswerTypedAsAPupilTypes()
{
    // After a wrong answer the pupil clicks after the numerator, corrects it, and
    // Enter takes them to the denominator, where Backspace and digits edit its end.
    Game game;
    game.scriptProblem(1, 2, 1, 6); // 2/3
    QVERIFY(game.start());
    QVERIFY(QTest::qWaitForWindowActive(game.window.get()));
    Controls &c = game.c();
    game.answer("9", "9");
    QCOMPARE(c.lblScore1->text(), "1");
    QTest::mouseClick(c.txtAnswer, Qt::LeftButton, {},
                      QPoint(c.txtAnswer->width() - 4, c.txtAnswer->height() / 2));
    QTRY_VERIFY(c.txtAnswer->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClicks(QApplication::focusWidget(), "2");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), c.Text3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClicks(QApplication::focusWidget(), "3");
    QCOMPARE(c.txtAnswer->text(), "2");
    QCOMPARE(c.Text3->text(), "3");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(c.lblScore->text(), "1");
    QCOMPARE(c.lblScore1->text(), "1");
}

void TestAnswer::commandKeyInDenominatorHidesWithoutJudging()
{
    // A letter typed in Text3 holding "1" hides the box and bar, judging nothing.
    Game game;
    QVERIFY(game.start());
    Controls &c = game.c();
    c.Text3->setText("1");
    QTest::keyClick(c.Text3, Qt::Key_X);
    QVERIFY(c.Text3->isHidden());
    QVERIFY(c.Line1[4]->isHidden());
    QCOMPARE(c.lblScore2->text(), "0");
    QCOMPARE(c.client->backColor(), QColor(0, 0, 255));
    // Any key in the numerator box shows it again.
    QTest::keyClick(c.txtAnswer, Qt::Key_4);
    QVERIFY(c.Text3->isVisibleTo(game.window.get()));
}

void TestAnswer::wholeFirstFractionBarWhileTyping()
{
    // The first fraction's bar shows while typing in Text3, and Enter hides it when Text2 is 1.
    Game game;
    game.scriptProblem(3, 1, 1, 2);
    QVERIFY(game.start());
    Controls &c = game.c();
    QVERIFY(c.Line1[0]->isHidden());
    QTest::keyClick(c.Text3, Qt::Key_2);
    QVERIFY(c.Line1[0]->isVisibleTo(game.window.get()));
    QTest::keyClick(c.Text3, Qt::Key_Return);
    QVERIFY(c.Line1[0]->isHidden());
    // Text2 edited into no number keeps the bar.
    c.Text2->setText("x");
    QTest::keyClick(c.Text3, Qt::Key_Return);
    QVERIFY(c.Line1[0]->isVisibleTo(game.window.get()));
}

void TestAnswer::countersAfterTenRightAndThreeWrong()
{
    Game game;
    game.scriptProblem(1, 2, 1, 6);
    QVERIFY(game.start());
    game.answer("2", "3");
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(game.c().Text3, Qt::Key_Return);
    game.c().Text3->setText("4");
    QTest::keyClick(game.c().Text3, Qt::Key_Return);
    QTest::keyClick(game.c().Text3, Qt::Key_Return);
    QTest::keyClick(game.c().Text3, Qt::Key_Return);
    QCOMPARE(game.c().lblScore->text(), "10");
    QCOMPARE(game.c().lblScore1->text(), "3");
    QCOMPARE(game.c().lblScore2->text(), "13");
}

void TestAnswer::countersStopAt32767()
{
    // No counter and no total passes 32767: answers beyond are judged but not counted.
    Game game;
    game.scriptProblem(1, 2, 1, 6);
    QVERIFY(game.start());
    game.window->correctAnswers = 32760;
    game.window->wrongAnswers = 5;
    game.answer("2", "3");
    QCOMPARE(game.c().lblScore2->text(), "32766");
    QTest::keyClick(game.c().Text3, Qt::Key_Return);
    QTest::keyClick(game.c().Text3, Qt::Key_Return);
    game.c().Text3->setText("7");
    QTest::keyClick(game.c().Text3, Qt::Key_Return);
    QCOMPARE(game.c().lblScore->text(), "32762");
    QCOMPARE(game.c().lblScore1->text(), "5");
    QCOMPARE(game.c().lblScore2->text(), "32767");
    QCOMPARE(game.c().lblMessage->text(), "Sbagliato!! 2 / 3");
    QCOMPARE(countedUp(32767, 32767), 32767);
}

void TestAnswer::everyPraiseAppears()
{
    // With the real generator, each of the eight praises shows and nothing else does.
    ClockSeededRandom real;
    FakeDialogs dialogs;
    FakeEnder ender;
    QTemporaryDir folder;
    dialogs.names.push_back("Eva");
    StoreKeeper record;
    Tavola window({dialogs, real, ender, record, [&] { return folder.path(); }});
    QVERIFY(window.Show());
    Controls &c = *window.controls();
    QSet<QString> seen;
    for (int i = 0; i < 400; ++i) {
        c.txtAnswer->setText(QString::number(window.resultNum));
        c.Text3->setText(QString::number(window.resultDen));
        QTest::keyClick(c.Text3, Qt::Key_Return);
        seen.insert(c.lblMessage->text());
        QTest::mouseClick(c.cmdNext, Qt::LeftButton);
    }
    QCOMPARE(seen.size(), 8);
    for (int n = 1; n <= 8; ++n)
        QVERIFY(seen.contains(praise(n)));
    QCOMPARE(window.correctAnswers, 400);
}

void TestAnswer::hostileTextIsJudged()
{
    // Any text in the boxes is judged without a crash, as a wrong or uncounted answer.
    Game game;
    game.scriptProblem(1, 2, 1, 6);
    QVERIFY(game.start());
    Controls &c = game.c();
    const QStringList texts = {"1e999",           "-0", "   ", "٣", "\xF0\x9F\x98\x80",
                               QString(15, u'9'), "2,"};
    for (const QString &text : texts) {
        c.txtAnswer->setText(text);
        c.Text3->setText(text);
        QTest::keyClick(c.Text3, Qt::Key_Return);
    }
    QCOMPARE(game.window->correctAnswers, 0);
    QVERIFY(game.window->wrongAnswers >= 1);
    QVERIFY(!game.ended());
}

QTEST_MAIN(TestAnswer)
#include "tst_answer.moc"
