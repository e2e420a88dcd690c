#include "fraction.h"

#include <cmath>

namespace quorvela {

void FractionFromDecimal(double x, std::int32_t &numerator, std::int32_t &denominator)
{
    numerator = 1;
    denominator = 1;
    double q = double(numerator) / 1.0;
    while (q != x) {
        if (q < x) {
            ++numerator;
        } else {
            ++denominator;
            // nearbyint rounds halves to even in the default rounding mode.
            numerator = std::int32_t(std::nearbyint(denominator * x));
        }
        q = double(numerator) / double(denominator);
    }
}

} // namespace quorvela
