// The record folder with its separator, and the reading of a record file.
#include "recordfiles.h"

#include "ui/tavola.h"

#ifdef _WIN32
#include "platform/nativefile.h"

#include <QFileInfo>
#endif

namespace quorvela {

QString Tavola::GetSystemDir()
{
    QString folder = services_.systemFolder();
    if (!folder.endsWith(kSeparator))
        folder += kSeparator;
    // The record folder may not exist yet.
    TextFiles::makeSharedFolder(folder);
    return folder;
}

QString Tavola::Leggifiletxt(const QString &nomefile)
{
    const std::int16_t number = files_.freeFile();
    files_.openForInput(number, nomefile);
    QString text = files_.readAll(number);
    files_.close(number);
    return text;
}

#ifdef _WIN32

QString recordFolderCarryingOver(const QString &folder, const QString &oldFolder)
{
    TextFiles::makeSharedFolder(folder);
    const FolderLock lock(folder);
    if (QFileInfo::exists(folder + kScoreFileName))
        return folder;
    // The name first: cut short in between, the score is still missing and the
    // next start carries both over again.
    for (const QString &name : {kNameFileName, kScoreFileName}) {
        if (const native::Error error =
                native::copyIfMissing(toNative(oldFolder + name), toNative(folder + name)))
            throw FileError{folder + name, FileAction::Write, error};
    }
    return folder;
}

#endif

} // namespace quorvela
