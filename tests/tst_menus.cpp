// The menu bar, the help message and a new competition.
#include "support/fakes.h"

#include <QApplication>
#include <QMenuBar>
#include <QPointer>
#include <QScopeGuard>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

using namespace quorvela;
using namespace quorvela::test;

namespace {

struct Snapshot {
    QStringList texts;
    QWidget *focus = nullptr;
    bool operator==(const Snapshot &) const = default;
};

Snapshot snapshot(Game &game)
{
    Snapshot s;
    for (auto *label : game.window->findChildren<QLabel *>())
        s.texts << label->objectName() + "=" + label->text();
    for (auto *box : game.window->findChildren<QLineEdit *>())
        s.texts << box->objectName() + "=" + box->text();
    s.focus = game.window->focusWidget();
    return s;
}

} // namespace

class TestMenus : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }
    void menuTree();
    void informationItemsChangeNothing();
    void help_data();
    void help();
    void newCompetitionNo();
    void newCompetitionYes();
    void newCompetitionAfterTheTime();
    void reloadsLeaveNothingBehind();
    void f10OpensTheMenus();
    void allSixMenusFitTheBar_data();
    void allSixMenusFitTheBar();
};

void TestMenus::menuTree()
{
    // Six top-level items in order, with their drop-downs, captions byte for byte.
    Game game;
    QVERIFY(game.start());
    const QList<QAction *> top = game.window->menuBar()->actions();
    QStringList names;
    for (QAction *action : top)
        names << action->objectName();
    QCOMPARE(names, (QStringList{"Ciao", "Next", "HELP", "web", "crit", "contatti"}));
    QCOMPARE(top[1]->text(), "Nuova gara");
    QCOMPARE(top[2]->text(), "Aiuto");
    QCOMPARE(top[4]->text(), "Alcuni criteri di divisibilità ");
    QVERIFY(top[5]->text().endsWith(' '));
    QVERIFY(!top[1]->menu() && !top[2]->menu());
    const QStringList criteria = {
        "Un numero è disivibile per 2 se è pari ossia se l'ultima cifra (quella del'unità) è "
        "0,2,4,6,8",
        "Un numero è divisibile per 3 se la somma delle sue cifre è un multiplo di 3 es 126: sì "
        "1+2+6 = 9",
        "Un numero è divisibile per 4 se lo è il numero formato dalle ultime due cifre ",
        "Un numero è divisibile per 5 se termina con 0 oppure 5",
        "Un numero è divisibile per 6 se è divisibile sia per 2 che per 3. Es. 912 Sì  poiché è "
        "divisibile sia per 2 che per 3",
    };
    QStringList shown, itemNames;
    for (QAction *item : top[4]->menu()->actions())
        shown << item->text(), itemNames << item->objectName();
    QCOMPARE(shown, criteria);
    QCOMPARE(itemNames, (QStringList{"due", "tre", "quattro", "cinq", "sei"}));
    QCOMPARE(top[5]->menu()->actions().at(0)->text(),
             " Per segnalare eventuali errori  o suggerimenti");
    QCOMPARE(top[5]->menu()->actions().at(0)->objectName(), "segn");
    QCOMPARE(top[0]->menu()->actions().at(0)->objectName(), "Tmer");
    for (QAction *action : game.window->menuBar()->findChildren<QAction *>()) {
        QVERIFY(action->shortcut().isEmpty());
        QVERIFY(!action->isCheckable());
        QVERIFY(action->isEnabled());
    }
}

void TestMenus::informationItemsChangeNothing()
{
    Game game;
    QVERIFY(game.start());
    QVERIFY(QTest::qWaitForWindowActive(game.window.get()));
    const Snapshot before = snapshot(game);
    for (const char *name : {"Tmer", "scuola", "due", "tre", "quattro", "cinq", "sei", "segn"}) {
        auto *item = game.window->findChild<QAction *>(name);
        QVERIFY2(item, name);
        item->trigger();
    }
    QCoreApplication::processEvents();
    QVERIFY(snapshot(game) == before);
    QCOMPARE(game.dialogs.boxes.size(), size_t(7));
}

void TestMenus::help_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("Luca") << "Luca";
    QTest::newRow("empty name") << "";
}

void TestMenus::help()
{
    // The name, the worked example, "Ciao", in one OK box titled Quorvela; nothing changes.
    QFETCH(QString, name);
    Game game(name);
    QVERIFY(game.start());
    const Snapshot before = snapshot(game);
    for (int i = 0; i < 2; ++i)
        game.window->findChild<QAction *>("HELP")->trigger();
    const MessageBox &box = game.dialogs.boxes.back();
    QCOMPARE(
        box.text,
        name +
            " Devi risolvere così: es 4/15 + 2/5 = 4/15 + 6/15= 10/15 poi semplicando 2/3  Ciao");
    QCOMPARE(box.title, "Quorvela");
    QCOMPARE(box.buttons, Buttons::Ok);
    QCOMPARE(box.icon, Icon::None);
    QCOMPARE(game.dialogs.boxes.size(), size_t(9));
    QVERIFY(snapshot(game) == before);
}

void TestMenus::newCompetitionNo()
{
    // No changes nothing, and the clock goes on.
    Game game;
    QVERIFY(game.start());
    game.answer("9", "9");
    const Snapshot before = snapshot(game);
    game.window->findChild<QAction *>("Next")->trigger();
    QTRY_COMPARE(game.dialogs.boxes.size(), size_t(8));
    const MessageBox &question = game.dialogs.boxes.back();
    QCOMPARE(question.text, "INIZIAMO UNA NUOVA GARA  ?");
    QCOMPARE(question.title, "INIZIARE NUOVA GARA");
    QCOMPARE(question.buttons, Buttons::YesNo);
    QCOMPARE(question.icon, Icon::Question);
    QCOMPARE(question.defaultButton, Answer::No);
    QVERIFY(snapshot(game) == before);
    QVERIFY(game.c().Timer1->isActive());
}

void TestMenus::newCompetitionYes()
{
    // Yes: everything afresh, name asked again, abandoned score never saved.
    Game game;
    game.scriptProblem(1, 2, 1, 6);
    QVERIFY(game.start());
    game.answer("2", "3");
    QTest::keyClick(game.c().Text3, Qt::Key_Return);
    game.window->dispatch([&] { game.window->Timer1_Timer(); });
    QPointer<QWidget> oldClient = game.c().client;
    game.dialogs.answers.push_back(Answer::Yes);
    game.dialogs.names.push_back("Marta");
    game.window->findChild<QAction *>("Next")->trigger();
    QTRY_VERIFY(oldClient.isNull() && game.window->isVisible());
    Controls &c = game.c();
    QCOMPARE(game.dialogs.prompts.size(), 2);
    QCOMPARE(game.dialogs.boxes.size(), size_t(7 + 1 + 7));
    QCOMPARE(c.lblnome1->text(), "Marta");
    QCOMPARE(c.lblconto->text(), "00:10:00");
    QCOMPARE(game.window->secondsLeft, 600);
    for (Label *counter : {c.lblScore, c.lblScore1, c.lblScore2})
        QCOMPARE(counter->text(), "0");
    QCOMPARE(c.client->backColor(), QColor(0, 0, 255));
    QCOMPARE(readBytes(game.scoreFile()), QByteArray());
    QCOMPARE(game.window->focusWidget(), c.txtAnswer);
    QCOMPARE(game.window->windowTitle().trimmed(), "Quorvela anche con diverso denominatore");
    // A later record is saved under the new name.
    game.dialogs.answers.push_back(Answer::Yes);
    c.txtAnswer->setText(QString::number(game.window->resultNum));
    c.Text3->setText(QString::number(game.window->resultDen));
    QTest::keyClick(c.Text3, Qt::Key_Return);
    QTest::mouseClick(c.cmdExit, Qt::LeftButton);
    QCOMPARE(readBytes(game.scoreFile()), QByteArray("1\r\n"));
    QCOMPARE(readBytes(game.nameFile()), QByteArray("Marta\r\n"));
}

void TestMenus::newCompetitionAfterTheTime()
{
    // After the time is over, a new competition has a fresh running clock.
    Game game;
    QVERIFY(game.start());
    for (int i = 0; i < 601; ++i)
        game.window->dispatch([&] { game.window->Timer1_Timer(); });
    QVERIFY(!game.c().Timer1->isActive());
    game.dialogs.answers.push_back(Answer::Yes);
    game.window->findChild<QAction *>("Next")->trigger();
    QTRY_VERIFY(game.window->isVisible() && game.c().Timer1->isActive());
    QCOMPARE(game.c().lblconto->text(), "00:10:00");
}

void TestMenus::reloadsLeaveNothingBehind()
{
    // Many reloads: the same number of objects, one timer, no old tick.
    Game game;
    QVERIFY(game.start());
    auto census = [&] {
        QStringList names;
        for (QObject *o : game.window->findChildren<QObject *>())
            names << QString::fromLatin1(o->metaObject()->className()) + ":" + o->objectName();
        names.sort();
        return names;
    };
    QStringList first;
    for (int i = 0; i < 20; ++i) {
        if (i == 1)
            first = census();
        game.dialogs.answers.push_back(Answer::Yes);
        game.window->findChild<QAction *>("Next")->trigger();
        QTRY_COMPARE(game.dialogs.answers.size(), size_t(0));
        QTRY_VERIFY(game.window->isVisible());
    }
    QCOMPARE(census(), first);
    QCOMPARE(game.window->findChildren<QTimer *>("Timer1").size(), 1);
    QCOMPARE(game.window->findChildren<QMenuBar *>().size(), 1);
}

void TestMenus::f10OpensTheMenus()
{
    Game game;
    QVERIFY(game.start());
    QVERIFY(QTest::qWaitForWindowActive(game.window.get()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
    QTRY_COMPARE(game.window->menuBar()->activeAction(), game.window->menuBar()->actions().at(0));
    // Each menu said for a page around the game as the keys reach it.
    QTest::keyClick(game.window->menuBar(), Qt::Key_Right);
    QTRY_COMPARE(game.announced.last(), "Nuova gara");
    QTest::keyClick(game.window->menuBar(), Qt::Key_Escape);
}

void TestMenus::allSixMenusFitTheBar_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<int>("points"); // the desktop's font size; 0: as it is
    QTest::newRow("Fusion") << "Fusion" << 0;
    QTest::newRow("Windows") << "Windows" << 0;
    QTest::newRow("Fusion, desktop font of 14 points") << "Fusion" << 14;
}

void TestMenus::allSixMenusFitTheBar()
{
    // No menu is pushed behind the bar's overflow button, whatever the widget style.
    QFETCH(QString, style);
    QFETCH(int, points);
    const QString before = QApplication::style()->name();
    const QFont desktopFont = QApplication::font();
    QApplication::setStyle(QStyleFactory::create(style));
    if (points > 0) {
        QFont font = desktopFont;
        font.setPointSize(points);
        QApplication::setFont(font);
    }
    const auto restore = qScopeGuard([&] {
        QApplication::setStyle(QStyleFactory::create(before));
        QApplication::setFont(desktopFont);
    });
    Game game;
    QVERIFY(game.start());
    QMenuBar *bar = game.window->menuBar();
    int right = 0;
    for (QAction *menu : bar->actions()) {
        const QRect place = bar->actionGeometry(menu);
        QVERIFY2(place.isValid(), qPrintable(menu->text()));
        right = std::max(right, place.right());
    }
    qInfo("menus end at %d of %d pixels (%s)", right, bar->width(),
          qPrintable(bar->font().family()));
    QVERIFY(right < bar->width());
    const auto *overflow = bar->findChild<QWidget *>(QStringLiteral("qt_menubar_ext_button"));
    QVERIFY(!overflow || overflow->isHidden());
}

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
