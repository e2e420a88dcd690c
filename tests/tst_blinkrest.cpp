// The text cursor rests after a while without input.
#include "platform/blinkrest.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyleHints>
#include <QTest>

using namespace quorvela;

class TestBlinkRest : public QObject {
    Q_OBJECT
private slots:
    void cursorRestsAfterAWhileWithoutInput();
};

void TestBlinkRest::cursorRestsAfterAWhileWithoutInput()
{
    // No blinking once the player has been still for a while; any key brings it back.
    QLineEdit box;
    box.show();
    const int flashTime = QGuiApplication::styleHints()->cursorFlashTime();
    QVERIFY(flashTime > 0);
    {
        BlinkRest rest(nullptr, 50);
        QVERIFY(!rest.resting());
        QTRY_VERIFY(rest.resting());
        QCOMPARE(QGuiApplication::styleHints()->cursorFlashTime(), 0);
        QTest::keyClick(&box, Qt::Key_A);
        QCOMPARE(QGuiApplication::styleHints()->cursorFlashTime(), flashTime);
        QTRY_VERIFY(rest.resting());
    }
    QCOMPARE(QGuiApplication::styleHints()->cursorFlashTime(), flashTime);
}

QTEST_MAIN(TestBlinkRest)
#include "tst_blinkrest.moc"
