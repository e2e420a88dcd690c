// Scoring and praise, run for every Enter in the denominator box.
#include "rules/scoring.h"

#include "rules/judging.h"
#include "rules/numbers.h"
#include "rules/randomsource.h"
#include "ui/controls.h"
#include "ui/tavola.h"

namespace quorvela {

int Tavola::ScoreAndPraise(Verdict verdict)
{
    Controls &c = *ui;
    c.lblScore1->setCaption(formatPlain(wrongAnswers));

    // One draw for every judged answer, right or wrong.
    const int n = drawFrom(services_.random.next(), 8);

    if (verdict.right) {
        correctAnswers = countedUp(correctAnswers, correctAnswers + wrongAnswers);
        c.lblMessage->setCaption(praise(n));
    }

    c.lblScore->setCaption(formatPlain(correctAnswers));
    c.lblScore2->setCaption(formatPlain(correctAnswers + wrongAnswers));
    return n;
}

} // namespace quorvela
