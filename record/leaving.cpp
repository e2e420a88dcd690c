// Leaving the game: a better score becomes the record before the program ends.
#include "platform/numbers.h"
#include "recordfiles.h"
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

    SaveRecordFile(windowsDir + kScoreFileName, ui->lblScore->text());
    SaveRecordFile(windowsDir + kNameFileName, ui->lblnome1->text());
    MsgBox(MessageBox::ok(QStringLiteral("Ok ho registrato il tuo record, C A M P I O N E\"")));
    End();
}

void Tavola::SaveRecordFile(const QString &path, const QString &text)
{
    fileNo = files_.freeFile();
    files_.openForOutput(fileNo, path);
    recordLine = text;
    files_.printLine(fileNo, recordLine);
    files_.close(fileNo);
}

} // namespace quorvela
