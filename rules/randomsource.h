// The game's one random source: single-precision draws in [0, 1).
#pragma once

#include <cstdint>
#include <random>

namespace quorvela {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // The next value r, 0 <= r < 1; never exactly 1.
    virtual float next() = 0;
    // A fresh seed from the time of day.
    virtual void reseedFromClock() = 0;
};

// A draw from 1 to k: the whole part of r x k + 1, computed in double so that an
// r just below 1 still gives k.
int drawFrom(float r, int k);

class ClockSeededRandom final : public RandomSource {
public:
    ClockSeededRandom();
    float next() override;
    void reseedFromClock() override;

private:
    std::mt19937 engine_;
    std::uint64_t reseeds_ = 0;
};

} // namespace quorvela
