// What a screen reader gets from the window, and the keyboard way into the menus.
#include "rules/scoring.h"
#include "support/fakes.h"
#include "ui/spoken.h"

#include <QAccessible>
#include <QApplication>
#include <QMenuBar>
#include <QStyleHints>
#include <QTest>

using namespace quorvela;
using namespace quorvela::test;

namespace {

// Every interface under root, depth first, as a reader walks the tree.
void walk(QAccessibleInterface *root, QList<QAccessibleInterface *> &out)
{
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface *child = root->child(i);
        if (!child)
            continue;
        out << child;
        walk(child, out);
    }
}

QAccessibleInterface *of(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }
    void spoken_data();
    void spoken();
    void treeExposesWhatIsSeen();
    void namesRolesDescriptions_data();
    void namesRolesDescriptions();
    void problemReadAsASum();
    void spokenVerdicts_data();
    void spokenVerdicts();
    void verdictSaidWhereTheFocusGoes();
};

void TestAccessibility::spoken_data()
{
    QTest::addColumn<QList<int>>("problem");
    QTest::addColumn<QString>("words");
    QTest::newRow("seven quarters plus two thirds")
        << QList<int>{7, 4, 2, 3} << "sette quarti più due terzi";
    QTest::newRow("one half, singular") << QList<int>{1, 2, 3, 5} << "un mezzo più tre quinti";
    QTest::newRow("whole number alone") << QList<int>{3, 1, 5, 5} << "tre più cinque quinti";
    QTest::newRow("tenths") << QList<int>{8, 3, 8, 10} << "otto terzi più otto decimi";
    QTest::newRow("beyond the draws") << QList<int>{12, 11, 1, 8} << "12 fratto 11 più un ottavo";
}

void TestAccessibility::spoken()
{
    QFETCH(QList<int>, problem);
    QFETCH(QString, words);
    QCOMPARE(spokenSum(problem[0], problem[1], problem[2], problem[3]), words);
}

void TestAccessibility::treeExposesWhatIsSeen()
{
    // The stores of the sum never appear; labels' names are their visible texts.
    Game game;
    QVERIFY(game.start());
    QList<QAccessibleInterface *> all;
    walk(of(game.window.get()), all);
    QList<QObject *> objects;
    for (QAccessibleInterface *i : all)
        objects << i->object();
    Controls &c = game.c();
    QVERIFY(!objects.contains(c.Text9));
    QVERIFY(!objects.contains(c.Text10));
    for (QObject *shown : {static_cast<QObject *>(c.Text1), static_cast<QObject *>(c.txtAnswer),
                           static_cast<QObject *>(c.lblScore), static_cast<QObject *>(c.lblconto),
                           static_cast<QObject *>(c.cmdExit), static_cast<QObject *>(c.lblpunti)})
        QVERIFY2(objects.contains(shown), qPrintable(shown->objectName()));
    for (Label *label : game.window->findChildren<Label *>())
        QCOMPARE(of(label)->text(QAccessible::Name), label->text());
    // Still so after the texts change.
    game.answer("9", "9");
    QCOMPARE(of(c.lblMessage)->text(QAccessible::Name), c.lblMessage->text());
    QVERIFY(of(c.lblMessage)->text(QAccessible::Name).startsWith("Sbagliato!! "));
}

void TestAccessibility::namesRolesDescriptions_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name"); // empty: the visible text
    QTest::addColumn<QString>("description");
    QTest::newRow("txtAnswer") << "txtAnswer" << int(QAccessible::EditableText)
                               << "numeratore del risultato"
                               << "";
    QTest::newRow("Text3") << "Text3" << int(QAccessible::EditableText)
                           << "denominatore del risultato"
                           << "";
    QTest::newRow("Text2") << "Text2" << int(QAccessible::EditableText)
                           << "denominatore della prima frazione"
                           << "";
    QTest::newRow("Text6") << "Text6" << int(QAccessible::EditableText)
                           << "denominatore della seconda frazione"
                           << "";
    QTest::newRow("lblScore") << "lblScore" << int(QAccessible::StaticText) << ""
                              << "Risposte esatte";
    QTest::newRow("lblScore1") << "lblScore1" << int(QAccessible::StaticText) << ""
                               << "Risposte errate";
    QTest::newRow("lblScore2") << "lblScore2" << int(QAccessible::StaticText) << ""
                               << "Risposte totali";
    QTest::newRow("lblconto") << "lblconto" << int(QAccessible::StaticText) << ""
                              << "Tempo restante";
    QTest::newRow("lblnome") << "lblnome" << int(QAccessible::StaticText) << ""
                             << "Chi detiene il record";
    QTest::newRow("cmdNext") << "cmdNext" << int(QAccessible::Button) << "Nuovo calcolo"
                             << "";
    QTest::newRow("cmdExit") << "cmdExit" << int(QAccessible::Button) << "Esci dal gioco"
                             << "";
}

void TestAccessibility::namesRolesDescriptions()
{
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QString, description);
    Game game;
    QVERIFY(game.start());
    auto *widget = game.window->findChild<QWidget *>(control);
    QVERIFY(widget);
    QAccessibleInterface *iface = of(widget);
    QCOMPARE(int(iface->role()), role);
    if (!name.isEmpty())
        QCOMPARE(iface->text(QAccessible::Name), name);
    if (!description.isEmpty())
        QCOMPARE(iface->text(QAccessible::Description), description);
}

void TestAccessibility::problemReadAsASum()
{
    // The first box describes the whole problem, as drawn, and follows every new
    // one; a page around the game is told each problem and each verdict.
    Game game;
    game.scriptProblem(7, 4, 2, 3);
    game.random.values.push_back(0.1f);
    game.scriptProblem(3, 1, 7, 2); // 7 over 2 becomes 7 over 9
    QVERIFY(game.start());
    QCOMPARE(of(game.c().Text1)->text(QAccessible::Description), "sette quarti più due terzi");
    QCOMPARE(game.announced, QStringList{"sette quarti più due terzi"});
    game.answer("29", "12");
    QTest::mouseClick(game.c().cmdNext, Qt::LeftButton);
    QCOMPARE(of(game.c().Text1)->text(QAccessible::Description), "tre più sette noni");
    QCOMPARE(game.announced,
             QStringList({"sette quarti più due terzi",
                          "Esatto. sei eccezionale! Risposte esatte 1, errate 0, totali 1.",
                          "tre più sette noni"}));
}

void TestAccessibility::spokenVerdicts_data()
{
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("expected");
    QTest::newRow("wrong, a fraction")
        << quorvela::spokenWrong(7, 4) << "Sbagliato! Il risultato è sette quarti.";
    QTest::newRow("wrong, one half")
        << quorvela::spokenWrong(1, 2) << "Sbagliato! Il risultato è un mezzo.";
    QTest::newRow("wrong, a whole number")
        << quorvela::spokenWrong(3, 1) << "Sbagliato! Il risultato è tre.";
    QTest::newRow("wrong, beyond ten")
        << quorvela::spokenWrong(71, 40) << "Sbagliato! Il risultato è 71 fratto 40.";
}

void TestAccessibility::spokenVerdicts()
{
    // A verdict in words a synthesiser pronounces as words.
    QFETCH(QString, said);
    QFETCH(QString, expected);
    QCOMPARE(said, expected);
}

void TestAccessibility::verdictSaidWhereTheFocusGoes()
{
    // The numerator box describes the problem, "Nuovo calcolo" the verdict and the
    // counters, ahead of their tooltips, which stay as they are.
    Game game;
    game.scriptProblem(1, 2, 1, 6);     // one half plus one sixth makes two thirds
    game.random.values.push_back(0.4f); // the fourth praise: "M I T I C O!!!"
    game.scriptProblem(1, 2, 1, 6);
    QVERIFY(game.start());
    Controls &c = game.c();
    const QString box = QStringLiteral("Inserisci il risultato e  premi il tasto  Invio");
    QCOMPARE(c.txtAnswer->toolTip(), box);
    QCOMPARE(of(c.txtAnswer)->text(QAccessible::Description), "un mezzo più un sesto. " + box);
    game.answer("2", "3");
    QCOMPARE(c.lblMessage->text(), praise(4));
    QCOMPARE(of(c.cmdNext)->text(QAccessible::Description),
             "Mitico! Risposte esatte 1, errate 0, totali 1. Go");
    QCOMPARE(c.cmdNext->toolTip(), "Go");
    QTest::keyClick(c.cmdNext, Qt::Key_Return);
    QTRY_VERIFY(c.txtAnswer->hasFocus());
    game.answer("9", "9");
    QCOMPARE(of(c.cmdNext)->text(QAccessible::Description),
             "Sbagliato! Il risultato è due terzi. Risposte esatte 1, errate 1, totali 2. Go");
    // The numerator box keeps what was typed; only its caret went home.
    QCOMPARE(c.txtAnswer->text(), "9");
    // Judged again and not counted ("2/3" reads as 2 but is no number): the
    // message line, and so the words, stay those of the last verdict.
    c.txtAnswer->setText("2/3");
    c.Text3->setText("3");
    QTest::keyClick(c.Text3, Qt::Key_Return);
    QCOMPARE(c.lblMessage->text(), "Sbagliato!! 2 / 3");
    QCOMPARE(of(c.cmdNext)->text(QAccessible::Description),
             "Sbagliato! Il risultato è due terzi. Risposte esatte 1, errate 1, totali 2. Go");
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
