// Number readings and formats.
#include "rules/numbers.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace quorvela;

class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void lenient_data();
    void lenient();
    void lenientSurvivesHostileText();
    void strict_data();
    void strict();
    void formats();
};

void TestNumbers::lenient_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("plain") << "12" << 12.0;
    QTest::newRow("record line with CR LF") << "12\r\n" << 12.0;
    QTest::newRow("blanks inside count as nothing") << "1 2" << 12.0;
    QTest::newRow("tabs and line feeds skipped") << "\t\n 3\n4" << 34.0;
    QTest::newRow("fraction read by its numerator") << "3/4" << 3.0;
    QTest::newRow("plus after a number stops") << "3+4" << 3.0;
    QTest::newRow("empty is zero") << "" << 0.0;
    QTest::newRow("no number is zero") << "abc" << 0.0;
    QTest::newRow("dot is the decimal point") << "2.5" << 2.5;
    QTest::newRow("comma is not") << "2,5" << 2.0;
    QTest::newRow("only one point") << "1.2.3" << 1.2;
    QTest::newRow("sign") << "-7" << -7.0;
    QTest::newRow("sign then blank") << "- 7" << -7.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("negative exponent") << "25E-1" << 2.5;
    QTest::newRow("dangling exponent letter") << "4e" << 4.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("Arabic-Indic digit is no digit") << "٣" << 0.0;
    QTest::newRow("overflow is infinite") << "1e999" << std::numeric_limits<double>::infinity();
    QTest::newRow("underflow is zero") << "1e-999" << 0.0;
    QTest::newRow("huge exponent digits")
        << "1e99999999999999999999" << std::numeric_limits<double>::infinity();
    QTest::newRow("many integer digits")
        << QString(400, u'9') << std::numeric_limits<double>::infinity();
    QTest::newRow("long fraction rounds right") << "0." + QString(300, u'3') << 1.0 / 3.0;
    QTest::newRow("digits past 800 still round") << "1" + QString(900, u'0') + "e-900" << 1.0;
}

void TestNumbers::lenient()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(lenientReading(text), expected);
}

void TestNumbers::lenientSurvivesHostileText()
{
    // Any text reads without crashing or hanging, and gives a number.
    const QStringList texts = {QString(100000, u'7'),
                               QString(50000, u' ') + "5",
                               "\xF0\x9F\x98\x80",
                               QString(QChar(0)) + "3",
                               "-0",
                               "+.e5",
                               "0x1F",
                               "\u00A05"};
    for (const QString &text : texts)
        QVERIFY(!std::isnan(lenientReading(text)));
    QVERIFY(std::signbit(lenientReading("-0")));
}

void TestNumbers::strict_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hasNumber");
    QTest::addColumn<double>("expected");
    QTest::newRow("whole number") << "it_IT"
                                  << "12" << true << 12.0;
    QTest::newRow("blanks around") << "it_IT"
                                   << "  7 " << true << 7.0;
    QTest::newRow("Italian decimal comma") << "it_IT"
                                           << "2,5" << true << 2.5;
    QTest::newRow("English decimal point") << "en_US"
                                           << "2.5" << true << 2.5;
    QTest::newRow("blank inside") << "it_IT"
                                  << "1 2" << false << 0.0;
    QTest::newRow("fraction text") << "it_IT"
                                   << "3/4" << false << 0.0;
    QTest::newRow("trailing plus") << "it_IT"
                                   << "3+" << false << 0.0;
    QTest::newRow("empty") << "it_IT"
                           << "" << false << 0.0;
    QTest::newRow("blanks only") << "it_IT"
                                 << "   " << false << 0.0;
    QTest::newRow("letters") << "it_IT"
                             << "abc" << false << 0.0;
    QTest::newRow("overflow") << "it_IT"
                              << "1e999" << false << 0.0;
    QTest::newRow("infinity word") << "en_US"
                                   << "inf" << false << 0.0;
    QTest::newRow("emoji") << "it_IT"
                           << "\xF0\x9F\x98\x80" << false << 0.0;
    QTest::newRow("minus zero is zero") << "it_IT"
                                        << "-0" << true << 0.0;
    // Found by fuzzing: QLocale itself lets any white space stand around a number.
    QTest::newRow("vertical tab before") << "it_IT"
                                         << "\v3" << false << 0.0;
    QTest::newRow("line feed before") << "it_IT"
                                      << "\n3" << false << 0.0;
    QTest::newRow("tab after") << "it_IT"
                               << "3\t" << false << 0.0;
}

void TestNumbers::strict()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, hasNumber);
    QFETCH(double, expected);
    const auto value = strictReading(text, QLocale(locale));
    QCOMPARE(value.has_value(), hasNumber);
    if (hasNumber)
        QCOMPARE(*value, expected);
}

void TestNumbers::formats()
{
    QCOMPARE(format00(0), "00");
    QCOMPARE(format00(7), "07");
    QCOMPARE(format00(59), "59");
    QCOMPARE(format00(123), "123");
    QCOMPARE(format00(-5), "-05");
    QCOMPARE(formatPlain(0), "0");
    QCOMPARE(formatPlain(32767), "32767");
    QCOMPARE(shortestText(12), "12");
    QCOMPARE(shortestText(0.1), "0.1");
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
