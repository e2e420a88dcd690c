// The game's environment as the record's keeper hands it on. POSIX only.
#pragma once

#include <string>
#include <vector>

namespace quorvela::keeper {

// Of an environment, what the game needs in a desktop session (display, session
// bus, runtime folder, locale, home, accessibility, scaling, input method) and
// nothing that loads code: no LD_*, no plugin or module paths, and no desktop's
// name, through which Qt would load GTK, which loads the modules a player's own
// settings name. A fixed PATH.
std::vector<std::string> gameEnvironment(const char *const *environment);

} // namespace quorvela::keeper
