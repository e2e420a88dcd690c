// Counting answers and praising the right ones.
#pragma once

#include <QString>
#include <cstdint>

namespace quorvela {

// Counters and their total are 16-bit. Once the total reaches 32767 no answer
// is counted any more, so nothing overflows and the total stays the sum.
constexpr int kMaxCount = 32767;
std::int16_t countedUp(std::int16_t counter, int total);

// The praise for a draw n from 1 to 8, as shown.
QString praise(int n);
// The same praise in words a speech synthesiser says as words: spaced letters
// as one word, a letter said once, one "!", the sentence's own case.
QString spokenPraise(int n);

} // namespace quorvela
