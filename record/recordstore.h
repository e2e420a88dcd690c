// The record on disk: the score file, the name file, and a journal that makes a
// save whole. Every write happens in place, so the files keep their owner and
// their rights, and under the lock of the journal, so copies of the game take
// turns. No Qt: the record's helper program runs this with the rights of the
// games group; the game runs it itself where there is no helper (Windows).
#pragma once

#include "platform/nativefile.h"

#include <cstddef>
#include <optional>
#include <string>

namespace quorvela::store {

inline constexpr char kScoreFile[] = "qvlmarc.txt";
inline constexpr char kNameFile[] = "qvlmarc1.txt";
inline constexpr char kJournalFile[] = "qvlmarc.journal";

// The longest line a record file is given: with its CR LF, all that the game reads.
inline constexpr std::size_t kMaxLine = native::kRecordReadLimit - 2;

// What a call did; on failure, what was being done, and where.
struct Outcome {
    native::Error error;
    FileAction action = FileAction::Use;
    native::Path path;
    bool folder = false; // the path is the record's folder
    bool saved = false;
};

// Makes what is missing where the folder allows it (the folder, empty record
// files, the journal), finishes or drops a save that was cut short, and checks
// that both record files can be written.
Outcome prepare(const native::Path &folder);

// Saves score and name (each a line without its line end) when score, a whole
// number, beats the record on disk, read as the game reads a record. First the
// score file, then the name file, each ended by CR LF. A save cut short at any
// moment is finished or dropped by the next call, so that each file holds
// either the old record or the new one.
Outcome saveIfBetter(const native::Path &folder, const std::string &score, const std::string &name);

// Puts whole file contents in place when the score file is empty: a record kept
// by an older version elsewhere, carried over once.
Outcome carryOver(const native::Path &folder, const std::string &scoreContent,
                  const std::string &nameContent);

// The journal's content for a save of these two file contents, and back; no
// value for anything that a whole journal could not be.
std::string journalOf(const std::string &scoreContent, const std::string &nameContent);
struct Contents {
    std::string score;
    std::string name;
};
std::optional<Contents> parseJournal(const std::string &journal);

} // namespace quorvela::store
