// Drawing a problem: two random fractions, their sum in lowest terms, and the
// coloured stripes that go with it.
#include "rules/drawing.h"
#include "rules/fraction.h"
#include "rules/numbers.h"
#include "rules/randomsource.h"
#include "ui/controls.h"
#include "ui/spoken.h"
#include "ui/tavola.h"

#include <algorithm>

namespace quorvela {

void Tavola::cmdNext_Click()
{
    Controls &c = *ui;
    RandomSource &random = services_.random;

    c.client->cls();
    c.Text2->show();
    c.Line1[4]->show();
    c.Line1[0]->show();
    c.Text6->show();
    c.Line1[1]->show();
    c.lblMessage->setCaption(QString());
    spokenVerdict_.clear();
    random.reseedFromClock();
    c.txtAnswer->setText(QString());
    c.Text3->setText(QString());
    random.reseedFromClock();

    const Problem p = drawProblem(random);
    c.Text1->setText(shortestText(p.num1));
    c.Text2->setText(shortestText(p.den1));
    c.Text5->setText(shortestText(p.num2));
    c.Text6->setText(shortestText(p.den2));
    c.Text9->setText(shortestText(sumNumerator(p)));
    c.Text10->setText(shortestText(sumDenominator(p)));

    // A fraction over 1 shows as its numerator alone.
    if (p.den1 == 1) {
        c.Line1[0]->hide();
        c.Text2->hide();
    }
    if (p.den2 == 1) {
        c.Line1[1]->hide();
        c.Text6->hide();
    }

    const double x = lenientReading(c.Text9->text()) / lenientReading(c.Text10->text());
    FractionFromDecimal(x, resultNum, resultDen);
    c.Text9->setText(shortestText(resultNum));
    c.Text10->setText(shortestText(resultDen));

    PaintGradient();

    c.txtAnswer->setEnabled(true);
    c.cmdNext->setEnabled(false);
    if (services_.announce)
        services_.announce(spokenSum(p.num1, p.den1, p.num2, p.den2));
}

void Tavola::PaintGradient()
{
    // 256 bands 3 units apart on a 512-unit high scale; the ones past unit 512
    // fall below the window. Each band reaches down to where the next begins,
    // so the stripes touch and no row of background shows between them.
    ClientArea &area = *ui->client;
    const qreal unit = area.height() / 512.0;
    const int red = std::min(255, resultNum + 100);
    const int green = std::min(255, resultDen * 20);
    int y = 0;
    for (int i = 0; i <= 255; ++i) {
        const int top = qRound(y * unit);
        const int next = qRound((y + 3) * unit);
        area.fillBox(QRect(0, top, area.width(), next - top), QColor(red, green, i));
        y += 3;
    }
}

} // namespace quorvela
