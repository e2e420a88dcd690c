// The ten-minute clock of a competition and the end of its time.
#include "rules/clocktext.h"
#include "ui/controls.h"
#include "ui/tavola.h"

#include <QTimer>

#include <algorithm>

namespace quorvela {

void Tavola::restartTimer1()
{
    ui->Timer1->start();
    timerStartedMs_ = services_.monotonicMs ? services_.monotonicMs() : 0;
    ticksCounted_ = 0;
}

int Tavola::ticksDue()
{
    if (!services_.monotonicMs)
        return 1;
    // Rounded, so that a tick that comes a little early still counts its second.
    const qint64 elapsed = services_.monotonicMs() - timerStartedMs_;
    return int(std::clamp<qint64>((elapsed + 500) / 1000 - ticksCounted_, 0, 1 << 20));
}

void Tavola::StartCountdown()
{
    restartTimer1();
    clockHours = 0;
    clockMinutes = 10;
    clockSeconds = 0.0f;
    secondsLeft = 600;
    ui->lblconto->setCaption(clockText(clockHours, clockMinutes, clockSeconds));
}

void Tavola::Timer1_Timer()
{
    // Modal dialogs keep delivering ticks. While one of ours is open, a tick
    // that would ask or announce waits for a later tick instead: nothing is
    // stacked, and the end of the time runs once.
    const bool dialogOpen = dialogsOpen_ > 0;

    // The tick that reaches 00:00:00 says nothing; the next one asks.
    if (ui->lblconto->text() == QStringLiteral("00:00:00")) {
        if (dialogOpen)
            return;
        cmdExit_Click();
    }

    if (secondsLeft < 1) {
        if (dialogOpen)
            return;
        MsgBox(MessageBox::ok(QStringLiteral("Tempo scaduto")));
        ui->txtAnswer->setFocus();
        ui->Timer1->stop();
        services_.dialogs.beep();
        return;
    }

    countOneSecondDown(clockHours, clockMinutes, clockSeconds);
    --secondsLeft;
    ui->lblconto->setCaption(clockText(clockHours, clockMinutes, clockSeconds));
}

} // namespace quorvela
