// Start-up: greeting the player, explaining the rules, starting the clock,
// loading the record and drawing the first problem.
#include "rules/clocktext.h"
#include "record/recordkeeper.h"
#include "ui/controls.h"
#include "ui/tavola.h"

#include <QTimer>

#include <cmath>

namespace quorvela {

void Tavola::Form_Load()
{
    // No tick while the opening dialogs are open.
    ui->Timer1->stop();

    const QString name = InputBox(QStringLiteral("Come ti chiami?"));
    MsgBox(MessageBox::ok(u' ' + name + QStringLiteral(" vediamo se sei un vero campione  ")));
    MsgBox(MessageBox::ok(
        QStringLiteral("Premi il tasto invio (Return) dopo aver scritto il numeratore")));
    MsgBox(MessageBox::ok(QStringLiteral("ed ancora invio dopo aver inserito il denominatore")));
    MsgBox(MessageBox::ok(QStringLiteral("Ricordati di semplificare la frazione inserita")));
    MsgBox(MessageBox::ok(
        QStringLiteral("Se devi correggere il numeratore puoi spostarti con il mouse")));
    MsgBox(
        MessageBox::ok(QStringLiteral("Puoi anche cancellare e scrivere le frazioni equivalenti")));
    MsgBox(MessageBox::ok(QStringLiteral("   Buona fortuna ") + name));
    ui->lblnome1->setCaption(name);

    StartCountdown();
    correctAnswers = 0;
    wrongAnswers = 0;
    windowsDir = GetSystemDir();

    // A missing record file is made empty, an existing one left as it is (a
    // save that was cut short is finished first). One that only root may make
    // again (an installation's), or that another program holds without sharing
    // it (Windows), reads as no record meanwhile.
    services_.record.prepare(windowsDir);
    const RecordText record = services_.record.read(windowsDir);
    ui->lblpunti->setCaption(record.score);
    ui->lblnome->setCaption(record.name);
    if (services_.announce && !ui->lblpunti->text().trimmed().isEmpty())
        services_.announce(
            QStringLiteral("Il record è di %1 con punti %2.")
                .arg(ui->lblnome->text().simplified(), ui->lblpunti->text().simplified())
                .simplified());

    secondsLeft = std::int16_t(std::nearbyint(clockSeconds + 600.0));
    ui->lblconto->setCaption(clockText(clockHours, clockMinutes, clockSeconds));
    cmdNext_Click();
}

void Tavola::Form_Activate()
{
    ui->txtAnswer->setFocus();
}

} // namespace quorvela
