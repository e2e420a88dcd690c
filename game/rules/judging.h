// What the answer boxes make of a key, and the two tests of an answer.
#pragma once

#include <QString>
#include <cstdint>

namespace quorvela {

// Digits, blank, backspace, "/" and "+" edit the answer; every other key,
// Enter included, is a command key.
bool isAnswerKey(std::int16_t keyAscii);

// The judging: lenient readings of the boxes against those of the sum's texts.
// False means a wrong answer, counted and announced.
bool matchesSumTexts(const QString &numerator, const QString &denominator,
                     const QString &sumNumerator, const QString &sumDenominator);

// The scoring: strict readings of the boxes against the sum. A box that is no
// number as a whole (such as "3/4") is not a correct answer.
bool isCorrectAnswer(const QString &numerator, const QString &denominator, std::int32_t resultNum,
                     std::int32_t resultDen);

} // namespace quorvela
