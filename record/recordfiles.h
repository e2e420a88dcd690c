// Where the record lies.
#pragma once

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

// The system's record folder: the machine's data folder on Windows (with a
// record of the Windows directory carried over), the folder chosen at build
// time elsewhere. Throws FileError when the system gives none.
QString systemRecordFolder();

#ifdef _WIN32
// The record folder, made when missing; when it holds no score file yet, the
// record files of the old folder are copied in (those that are there).
QString recordFolderCarryingOver(const QString &folder, const QString &oldFolder);
#endif

} // namespace quorvela
