// The real dialogs: answered through the active modal widget, as a player would.
#include "platform/dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace quorvela;

namespace {

// Runs action on the next modal widget once it is open.
template <class Action> void whenModal(Action action)
{
    QTimer::singleShot(0, [action] {
        QTRY_VERIFY(QApplication::activeModalWidget());
        action(QApplication::activeModalWidget());
    });
}

} // namespace

class TestSmoke : public QObject {
    Q_OBJECT
private slots:
    void yesNoBoxDefaultsToNo();
    void okBoxHasNoIcon();
    void inputBoxReturnsTextUnchanged();
    void inputBoxCancelGivesEmpty();
    void buttonsSpeakItalian();
    void touchTargetsFitAFinger_data();
    void touchTargetsFitAFinger();
};

void TestSmoke::yesNoBoxDefaultsToNo()
{
    // Enter alone answers No; the box has the question icon and the given title.
    QtDialogs dialogs;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenModal([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        title = box->windowTitle();
        icon = box->icon();
        QTest::keyClick(box, Qt::Key_Return);
    });
    QCOMPARE(dialogs.messageBox(
                 MessageBox::yesNo("Vuoi veramente lasciarmi  ?", "Uscire dal programma")),
             Answer::No);
    QCOMPARE(title, "Uscire dal programma");
    QCOMPARE(icon, QMessageBox::Question);
    whenModal(
        [](QWidget *w) { qobject_cast<QMessageBox *>(w)->button(QMessageBox::Yes)->click(); });
    QCOMPARE(dialogs.messageBox(MessageBox::yesNo("?", "t")), Answer::Yes);
}

void TestSmoke::okBoxHasNoIcon()
{
    QtDialogs dialogs;
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::Question;
    whenModal([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        QTest::keyClick(box, Qt::Key_Return);
    });
    QCOMPARE(dialogs.messageBox(MessageBox::ok("   Buona fortuna <b>x</b>")), Answer::Ok);
    QCOMPARE(text, "   Buona fortuna <b>x</b>");
    QCOMPARE(title, "Quorvela");
    QCOMPARE(icon, QMessageBox::NoIcon);
}

void TestSmoke::inputBoxReturnsTextUnchanged()
{
    QtDialogs dialogs;
    QString title;
    whenModal([&](QWidget *w) {
        title = w->windowTitle();
        auto *edit = w->findChild<QLineEdit *>();
        QTest::keyClicks(edit, "  Luca ");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QCOMPARE(dialogs.inputBox("Come ti chiami?", kAppTitle), "  Luca ");
    QCOMPARE(title, "Quorvela");
}

void TestSmoke::inputBoxCancelGivesEmpty()
{
    QtDialogs dialogs;
    whenModal([](QWidget *w) {
        QTest::keyClicks(w->findChild<QLineEdit *>(), "Luca");
        QTest::keyClick(w, Qt::Key_Escape);
    });
    QCOMPARE(dialogs.inputBox("Come ti chiami?", kAppTitle), "");
}

void TestSmoke::buttonsSpeakItalian()
{
    // Every text of the game is Italian, the dialogs' own buttons too.
    QVERIFY(useItalianButtons());
    QtDialogs dialogs;
    QStringList texts;
    whenModal([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        texts << box->button(QMessageBox::Yes)->text() << box->button(QMessageBox::No)->text();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    QCOMPARE(dialogs.messageBox(MessageBox::yesNo("?", "t")), Answer::No);
    QCOMPARE(texts, (QStringList{"&Sì", "&No"}));
}

void TestSmoke::touchTargetsFitAFinger_data()
{
    QTest::addColumn<bool>("inputBox");
    QTest::addColumn<int>("touchHeight");
    QTest::newRow("message box, by mouse") << false << 0;
    QTest::newRow("message box, by touch") << false << 96;
    QTest::newRow("input box, by mouse") << true << 0;
    QTest::newRow("input box, by touch") << true << 96;
}

void TestSmoke::touchTargetsFitAFinger()
{
    // What a finger taps in a dialog (its buttons, the name's line) is at least
    // as tall as the page asks on a touch screen; by mouse Qt's sizes stay.
    QFETCH(bool, inputBox);
    QFETCH(int, touchHeight);
    QtDialogs dialogs;
    dialogs.setTouchTargetHeight(touchHeight);
    QList<int> heights;
    whenModal([&](QWidget *w) {
        for (QWidget *target : w->findChildren<QPushButton *>())
            heights << target->height();
        if (auto *edit = w->findChild<QLineEdit *>())
            heights << edit->height();
        QTest::keyClick(w, Qt::Key_Escape);
    });
    if (inputBox)
        dialogs.inputBox("Come ti chiami?", kAppTitle);
    else
        dialogs.messageBox(MessageBox::yesNo("?", "t"));
    QCOMPARE(heights.size(), inputBox ? 3 : 2);
    for (int height : heights) {
        if (touchHeight)
            QVERIFY2(height >= touchHeight, qPrintable(QString::number(height)));
        else
            QVERIFY2(height < 60, qPrintable(QString::number(height)));
    }
}

QTEST_MAIN(TestSmoke)
#include "tst_smoke.moc"
