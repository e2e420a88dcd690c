// A record file (or its folder) that cannot be created, read or written.
// Nothing in the game catches it: the window's event guard tells the player
// (in the words of record/recordfiles.h) and ends the program with status 1.
#pragma once

#include "store/nativefile.h"

#include <QString>

namespace quorvela {

struct FileError {
    QString path;
    FileAction action = FileAction::Use;
    native::Error error;
    bool folder = false; // the record's folder rather than one of its files
    bool helper = false; // the program that writes the record

    // The system's own description of its code, in the user's language.
    QString systemMessage() const;
};

// A path as the system's file calls take it, and back.
native::Path toNative(const QString &path);
QString fromNative(const native::Path &path);

} // namespace quorvela
