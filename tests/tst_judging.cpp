// The judging rules apart from the window: answer keys, and what an answer is worth.
#include "rules/judging.h"
#include "rules/scoring.h"

#include <QLocale>
#include <QTest>

using namespace quorvela;

Q_DECLARE_METATYPE(quorvela::Verdict)

namespace {
constexpr Verdict kWrong{true, false}, kRight{false, true}, kNotCounted{false, false};
} // namespace

class TestJudging : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }
    void answerKeys();
    void verdict_data();
    void verdict();
    void wrongMessage_data();
    void wrongMessage();
    void praises_data();
    void praises();
};

void TestJudging::answerKeys()
{
    // Digits, blank, backspace, "/" and "+" edit; everything else commands.
    for (char c : QByteArray("0123456789 /+\b"))
        QVERIFY2(isAnswerKey(c), &c);
    for (int code : {13, 27, 45, 46, 97, 0xE8, 44})
        QVERIFY(!isAnswerKey(std::int16_t(code)));
}

void TestJudging::verdict_data()
{
    QTest::addColumn<QString>("numerator");
    QTest::addColumn<QString>("denominator");
    QTest::addColumn<int>("resultNum");
    QTest::addColumn<int>("resultDen");
    QTest::addColumn<Verdict>("verdict");
    QTest::newRow("2/3 right") << "2"
                               << "3" << 2 << 3 << kRight;
    QTest::newRow("unreduced 10/15 is wrong") << "10"
                                              << "15" << 2 << 3 << kWrong;
    QTest::newRow("3 over 1 is right") << "3"
                                       << "1" << 3 << 1 << kRight;
    QTest::newRow("6 over 2 is wrong") << "6"
                                       << "2" << 3 << 1 << kWrong;
    QTest::newRow("blanks around are read") << " 2 "
                                            << "3" << 2 << 3 << kRight;
    QTest::newRow("blank inside judges as 12 but is not counted")
        << "1 2"
        << "5" << 12 << 5 << kNotCounted;
    QTest::newRow("3/4 judged by its leading 3 but not counted")
        << "3/4"
        << "1" << 3 << 1 << kNotCounted;
    QTest::newRow("no number at all is wrong") << "abc"
                                               << "3" << 2 << 3 << kWrong;
    QTest::newRow("a sign is read") << "-2"
                                    << "3" << 2 << 3 << kWrong;
    // Found by fuzzing: "\v3" was counted right and announced wrong at once.
    QTest::newRow("a vertical tab before the 3 is wrong, never right")
        << "2"
        << "\v3" << 2 << 3 << kWrong;
    QTest::newRow("a line feed before the 3 is read, not counted")
        << "2"
        << "\n3" << 2 << 3 << kNotCounted;
    // The two readings differ: wrong leniently (0 at the comma), right strictly
    // in the Italian locale (5): counted both ways, and praised.
    QTest::newRow("0,5e1 over 6 for 5/6 is wrong and right")
        << "0,5e1"
        << "6" << 5 << 6 << Verdict{true, true};
}

void TestJudging::verdict()
{
    // Wrong by the lenient readings of the boxes against the sum's texts; right,
    // on its own, when both boxes are, as a whole, the sum's numbers.
    QFETCH(QString, numerator);
    QFETCH(QString, denominator);
    QFETCH(int, resultNum);
    QFETCH(int, resultDen);
    QFETCH(Verdict, verdict);
    QCOMPARE(judge(numerator, denominator, QString::number(resultNum), QString::number(resultDen),
                   resultNum, resultDen),
             verdict);
}

void TestJudging::wrongMessage_data()
{
    QTest::addColumn<QString>("sumNumerator");
    QTest::addColumn<QString>("sumDenominator");
    QTest::addColumn<QString>("message");
    QTest::newRow("a fraction") << "2"
                                << "3"
                                << "Sbagliato!! 2 / 3";
    QTest::newRow("a whole number") << "3"
                                    << "1"
                                    << "Sbagliato!! 3";
    QTest::newRow("beyond ten") << "71"
                                << "40"
                                << "Sbagliato!! 71 / 40";
}

void TestJudging::wrongMessage()
{
    // A wrong answer shows the sum, its denominator left out when it reads as 1.
    QFETCH(QString, sumNumerator);
    QFETCH(QString, sumDenominator);
    QFETCH(QString, message);
    QCOMPARE(quorvela::wrongMessage(sumNumerator, sumDenominator), message);
}

void TestJudging::praises_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("said");
    const char *const pairs[][2] = {
        {"Esatto. Sei eccezionale!!!", "Esatto. sei eccezionale!"},
        {"OKKKKKKKKKKKKK!!!", "Ok!"},
        {"F A N T A S T I C O!!!", "Fantastico!"},
        {"M I T I C O!!!", "Mitico!"},
        {"O T T I M O!!!", "Ottimo!"},
        {"SEI UN CAMPIONE!!!", "Sei un campione!"},
        {"SEI INSUPERABILE!!!", "Sei insuperabile!"},
        {"E S A T T O!!!", "Esatto!"},
    };
    for (int n = 1; n <= 8; ++n)
        QTest::addRow("praise %d", n) << n << QString::fromUtf8(pairs[n - 1][0])
                                      << QString::fromUtf8(pairs[n - 1][1]);
}

void TestJudging::praises()
{
    // Each praise as shown, and in words a synthesiser says as words.
    QFETCH(int, n);
    QFETCH(QString, shown);
    QFETCH(QString, said);
    QCOMPARE(praise(n), shown);
    QCOMPARE(spokenPraise(n), said);
}

QTEST_GUILESS_MAIN(TestJudging)
#include "tst_judging.moc"
