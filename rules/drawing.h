// The draws of a problem a/b + c/d, and its sum in lowest terms.
#pragma once

#include "randomsource.h"

#include <cstdint>
#include <vector>

namespace quorvela {

struct Problem {
    int num1 = 1, den1 = 1, num2 = 1, den2 = 1;
};

// Four draws, in this order: num1 from 1 to 8, den1 from 1 to 5, num2 from 1 to 8,
// den2 from 1 to 8; a second fraction that would be improper gets num2 + 2 instead.
Problem drawProblem(RandomSource &random);

// Every problem the draws can give, one for each combination of the four draws
// (8 x 5 x 8 x 8), in the order of the draws.
std::vector<Problem> everyProblem();

// The sum unreduced, num1 x den2 + num2 x den1 over den2 x den1.
std::int32_t sumNumerator(const Problem &p);
std::int32_t sumDenominator(const Problem &p);

} // namespace quorvela
