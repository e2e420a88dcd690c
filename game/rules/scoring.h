// Counting answers and praising the right ones.
#pragma once

#include <QString>
#include <cstdint>

namespace quorvela {

// Counters and their total are 16-bit. Once the total reaches 32767 no answer
// is counted any more, so nothing overflows and the total stays the sum.
constexpr int kMaxCount = 32767;
std::int16_t countedUp(std::int16_t counter, int total);

// The praise for a draw n from 1 to 8.
QString praise(int n);

} // namespace quorvela
