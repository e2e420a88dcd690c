// What the record's keeper is asked by its game, read strictly: it runs with the
// rights of the games group, so nothing else is taken in.
#pragma once

#include <optional>
#include <string>

namespace quorvela::keeper {

enum class Command { Prepare, Save };

struct Request {
    Command command = Command::Prepare;
    std::string score; // Save: 0 to 32767 in plain digits, no leading zero
    std::string name;  // Save: one line, at most kMaxLine bytes, no CR, LF or NUL
};

// "prepare", or "save SCORE NAME", as the words of a command line (a request's
// words are separated by NUL); nothing for anything else.
std::optional<Request> parseRequest(int argc, const char *const *argv);

// The keeper's one line of answer, read back by the game:
//   "ready" (prepare), "saved" or "kept" (save), "busy" (the lock stayed taken
//   past the deadline, or the folder was replaced; nothing was done), "refused"
//   (the keeper may not write: a file-size limit it cannot raise), or
//   "error ACTION FOLDER ERRNO SYSTEMCODE PATH" with ACTION the FileAction's
//   number and FOLDER 1 when the path is the record's folder.
inline constexpr char kReady[] = "ready";
inline constexpr char kSaved[] = "saved";
inline constexpr char kKept[] = "kept";
inline constexpr char kBusy[] = "busy";
inline constexpr char kRefused[] = "refused";
inline constexpr char kError[] = "error";

} // namespace quorvela::keeper
