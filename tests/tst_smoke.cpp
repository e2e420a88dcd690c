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

QTEST_MAIN(TestSmoke)
#include "tst_smoke.moc"
