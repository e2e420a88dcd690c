// What the record's helper program is asked, read strictly from its arguments:
// it runs with the rights of the games group, so nothing else is taken in.
#pragma once

#include <optional>
#include <string>

namespace quorvela::helper {

enum class Command { Prepare, Save };

struct Request {
    Command command = Command::Prepare;
    std::string score; // Save: 0 to 32767 in plain digits, no leading zero
    std::string name;  // Save: one line, at most kMaxLine bytes, no CR, LF or NUL
};

// "prepare", or "save SCORE NAME"; nothing for anything else.
std::optional<Request> parseRequest(int argc, const char *const *argv);

// The helper's one line of answer, read back by the game:
//   "ready" (prepare), "saved" or "kept" (save), "busy" (another copy held the
//   lock past the deadline; nothing was done), "refused" (exit status 2: the
//   caller is not a game this helper serves), or
//   "error ACTION FOLDER ERRNO SYSTEMCODE PATH" with ACTION the FileAction's
//   number and FOLDER 1 when the path is the record's folder.
inline constexpr char kReady[] = "ready";
inline constexpr char kSaved[] = "saved";
inline constexpr char kKept[] = "kept";
inline constexpr char kBusy[] = "busy";
inline constexpr char kRefused[] = "refused";
inline constexpr char kError[] = "error";

} // namespace quorvela::helper
