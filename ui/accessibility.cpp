// What a screen reader reads on Tavola. Qt 6.4 cannot make one speak at will, so the
// focus carries the news (doc/accessibility.md).
#include "controls.h"
#include "rules/scoring.h"
#include "spoken.h"
#include "tavola.h"

#include <QAccessibleWidget>

namespace quorvela {

namespace {

constexpr const char *kNeverExposed = "quorvelaNeverExposed";

// The client area's children as a reader sees them: all but the stores.
class ClientAccessible : public QAccessibleWidget {
public:
    explicit ClientAccessible(QWidget *w) : QAccessibleWidget(w, QAccessible::Client) {}

    int childCount() const override { return int(exposed().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> list = exposed();
        return index >= 0 && index < list.size()
                   ? QAccessible::queryAccessibleInterface(list.at(index))
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(exposed().indexOf(qobject_cast<QWidget *>(child->object()))) : -1;
    }

private:
    QList<QWidget *> exposed() const
    {
        QList<QWidget *> list;
        for (QObject *o : widget()->children()) {
            auto *w = qobject_cast<QWidget *>(o);
            if (w && !w->isWindow() && !w->property(kNeverExposed).toBool())
                list << w;
        }
        return list;
    }
};

QAccessibleInterface *clientFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("quorvela::ClientArea") && object && object->isWidgetType())
        return new ClientAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void Tavola::describeControls()
{
    static const bool installed = [] {
        QAccessible::installFactory(clientFactory);
        return true;
    }();
    Q_UNUSED(installed);

    Controls &c = *ui;
    c.Text1->setAccessibleName(QStringLiteral("numeratore della prima frazione"));
    c.Text2->setAccessibleName(QStringLiteral("denominatore della prima frazione"));
    c.Text5->setAccessibleName(QStringLiteral("numeratore della seconda frazione"));
    c.Text6->setAccessibleName(QStringLiteral("denominatore della seconda frazione"));
    c.txtAnswer->setAccessibleName(QStringLiteral("numeratore del risultato"));
    c.Text3->setAccessibleName(QStringLiteral("denominatore del risultato"));
    c.cmdNext->setAccessibleName(QStringLiteral("Nuovo calcolo"));
    c.cmdExit->setAccessibleName(QStringLiteral("Esci dal gioco"));
    for (TextBox *store : {c.Text9, c.Text10})
        store->setProperty(kNeverExposed, true);
    for (LineControl *line : c.Line1)
        if (line)
            line->setProperty(kNeverExposed, true);

    // Labels keep their visible text as name; their role goes in the description.
    c.lblconto->setAccessibleDescription(QStringLiteral("Tempo restante"));
    c.lblMessage->setAccessibleDescription(QStringLiteral("Messaggio"));
    c.lblScore->setAccessibleDescription(QStringLiteral("Risposte esatte"));
    c.lblScore1->setAccessibleDescription(QStringLiteral("Risposte errate"));
    c.lblScore2->setAccessibleDescription(QStringLiteral("Risposte totali"));
    c.lblnome1->setAccessibleDescription(QStringLiteral("Sfidante"));
    c.lblnome->setAccessibleDescription(QStringLiteral("Chi detiene il record"));
    c.lblpunti->setAccessibleDescription(QStringLiteral("Punti del record"));

    // The whole problem, read as a sum, as the first box's description and
    // ahead of the numerator box's tooltip.
    auto describeProblem = [this] {
        Controls &c = *ui;
        const QString sum = spokenSum(c.Text1->text().toInt(), c.Text2->text().toInt(),
                                      c.Text5->text().toInt(), c.Text6->text().toInt());
        c.Text1->setAccessibleDescription(sum);
        c.txtAnswer->setAccessibleDescription(sum + QStringLiteral(". ") + c.txtAnswer->toolTip());
    };
    for (TextBox *box : {c.Text1, c.Text2, c.Text5, c.Text6})
        connect(box, &QLineEdit::textChanged, this, describeProblem);
}

void Tavola::describeVerdict(Verdict verdict, int praise)
{
    Controls &c = *ui;
    // Orca takes a caret that moves in the focused box for a change of focus it
    // need not announce, and it looks at the focus only when it gets to the
    // event: the next problem's emptying of the numerator box, which takes the
    // focus right after, would then silence the problem. With its caret at home
    // now, while the box has no focus, the emptying moves no caret. Nothing
    // shows: a box without the focus draws no caret, and a box the game gives
    // the focus back puts its caret after the text (TextBox::focusInEvent).
    c.txtAnswer->setCursorPosition(0);
    c.Text3->setCursorPosition(0);
    // As shown: the praise takes the message's place when both hold.
    if (verdict.right)
        spokenVerdict_ = spokenPraise(praise);
    else if (verdict.wrong)
        spokenVerdict_ = spokenWrong(resultNum, resultDen);
    const QString said =
        spokenVerdict_ + u' ' +
        spokenCounters(correctAnswers, wrongAnswers, correctAnswers + wrongAnswers);
    c.cmdNext->setAccessibleDescription(said + u' ' + c.cmdNext->toolTip());
    if (services_.announce)
        services_.announce(said);
}

} // namespace quorvela
