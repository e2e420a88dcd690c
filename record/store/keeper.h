// What the record's keeper and the game it starts agree on, and the game's
// environment as the keeper hands it on. POSIX only.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quorvela::keeper {

// The game's end of the socket pair: its descriptor in the game.
inline constexpr int kGameSocket = 3;
// Room for the longest request: "save", a score, a record line.
inline constexpr std::size_t kMaxMessage = 8192;
// The keeper's status when it could not start the game.
inline constexpr int kCannotStart = 127;

// Of an environment, what the game needs in a desktop session (display, session
// bus, runtime folder, locale, home, accessibility, scaling, input method) and
// nothing that loads code: no LD_*, no plugin or module paths, and no desktop's
// name, through which Qt would load GTK, which loads the modules a player's own
// settings name. A fixed PATH.
std::vector<std::string> gameEnvironment(const char *const *environment);

} // namespace quorvela::keeper
