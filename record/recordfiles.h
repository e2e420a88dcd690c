// Where the record lies.
#pragma once

#include "platform/fileerror.h"

#include <QString>

namespace quorvela {

#ifdef _WIN32
constexpr char16_t kSeparator = u'\\';
#else
constexpr char16_t kSeparator = u'/';
#endif

// Compiled in for each executable of the game by CMake: the folder it was built
// for (the cache variable QUORVELA_RECORD_DIR).
extern const char kBuildRecordFolder[];

// The system's record folder: the machine's data folder on Windows (with a
// record of the Windows directory carried over), the folder chosen at build
// time elsewhere. Throws FileError when the system gives none.
QString systemRecordFolder();

// What the player reads when a record file or its folder cannot be used,
// ending with "Il gioco termina."; the reason alone, in Italian.
QString fileErrorMessage(const FileError &error);
QString italianReason(const FileError &error);

// What the player reads when a score that beat the record could not be saved
// now (Busy, Refused or NotKept); the game then ends as it would after saving.
enum class Saving;
QString notSavedMessage(Saving saving);

#ifdef _WIN32
// The record folder, made when missing with empty files; while its score file
// is empty, the record files of the old folder are put in (those that are there).
QString recordFolderCarryingOver(const QString &folder, const QString &oldFolder);
#endif

} // namespace quorvela
