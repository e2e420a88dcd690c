// What the record's keeper is asked by its game, read strictly: it runs with the
// rights of the games group, so nothing else is taken in.
#pragma once

#include "recordstore.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorvela::keeper {

enum class Command { Prepare, Save, Read };

struct Request {
    Command command = Command::Prepare;
    std::string score; // Save: 0 to 32767 in plain digits, no leading zero
    std::string name;  // Save: one line, at most kMaxLine bytes, no CR, LF or NUL
};

// A request's words are separated by NUL: "prepare", "read", or "save", SCORE,
// NAME; nothing for anything else.
std::optional<Request> parseRequest(std::string_view message);
inline constexpr char kPrepare[] = "prepare";
inline constexpr char kRead[] = "read";
// The request that saves a score and a name (each a line without its end).
std::string saveRequest(const std::string &score, const std::string &name);

// The keeper's answer, read back by the game:
//   "ready" (prepare), "saved" or "kept" (save), "busy" (the lock stayed taken
//   past the deadline, or the folder was replaced; nothing was done), "refused"
//   (the keeper may not write: a file-size limit it cannot raise), or
//   "error ACTION FOLDER ERRNO SYSTEMCODE PATH" with ACTION the FileAction's
//   number and FOLDER 1 when the path is the record's folder;
//   to read, the record (recordAnswer).
inline constexpr char kReady[] = "ready";
inline constexpr char kSaved[] = "saved";
inline constexpr char kKept[] = "kept";
inline constexpr char kBusy[] = "busy";
inline constexpr char kRefused[] = "refused";
inline constexpr char kError[] = "error";

// The record read: "record", NUL, the score file's length in plain digits, NUL,
// then the score file's bytes and the name file's, each at most
// kRecordReadLimit. Any bytes of either file come back as they are.
inline constexpr char kRecord[] = "record";
std::string recordAnswer(const store::Contents &record);
// Nothing for anything that recordAnswer does not make.
std::optional<store::Contents> parseRecordAnswer(std::string_view answer);

} // namespace quorvela::keeper
