// What the record's keeper and the game it starts agree on. POSIX only.
#pragma once

#include "nativefile.h"

#include <cstddef>

namespace quorvela::keeper {

// The game's end of the socket pair: its descriptor in the game.
inline constexpr int kGameSocket = 3;
// Room for the longest request ("save", a score, a record line) and the longest
// answer (both record files read whole, keeperrequest.h).
inline constexpr std::size_t kMaxMessage = 2 * native::kRecordReadLimit + 64;
// The keeper's status when it could not start the game.
inline constexpr int kCannotStart = 127;

} // namespace quorvela::keeper
