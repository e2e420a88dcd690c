// The clock's arithmetic and its text.
#include "rules/clocktext.h"

#include <QTest>

using namespace quorvela;

class TestClockText : public QObject {
    Q_OBJECT
private slots:
    void clockArithmetic_data();
    void clockArithmetic();
};

void TestClockText::clockArithmetic_data()
{
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("after");
    QTest::newRow("borrow a minute") << 0 << 10 << 0 << "00:09:59";
    QTest::newRow("plain second") << 0 << 9 << 59 << "00:09:58";
    QTest::newRow("last minute") << 0 << 1 << 0 << "00:00:59";
    QTest::newRow("borrow an hour") << 1 << 0 << 0 << "00:59:59";
    QTest::newRow("to zero") << 0 << 0 << 1 << "00:00:00";
}

void TestClockText::clockArithmetic()
{
    QFETCH(int, hours);
    QFETCH(int, minutes);
    QFETCH(int, seconds);
    QFETCH(QString, after);
    std::int16_t h = std::int16_t(hours), m = std::int16_t(minutes);
    float s = float(seconds);
    countOneSecondDown(h, m, s);
    QCOMPARE(clockText(h, m, s), after);
    QCOMPARE(clockTextOfSeconds(598), "00:09:58");
}

QTEST_GUILESS_MAIN(TestClockText)
#include "tst_clocktext.moc"
