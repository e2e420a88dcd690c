// The number at the start of a text, without Qt: the record's helper reads the
// score file with it, as the game reads every typed or stored number.
#pragma once

#include <string_view>

namespace quorvela {

// Blanks, tabs and line feeds anywhere are skipped, "." is the decimal point
// whatever the locale, and a text with no leading number reads as 0. Never
// fails: overflow gives an infinity. Bytes outside ASCII stop the number.
double leadingNumber(std::string_view text);

} // namespace quorvela
