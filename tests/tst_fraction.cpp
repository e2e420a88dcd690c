// The reduction to lowest terms, against exact arithmetic, for every problem drawn.
#include "rules/drawing.h"
#include "rules/fraction.h"

#include <QTest>
#include <numeric>

using namespace quorvela;

class TestFraction : public QObject {
    Q_OBJECT
private slots:
    void examples_data();
    void examples();
    void everyProblemTheDrawsCanGive();
};

void TestFraction::examples_data()
{
    QTest::addColumn<int>("num");
    QTest::addColumn<int>("den");
    QTest::addColumn<int>("expectedNum");
    QTest::addColumn<int>("expectedDen");
    QTest::newRow("8/12 is 2/3") << 8 << 12 << 2 << 3;
    QTest::newRow("29/12 stays") << 29 << 12 << 29 << 12;
    QTest::newRow("4/4 is 1") << 4 << 4 << 1 << 1;
    QTest::newRow("120/50 is 12/5") << 120 << 50 << 12 << 5;
    QTest::newRow("1/50") << 1 << 50 << 1 << 50;
}

void TestFraction::examples()
{
    QFETCH(int, num);
    QFETCH(int, den);
    QFETCH(int, expectedNum);
    QFETCH(int, expectedDen);
    std::int32_t n = 0, d = 0;
    FractionFromDecimal(double(num) / double(den), n, d);
    QCOMPARE(n, expectedNum);
    QCOMPARE(d, expectedDen);
}

void TestFraction::everyProblemTheDrawsCanGive()
{
    // Every a/b + c/d the draws can produce, the second fraction's rule applied by
    // the drawing itself, reduces to the sum in lowest terms.
    const std::vector<Problem> problems = everyProblem();
    QCOMPARE(problems.size(), std::size_t(8 * 5 * 8 * 8));
    for (const Problem &p : problems) {
        QVERIFY(p.den2 >= p.num2);
        const int num = sumNumerator(p);
        const int den = sumDenominator(p);
        const int g = std::gcd(num, den);
        std::int32_t n = 0, m = 0;
        FractionFromDecimal(double(num) / double(den), n, m);
        QCOMPARE(n, num / g);
        QCOMPARE(m, den / g);
    }
    // The draws reach every value of each range.
    QCOMPARE(problems.front().num1, 1);
    QCOMPARE(problems.back().num1, 8);
    QCOMPARE(problems.back().den1, 5);
}

QTEST_GUILESS_MAIN(TestFraction)
#include "tst_fraction.moc"
