// The judging rules apart from the window: answer keys, and judging against scoring.
#include "game/rules/judging.h"

#include <QLocale>
#include <QTest>

using namespace quorvela;

class TestJudging : public QObject {
    Q_OBJECT
private slots:
    void answerKeys();
    void scoringNeverCountsWhatJudgingCallsWrong();
};

void TestJudging::answerKeys()
{
    // Digits, blank, backspace, "/" and "+" edit; everything else commands.
    for (char c : QByteArray("0123456789 /+\b"))
        QVERIFY2(isAnswerKey(c), &c);
    for (int code : {13, 27, 45, 46, 97, 0xE8, 44})
        QVERIFY(!isAnswerKey(std::int16_t(code)));
}

void TestJudging::scoringNeverCountsWhatJudgingCallsWrong()
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

QTEST_GUILESS_MAIN(TestJudging)
#include "tst_judging.moc"
