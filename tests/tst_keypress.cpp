// Which keys raise a key press, and with which code.
#include "platform/keypress.h"

#include <QKeyEvent>
#include <QTest>

using namespace quorvela;

class TestKeyPress : public QObject {
    Q_OBJECT
private slots:
    void keyPresses_data();
    void keyPresses();
};

void TestKeyPress::keyPresses_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // -1: no key press
    QTest::newRow("digit") << int(Qt::Key_7) << 0 << "7" << 55;
    QTest::newRow("letter") << int(Qt::Key_A) << 0 << "a" << 97;
    QTest::newRow("return") << int(Qt::Key_Return) << 0 << "\r" << 13;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "\r" << 13;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << "\b" << 8;
    QTest::newRow("escape") << int(Qt::Key_Escape) << 0 << "\x1b" << 27;
    QTest::newRow("accented letter") << int(Qt::Key_Egrave) << 0 << "è" << 0xE8;
    QTest::newRow("left arrow") << int(Qt::Key_Left) << 0 << "" << -1;
    QTest::newRow("delete") << int(Qt::Key_Delete) << 0 << "\x7f" << -1;
    QTest::newRow("tab") << int(Qt::Key_Tab) << 0 << "\t" << -1;
    QTest::newRow("shift") << int(Qt::Key_Shift) << 0 << "" << -1;
    QTest::newRow("F1") << int(Qt::Key_F1) << 0 << "" << -1;
    QTest::newRow("ctrl+c") << int(Qt::Key_C) << int(Qt::ControlModifier) << "\x03" << -1;
}

void TestKeyPress::keyPresses()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(int, expected);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    const auto code = keyAsciiOf(event);
    QCOMPARE(code.has_value() ? int(*code) : -1, expected);
}

QTEST_GUILESS_MAIN(TestKeyPress)
#include "tst_keypress.moc"
