// The codes of the keys that the game tells apart by code.
#pragma once

#include <cstdint>

namespace quorvela {

constexpr std::int16_t kEnter = 13;
constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kEscape = 27;

} // namespace quorvela
