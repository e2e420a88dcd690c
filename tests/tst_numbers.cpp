// Number readings and formats, the random draw, and the keys that raise a key press.
#include "clock/clocktext.h"
#include "game/judging.h"
#include "platform/keypress.h"
#include "platform/numbers.h"
#include "platform/randomsource.h"

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
    void drawsNeverPassTheirRange();
    void realRandomStaysBelowOne();
    void reseedsDiffer();
    void keyPresses_data();
    void keyPresses();
    void answerKeys();
    void scoringNeverCountsWhatJudgingCallsWrong();
    void clockArithmetic_data();
    void clockArithmetic();
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

void TestNumbers::drawsNeverPassTheirRange()
{
    // The largest float below 1 must still draw k, never k + 1.
    const float below1 = std::nextafter(1.0f, 0.0f);
    for (int k : {5, 8}) {
        QCOMPARE(drawFrom(below1, k), k);
        QCOMPARE(drawFrom(0.0f, k), 1);
        QCOMPARE(drawFrom(std::nextafter(1.0f / float(k), 0.0f), k), 1);
    }
}

void TestNumbers::realRandomStaysBelowOne()
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

void TestNumbers::reseedsDiffer()
{
    // Two reseeds in a row, well within one millisecond, give different sequences.
    ClockSeededRandom random;
    random.reseedFromClock();
    const float a[3] = {random.next(), random.next(), random.next()};
    random.reseedFromClock();
    const float b[3] = {random.next(), random.next(), random.next()};
    QVERIFY(a[0] != b[0] || a[1] != b[1] || a[2] != b[2]);
}

void TestNumbers::keyPresses_data()
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

void TestNumbers::keyPresses()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(int, expected);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    const auto code = keyAsciiOf(event);
    QCOMPARE(code.has_value() ? int(*code) : -1, expected);
}

void TestNumbers::answerKeys()
{
    // Digits, blank, backspace, "/" and "+" edit; everything else commands.
    for (char c : QByteArray("0123456789 /+\b"))
        QVERIFY2(isAnswerKey(c), &c);
    for (int code : {13, 27, 45, 46, 97, 0xE8, 44})
        QVERIFY(!isAnswerKey(std::int16_t(code)));
}

void TestNumbers::scoringNeverCountsWhatJudgingCallsWrong()
{
    // Found by fuzzing: "2" over "\v3" was counted correct and announced wrong at once.
    const QLocale before;
    QLocale::setDefault(QLocale::c());
    const QStringList denominators = {"\v3", "\n3", "3\t", " 3 ", "3"};
    for (const QString &den : denominators) {
        if (isCorrectAnswer("2", den, 2, 3))
            QVERIFY2(matchesSumTexts("2", den, "2", "3"), qPrintable(den));
    }
    QVERIFY(isCorrectAnswer("2", " 3 ", 2, 3));
    QLocale::setDefault(before);
}

void TestNumbers::clockArithmetic_data()
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

void TestNumbers::clockArithmetic()
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

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
