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

// Appended to the folder, which already ends in the separator: the doubled
// separator reads as one.
inline const QString kScoreFileName = kSeparator + QStringLiteral("qvlmarc.txt");
inline const QString kNameFileName = kSeparator + QStringLiteral("qvlmarc1.txt");

// The folder this executable was built for (the CMake cache variable
// QUORVELA_RECORD_DIR); CMake defines it for each executable of the game.
extern const char kBuildRecordFolder[];

// The system's record folder: the machine's data folder on Windows (with a
// record of the Windows directory carried over), the folder chosen at build
// time elsewhere. Throws FileError when the system gives none.
QString systemRecordFolder();

// What the player reads when a record file or its folder cannot be used,
// ending with "Il gioco termina."; the reason alone, in Italian.
QString fileErrorMessage(const FileError &error);
QString italianReason(const FileError &error);

#ifdef _WIN32
// The record folder, made when missing; when it holds no score file yet, the
// record files of the old folder are copied in (those that are there).
QString recordFolderCarryingOver(const QString &folder, const QString &oldFolder);
#endif

} // namespace quorvela
