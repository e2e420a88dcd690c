// Leaving the game: a better score becomes the record before the program ends.
#include "platform/numbers.h"
#include "recordfiles.h"
#include "ui/controls.h"
#include "ui/tavola.h"

#include <QFileInfo>

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
    {
        // Another copy of the game may have saved a better record since start-up.
        // Under the folder's lock, copies leaving together take turns, and both
        // files always come from the same save.
        const FolderLock lock(windowsDir);
        if (RecordOnDisk() >= score)
            End();
        SaveRecordFile(windowsDir + kScoreFileName, ui->lblScore->text());
        SaveRecordFile(windowsDir + kNameFileName, ui->lblnome1->text());
    }
    MsgBox(MessageBox::ok(QStringLiteral("Ok ho registrato il tuo record, C A M P I O N E\"")));
    End();
}

double Tavola::RecordOnDisk()
{
    const QString path = windowsDir + kScoreFileName;
    // Deleted since start-up: there is no record left to keep.
    if (!QFileInfo::exists(path))
        return 0;
    return lenientReading(Leggifiletxt(path));
}

// Called under the folder's lock only.
void Tavola::SaveRecordFile(const QString &path, const QString &text)
{
    TextFiles::removeLeftovers(path);
    fileNo = files_.freeFile();
    files_.openForOutput(fileNo, path);
    recordLine = text;
    files_.printLine(fileNo, recordLine);
    files_.close(fileNo);
}

} // namespace quorvela
