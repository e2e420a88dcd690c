// What the answer boxes make of a key.
#pragma once

#include <cstdint>

namespace quorvela {

// Digits, blank, backspace, "/" and "+" edit the answer; every other key,
// Enter included, is a command key.
bool isAnswerKey(std::int16_t keyAscii);

} // namespace quorvela
