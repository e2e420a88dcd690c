// The record on disk: the score file, the name file, and a journal that makes a
// save whole. Every write happens in place, so the files keep their owner and
// their rights, and under the lock of the journal, so copies of the game take
// turns. No Qt: the record's keeper runs this with the rights of the games
// group; the game runs it itself where there is no keeper (Windows).
#pragma once

#include "nativefile.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace quorvela::store {

inline constexpr char kScoreFile[] = "qvlmarc.txt";
inline constexpr char kNameFile[] = "qvlmarc1.txt";
inline constexpr char kJournalFile[] = "qvlmarc.journal";
// An installed folder also holds, for each of the three, an empty spare made by
// root: the keeper cannot make a file there (it would be the player's), so it
// puts the spare in the place of a file that was deleted.
inline constexpr char kSparePrefix[] = ".spare-";
inline std::string spareOf(const std::string &name)
{
    return kSparePrefix + name;
}
// Their modes where the system has them (POSIX): every account reads the record,
// only the games group writes it and takes the journal's lock.
inline constexpr unsigned kFolderMode = 0775;
inline constexpr unsigned kFileMode = 0664;
inline constexpr unsigned kJournalMode = 0660;

// How long a call waits for the record's lock before it answers busy.
inline constexpr std::chrono::milliseconds kLockDeadline{2000};

// The longest line a record file is given: with its CR LF, all that the game reads.
inline constexpr std::size_t kMaxLine = native::kRecordReadLimit - 2;

// What a call did; on failure, what was being done, and where.
struct Outcome {
    native::Error error;
    FileAction action = FileAction::Use;
    native::Path path;
    bool folder = false; // the path is the record's folder
    bool saved = false;

    // Another copy held the record's lock past the deadline; nothing was done.
    bool busy() const { return error == native::kBusy; }
};

// Makes what is missing where it may (the folder, empty record files, the
// journal), finishes or drops a save that was cut short, and checks that both
// record files can be written. A file it may not make stays missing, and reads
// as no record; busy when the lock is held.
Outcome prepare(const native::Path &folder);

// Saves score and name (each a line without its line end) when score, a whole
// number, beats the record on disk, read as the game reads a record. First the
// score file, then the name file, each ended by CR LF. Both files are open
// before anything is written (a file that cannot be had leaves both as they
// were), and a save cut short at any moment is finished or dropped by the next
// call, so that the two files hold the old record or the new one.
Outcome saveIfBetter(const native::Path &folder, const std::string &score, const std::string &name);

// Puts whole file contents in place when the score file is empty: a record kept
// by an older version elsewhere, carried over once.
Outcome carryOver(const native::Path &folder, const std::string &scoreContent,
                  const std::string &nameContent);

// The score file's content and the name file's.
struct Contents {
    std::string score;
    std::string name;
};

// What the record files hold, as the game shows them: each read from the start,
// at most kRecordReadLimit bytes, never through a link; a missing file, or one
// that another program holds without sharing it (Windows), reads as empty. Read
// under the record's lock, so that a save is never seen half done, and writing
// nothing: a whole journal is a save under way or cut short (the next prepare
// finishes it), and stands for the files. Where the lock cannot be had (the
// journal is not this process's to open, as for a game without its keeper, or
// another copy holds the lock past the deadline), the files are read as they
// are, a whole journal still standing for them.
Outcome readRecord(const native::Path &folder, Contents &record);

// The journal's content for a save of these two file contents, and back; no
// value for anything that a whole journal could not be.
std::string journalOf(const std::string &scoreContent, const std::string &nameContent);
std::optional<Contents> parseJournal(const std::string &journal);

} // namespace quorvela::store
