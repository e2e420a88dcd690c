// The record folder with its separator.
#include "recordfiles.h"

#include "ui/tavola.h"

#ifdef _WIN32
#include "store/nativefile.h"
#include "recordkeeper.h"
#endif

namespace quorvela {

QString Tavola::GetSystemDir()
{
    QString folder = services_.systemFolder();
    if (!folder.endsWith(kSeparator))
        folder += kSeparator;
    return folder;
}

#ifdef _WIN32

QString recordFolderCarryingOver(const QString &folder, const QString &oldFolder)
{
    const native::Path here = toNative(folder);
    throwOnFailure(store::prepare(here));
    // What the old folder holds; a file that is missing or unreadable there
    // counts as empty, and an empty score carries nothing over.
    std::string contents[2];
    const char *const names[2] = {store::kScoreFile, store::kNameFile};
    for (int i = 0; i < 2; ++i) {
        native::Handle handle = native::kNoHandle;
        if (native::openRegular(toNative(oldFolder) / names[i], native::Access::Read, handle))
            continue;
        native::readAll(handle, contents[i], native::kRecordReadLimit);
        native::close(handle);
    }
    if (!contents[0].empty())
        throwOnFailure(store::carryOver(here, contents[0], contents[1]));
    return folder;
}

#endif

} // namespace quorvela
