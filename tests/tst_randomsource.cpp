// The random source: draws within their range, values below 1, reseeds that differ.
#include "rules/randomsource.h"

#include <QTest>
#include <cmath>

using namespace quorvela;

class TestRandomSource : public QObject {
    Q_OBJECT
private slots:
    void drawsNeverPassTheirRange();
    void realRandomStaysBelowOne();
    void reseedsDiffer();
};

void TestRandomSource::drawsNeverPassTheirRange()
{
    // The largest float below 1 must still draw k, never k + 1.
    const float below1 = std::nextafter(1.0f, 0.0f);
    for (int k : {5, 8}) {
        QCOMPARE(drawFrom(below1, k), k);
        QCOMPARE(drawFrom(0.0f, k), 1);
        QCOMPARE(drawFrom(std::nextafter(1.0f / float(k), 0.0f), k), 1);
    }
}

void TestRandomSource::realRandomStaysBelowOne()
{
    // Over many draws every value of 1..8 appears and nothing else.
    ClockSeededRandom random;
    int seen[10] = {};
    for (int i = 0; i < 200000; ++i) {
        const float r = random.next();
        QVERIFY(r >= 0.0f && r < 1.0f);
        ++seen[drawFrom(r, 8)];
    }
    QCOMPARE(seen[0] + seen[9], 0);
    for (int n = 1; n <= 8; ++n)
        QVERIFY2(seen[n] > 20000 && seen[n] < 30000, qPrintable(QString::number(seen[n])));
}

void TestRandomSource::reseedsDiffer()
{
    // Two reseeds in a row, well within one millisecond, give different sequences.
    ClockSeededRandom random;
    random.reseedFromClock();
    const float a[3] = {random.next(), random.next(), random.next()};
    random.reseedFromClock();
    const float b[3] = {random.next(), random.next(), random.next()};
    QVERIFY(a[0] != b[0] || a[1] != b[1] || a[2] != b[2]);
}

QTEST_GUILESS_MAIN(TestRandomSource)
#include "tst_randomsource.moc"
