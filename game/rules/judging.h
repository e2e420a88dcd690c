// What the answer boxes make of a key, and what an answer is worth.
#pragma once

#include <QString>
#include <cstdint>

namespace quorvela {

// Digits, blank, backspace, "/" and "+" edit the answer; every other key,
// Enter included, is a command key.
bool isAnswerKey(std::int16_t keyAscii);

// What an answer in the two boxes is worth.
enum class Verdict {
    Wrong,      // counted wrong, and the expected sum is shown
    Right,      // counted right, and praised
    NotCounted, // read as the sum, but not as numbers as a whole ("3/4", "1 2")
};

// Judged once: wrong when the lenient readings of the boxes differ from those of
// the sum's texts; otherwise right when their strict readings are the sum,
// otherwise not counted.
Verdict judge(const QString &numerator, const QString &denominator, const QString &sumNumerator,
              const QString &sumDenominator, std::int32_t resultNum, std::int32_t resultDen);

// The message line for a wrong answer: the sum's texts, the denominator left out
// when it reads as 1.
QString wrongMessage(const QString &sumNumerator, const QString &sumDenominator);

} // namespace quorvela
