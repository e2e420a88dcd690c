#include "randomsource.h"

#include <chrono>
#include <cmath>

namespace quorvela {

int drawFrom(float r, int k)
{
    return int(std::floor(double(r) * k + 1.0));
}

ClockSeededRandom::ClockSeededRandom()
{
    reseedFromClock();
}

float ClockSeededRandom::next()
{
    // 24 random bits fill a float's mantissa exactly, so the largest value is
    // 1 - 2^-24. generate_canonical<float> may round up to 1.0 in libstdc++.
    return float(engine_() >> 8) * (1.0f / 16777216.0f);
}

void ClockSeededRandom::reseedFromClock()
{
    // Nanoseconds of the time of day, plus a count of reseeds: two reseeds on a
    // coarse clock still give different sequences.
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ns =
        std::uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    ++reseeds_;
    std::seed_seq seq{std::uint32_t(ns), std::uint32_t(ns >> 32), std::uint32_t(reseeds_),
                      std::uint32_t(reseeds_ >> 32)};
    engine_.seed(seq);
}

} // namespace quorvela
