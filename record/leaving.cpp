// Leaving the game: a better score becomes the record before the program ends.
#include "rules/numbers.h"
#include "recordfiles.h"
#include "recordkeeper.h"
#include "ui/controls.h"
#include "ui/tavola.h"

namespace quorvela {

void Tavola::cmdExit_Click()
{
    if (MsgBox(MessageBox::yesNo(QStringLiteral("Vuoi veramente lasciarmi  ?"),
                                 QStringLiteral("Uscire dal programma"))) == Answer::No)
        return;

    const double record = lenientReading(ui->lblpunti->text());
    const double score = lenientReading(ui->lblScore->text());
    if (record >= score)
        End();
    // Another copy of the game may have saved a better record since start-up:
    // the record keeper saves, under the record's lock, only a score that also
    // beats the record on disk, first the score file and then the name file.
    recordLine = ui->lblScore->text();
    const Saving saving =
        services_.record.saveIfBetter(windowsDir, recordLine, ui->lblnome1->text());
    if (saving == Saving::Kept)
        End();
    if (saving == Saving::Saved)
        MsgBox(MessageBox::ok(QStringLiteral("Ok ho registrato il tuo record, C A M P I O N E\"")));
    else
        MsgBox(MessageBox::ok(notSavedMessage(saving)));
    End();
}

} // namespace quorvela
