// Typing the answer: Enter in the numerator box moves on to the denominator
// box, Enter in the denominator box judges the answer.
#include "rules/judging.h"
#include "rules/scoring.h"

#include "rules/numbers.h"
#include "platform/keypress.h"
#include "ui/controls.h"
#include "ui/tavola.h"

namespace quorvela {

void Tavola::txtAnswer_KeyPress(std::int16_t &KeyAscii)
{
    ui->Text3->show();
    if (!isAnswerKey(KeyAscii))
        ui->Text3->setFocus();
}

void Tavola::Text3_KeyPress(std::int16_t &KeyAscii)
{
    Controls &c = *ui;
    c.Text3->show();
    c.Line1[4]->show();
    c.Line1[0]->show();
    if (isAnswerKey(KeyAscii))
        return;

    if (KeyAscii == kEnter) {
        if (c.txtAnswer->text().isEmpty())
            c.txtAnswer->setText(QStringLiteral("1"));
        if (c.Text3->text().isEmpty())
            c.Text3->setText(QStringLiteral("1"));

        // A Text2 edited into something that is no number keeps its bar.
        if (strictReading(c.Text2->text()) == 1.0)
            c.Line1[0]->hide();

        const Verdict verdict = judge(c.txtAnswer->text(), c.Text3->text(), c.Text9->text(),
                                      c.Text10->text(), resultNum, resultDen);
        if (verdict.wrong) {
            wrongAnswers = countedUp(wrongAnswers, correctAnswers + wrongAnswers);
            c.lblMessage->setCaption(wrongMessage(c.Text9->text(), c.Text10->text()));
        }

        SetBackColor(Qt::black);
        const int praise = ScoreAndPraise(verdict);
        // Said by a screen reader when "Nuovo calcolo" takes the focus.
        describeVerdict(verdict, praise);

        c.Text3->setFocus();
        c.cmdNext->setEnabled(true);
        c.cmdNext->setFocus();
    }

    // A whole-number answer shows as its numerator alone.
    if (lenientReading(c.Text3->text()) == 1.0) {
        c.Text3->hide();
        c.Line1[4]->hide();
    }
}

} // namespace quorvela
