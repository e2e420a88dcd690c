// What the answer boxes make of a key, and what an answer is worth.
#pragma once

#include <QString>
#include <cstdint>

namespace quorvela {

// Digits, blank, backspace, "/" and "+" edit the answer; every other key,
// Enter included, is a command key.
bool isAnswerKey(std::int16_t keyAscii);

// What an answer in the two boxes is worth: two results of one judging, each
// from its own reading of the boxes. Wrong (counted wrong, the expected sum
// shown) when their lenient readings differ from those of the sum's texts;
// right (counted right, praised) when their strict readings are the sum. For
// plain whole numbers exactly one holds; other texts may give neither ("3/4",
// read as 3 but no number as a whole) or both (in an Italian locale "0,5e1"
// over 6 for 5/6: leniently 0, strictly 5).
struct Verdict {
    bool wrong = false;
    bool right = false;
    friend bool operator==(const Verdict &, const Verdict &) = default;
};

// The verdict of the boxes' texts against the sum's texts and numbers.
Verdict judge(const QString &numerator, const QString &denominator, const QString &sumNumerator,
              const QString &sumDenominator, std::int32_t resultNum, std::int32_t resultDen);

// The message line for a wrong answer: the sum's texts, the denominator left out
// when it reads as 1.
QString wrongMessage(const QString &sumNumerator, const QString &sumDenominator);

} // namespace quorvela
