// The fraction with the smallest denominator whose quotient is exactly a value.
#pragma once

#include <cstdint>

namespace quorvela {

// Meant for quotients of two small positive whole numbers; walks the
// denominators 1, 2, 3, ... and stops at the first exact match.
void FractionFromDecimal(double x, std::int32_t &numerator, std::int32_t &denominator);

} // namespace quorvela
