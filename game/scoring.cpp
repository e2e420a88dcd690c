// Scoring and praise, run for every Enter in the denominator box.
#include "scoring.h"

#include "judging.h"
#include "platform/numbers.h"
#include "platform/randomsource.h"
#include "ui/controls.h"
#include "ui/tavola.h"

#include <array>

namespace quorvela {

std::int16_t countedUp(std::int16_t counter, int total)
{
    return total < kMaxCount ? std::int16_t(counter + 1) : counter;
}

QString praise(int n)
{
    static const std::array<QString, 8> praises = {
        QStringLiteral("Esatto. Sei eccezionale!!!"),
        QStringLiteral("OKKKKKKKKKKKKK!!!"),
        QStringLiteral("F A N T A S T I C O!!!"),
        QStringLiteral("M I T I C O!!!"),
        QStringLiteral("O T T I M O!!!"),
        QStringLiteral("SEI UN CAMPIONE!!!"),
        QStringLiteral("SEI INSUPERABILE!!!"),
        QStringLiteral("E S A T T O!!!"),
    };
    return praises.at(std::size_t(n - 1));
}

void Tavola::ScoreAndPraise()
{
    Controls &c = *ui;
    c.lblScore1->setCaption(formatPlain(wrongAnswers));

    // One draw for every judged answer, right or wrong.
    const int n = drawFrom(services_.random.next(), 8);

    if (isCorrectAnswer(c.txtAnswer->text(), c.Text3->text(), resultNum, resultDen)) {
        correctAnswers = countedUp(correctAnswers, correctAnswers + wrongAnswers);
        c.lblMessage->setCaption(praise(n));
    }

    c.lblScore->setCaption(formatPlain(correctAnswers));
    c.lblScore2->setCaption(formatPlain(correctAnswers + wrongAnswers));
}

} // namespace quorvela
