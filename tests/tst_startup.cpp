// Start-up, the window's controls, and the drawing of problems.
#include "support/fakes.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <cmath>

using namespace quorvela;
using namespace quorvela::test;

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void startupDialogs_data();
    void startupDialogs();
    void stateAfterStartup();
    void layout_data();
    void layout();
    void tabOrderAndHiddenBoxes();
    void problems_data();
    void problems();
    void drawsJustBelowOneStayInRange();
    void wholeFractionHiddenThenShownAgain();
    void everyProblemResetsTheAnswer();
    void gradient();
};

void TestStartup::cleanup()
{
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestStartup::startupDialogs_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain name") << "Luca";
    QTest::newRow("empty name") << "";
    QTest::newRow("blanks kept") << "  Anna ";
    QTest::newRow("accented") << "Niccolò";
}

void TestStartup::startupDialogs()
{
    // The name box and seven OK boxes, in order, titled Quorvela, before the window shows.
    QFETCH(QString, name);
    Game game(name);
    bool visibleDuringDialogs = false;
    bool timerRunningDuringDialogs = false;
    game.dialogs.whileOpen = [&](const MessageBox &) {
        visibleDuringDialogs |= game.window->isVisible();
        timerRunningDuringDialogs |= game.c().Timer1->isActive();
    };
    QVERIFY(game.start());
    QCOMPARE(game.dialogs.prompts, QStringList{"Come ti chiami?|Quorvela"});
    const QStringList expected = {
        " " + name + " vediamo se sei un vero campione  ",
        "Premi il tasto invio (Return) dopo aver scritto il numeratore",
        "ed ancora invio dopo aver inserito il denominatore",
        "Ricordati di semplificare la frazione inserita",
        "Se devi correggere il numeratore puoi spostarti con il mouse",
        "Puoi anche cancellare e scrivere le frazioni equivalenti",
        "   Buona fortuna " + name,
    };
    QCOMPARE(game.boxTexts(), expected);
    for (const MessageBox &box : game.dialogs.boxes) {
        QCOMPARE(box.title, "Quorvela");
        QCOMPARE(box.buttons, Buttons::Ok);
        QCOMPARE(box.icon, Icon::None);
    }
    QVERIFY(!visibleDuringDialogs);
    QVERIFY(!timerRunningDuringDialogs);
    QCOMPARE(game.c().lblnome1->text(), name);
}

void TestStartup::stateAfterStartup()
{
    // Clock at 00:10:00 and running, counters 0, empty record, focus on the numerator.
    Game game;
    QVERIFY(game.start());
    QVERIFY(QTest::qWaitForWindowExposed(game.window.get()));
    Controls &c = game.c();
    QCOMPARE(c.lblconto->text(), "00:10:00");
    QVERIFY(c.Timer1->isActive());
    QCOMPARE(c.Timer1->interval(), 1000);
    QCOMPARE(game.window->secondsLeft, 600);
    QCOMPARE(game.window->correctAnswers, 0);
    QCOMPARE(game.window->wrongAnswers, 0);
    for (Label *counter : {c.lblScore, c.lblScore1, c.lblScore2})
        QCOMPARE(counter->text(), "0");
    QCOMPARE(c.lblMessage->text(), "");
    QCOMPARE(c.lblpunti->text(), "");
    QCOMPARE(c.lblnome->text(), "");
    QCOMPARE(readBytes(game.scoreFile()), QByteArray());
    QCOMPARE(readBytes(game.nameFile()), QByteArray());
    QCOMPARE(game.window->focusWidget(), c.txtAnswer);
    QVERIFY(c.txtAnswer->isEnabled());
    QVERIFY(!c.cmdNext->isEnabled());
    QCOMPARE(game.window->windowTitle(),
             QString(55, u' ') + "Quorvela anche con diverso denominatore");
    QCOMPARE(game.window->centralWidget()->size(), QSize(729, 516));
}

void TestStartup::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("topLeft");
    QTest::addColumn<QSize>("size"); // empty: the control fits its text
    QTest::newRow("Text1") << "Text1" << QPoint(32, 8) << QSize(97, 57);
    QTest::newRow("Text2") << "Text2" << QPoint(32, 80) << QSize(97, 57);
    QTest::newRow("Label2") << "Label2" << QPoint(192, 32) << QSize(57, 89);
    QTest::newRow("Text5") << "Text5" << QPoint(288, 8) << QSize(97, 57);
    QTest::newRow("Text6") << "Text6" << QPoint(288, 80) << QSize(97, 57);
    QTest::newRow("Label4") << "Label4" << QPoint(456, 32) << QSize(41, 65);
    QTest::newRow("txtAnswer") << "txtAnswer" << QPoint(576, 8) << QSize(121, 80);
    QTest::newRow("Text3") << "Text3" << QPoint(576, 120) << QSize(121, 80);
    QTest::newRow("Label11") << "Label11" << QPoint(16, 152) << QSize(161, 25);
    QTest::newRow("lblconto") << "lblconto" << QPoint(40, 184) << QSize(105, 33);
    QTest::newRow("lblMessage") << "lblMessage" << QPoint(136, 160) << QSize(441, 41);
    QTest::newRow("Label6") << "Label6" << QPoint(16, 224) << QSize();
    QTest::newRow("lblScore") << "lblScore" << QPoint(72, 272) << QSize();
    QTest::newRow("Label1") << "Label1" << QPoint(256, 224) << QSize();
    QTest::newRow("lblScore1") << "lblScore1" << QPoint(322, 272) << QSize();
    QTest::newRow("Label3") << "Label3" << QPoint(496, 224) << QSize();
    QTest::newRow("lblScore2") << "lblScore2" << QPoint(554, 272) << QSize();
    QTest::newRow("cmdNext") << "cmdNext" << QPoint(288, 336) << QSize(121, 73);
    QTest::newRow("cmdExit") << "cmdExit" << QPoint(512, 336) << QSize(121, 73);
    QTest::newRow("Label14") << "Label14" << QPoint(32, 360) << QSize();
    QTest::newRow("lblnome1") << "lblnome1" << QPoint(32, 432) << QSize();
    QTest::newRow("Label12") << "Label12" << QPoint(8, 480) << QSize(153, 25);
    QTest::newRow("lblnome") << "lblnome" << QPoint(168, 480) << QSize(369, 33);
    QTest::newRow("Label13") << "Label13" << QPoint(552, 480) << QSize();
    QTest::newRow("lblpunti") << "lblpunti" << QPoint(664, 472) << QSize();
}

void TestStartup::layout()
{
    // Each control at its place; fixed sizes where the control does not fit its text.
    QFETCH(QString, name);
    QFETCH(QPoint, topLeft);
    QFETCH(QSize, size);
    Game game;
    QVERIFY(game.start());
    auto *control = game.window->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry().topLeft(), topLeft);
    if (!size.isEmpty())
        QCOMPARE(control->size(), size);
    QVERIFY(control->isVisible());
}

void TestStartup::tabOrderAndHiddenBoxes()
{
    // Tab walks cmdExit, cmdNext, txtAnswer, Text1, Text2, Text5, Text6, Text3; Text9/10 never
    // show.
    Game game;
    QVERIFY(game.start());
    Controls &c = game.c();
    QList<QWidget *> chain;
    QWidget *w = c.cmdExit;
    for (int i = 0; i < 8; ++i, w = w->nextInFocusChain()) {
        while (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(game.window.get()))
            w = w->nextInFocusChain();
        chain << w;
    }
    const QList<QWidget *> expected = {c.cmdExit, c.cmdNext, c.txtAnswer, c.Text1,
                                       c.Text2,   c.Text5,   c.Text6,     c.Text3};
    QCOMPARE(chain, expected);
    QVERIFY(c.Text9->isHidden());
    QVERIFY(c.Text10->isHidden());
    QCOMPARE(game.window->findChildren<LineControl *>("Line1").size(), 3);
}

void TestStartup::problems_data()
{
    QTest::addColumn<QList<int>>("drawn");
    QTest::addColumn<QStringList>("shown"); // Text1, Text2, Text5, Text6
    QTest::addColumn<int>("num");
    QTest::addColumn<int>("den");
    QTest::newRow("7/4 + 2/3") << QList<int>{7, 4, 2, 3} << QStringList{"7", "4", "2", "3"} << 29
                               << 12;
    QTest::newRow("7 over 2 becomes 7 over 9")
        << QList<int>{1, 1, 7, 2} << QStringList{"1", "1", "7", "9"} << 16 << 9;
    QTest::newRow("5 over 5 stays")
        << QList<int>{1, 2, 5, 5} << QStringList{"1", "2", "5", "5"} << 3 << 2;
    QTest::newRow("1/2 + 1/2 is 1")
        << QList<int>{1, 2, 1, 2} << QStringList{"1", "2", "1", "2"} << 1 << 1;
    QTest::newRow("1/2 + 1/6 is 2/3")
        << QList<int>{1, 2, 1, 6} << QStringList{"1", "2", "1", "6"} << 2 << 3;
    QTest::newRow("8/5 + 8/8") << QList<int>{8, 5, 8, 8} << QStringList{"8", "5", "8", "8"} << 13
                               << 5;
}

void TestStartup::problems()
{
    // The four draws, the adjustment, and the sum in lowest terms in both places.
    QFETCH(QList<int>, drawn);
    QFETCH(QStringList, shown);
    QFETCH(int, num);
    QFETCH(int, den);
    Game game;
    game.scriptProblem(drawn[0], drawn[1], drawn[2], drawn[3]);
    QVERIFY(game.start());
    Controls &c = game.c();
    QCOMPARE((QStringList{c.Text1->text(), c.Text2->text(), c.Text5->text(), c.Text6->text()}),
             shown);
    QCOMPARE(game.window->resultNum, num);
    QCOMPARE(game.window->resultDen, den);
    QCOMPARE(c.Text9->text(), QString::number(num));
    QCOMPARE(c.Text10->text(), QString::number(den));
    QCOMPARE(game.random.draws, 4);
    QCOMPARE(game.random.reseeds, 2);
}

void TestStartup::drawsJustBelowOneStayInRange()
{
    // The largest float below 1 draws 8, 5, 8 and 8: never 9 or 6.
    Game game;
    const float below1 = std::nextafter(1.0f, 0.0f);
    game.random.values = {below1, below1, below1, below1};
    QVERIFY(game.start());
    Controls &c = game.c();
    QCOMPARE((QStringList{c.Text1->text(), c.Text2->text(), c.Text5->text(), c.Text6->text()}),
             (QStringList{"8", "5", "8", "8"}));
    QCOMPARE(game.window->resultNum, 13);
    QCOMPARE(game.window->resultDen, 5);
}

void TestStartup::wholeFractionHiddenThenShownAgain()
{
    // 3 over 1 shows as 3; the next problem shows the box and bar again.
    Game game;
    game.scriptProblem(3, 1, 1, 1);
    game.random.values.push_back(0.1f); // the praise draw of the answer
    game.scriptProblem(1, 2, 1, 3);
    QVERIFY(game.start());
    Controls &c = game.c();
    QVERIFY(c.Text2->isHidden() && c.Line1[0]->isHidden());
    QVERIFY(c.Text6->isHidden() && c.Line1[1]->isHidden());
    QCOMPARE(game.window->resultNum, 4);
    QCOMPARE(game.window->resultDen, 1);
    game.answer("4", "");
    QTest::mouseClick(c.cmdNext, Qt::LeftButton);
    QVERIFY(c.Text2->isVisible() && c.Line1[0]->isVisible());
    QVERIFY(c.Text6->isVisible() && c.Line1[1]->isVisible());
    QCOMPARE(c.Text1->text() + "/" + c.Text2->text(), "1/2");
}

void TestStartup::everyProblemResetsTheAnswer()
{
    // After a new problem: boxes and message empty, numerator enabled, button disabled.
    Game game;
    QVERIFY(game.start());
    Controls &c = game.c();
    game.answer("9", "9");
    QVERIFY(!c.lblMessage->text().isEmpty());
    QVERIFY(c.cmdNext->isEnabled());
    QTest::mouseClick(c.cmdNext, Qt::LeftButton);
    QCOMPARE(c.txtAnswer->text(), "");
    QCOMPARE(c.Text3->text(), "");
    QCOMPARE(c.lblMessage->text(), "");
    QVERIFY(c.txtAnswer->isEnabled());
    QVERIFY(!c.cmdNext->isEnabled());
}

void TestStartup::gradient()
{
    // Stripes of red resultNum + 100, green resultDen x 20 (at most 255), blue rising by band.
    Game game;
    game.scriptProblem(7, 4, 2, 3); // 29/12: red 129, green 240
    QVERIFY(game.start());
    QVERIFY(QTest::qWaitForWindowExposed(game.window.get()));
    QWidget *client = game.window->centralWidget();
    const QImage shot = client->grab().toImage();
    const qreal unit = client->height() / 512.0;
    for (int band : {0, 10, 100, 170}) {
        const int row = qRound((band * 3 + 1) * unit);
        const QColor colour = shot.pixelColor(720, row);
        QCOMPARE(colour, QColor(129, 240, band));
    }
    // A judged answer turns the window black and the stripes are gone.
    game.answer("1", "1");
    const QImage black = client->grab().toImage();
    QCOMPARE(black.pixelColor(720, 300), QColor(Qt::black));
    QCOMPARE(black.pixelColor(720, 10), QColor(Qt::black));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
