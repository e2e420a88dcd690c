// The record folder with its separator, and the reading of a record file.
#include "recordfiles.h"

#include "platform/programend.h"
#include "ui/tavola.h"

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

} // namespace quorvela
