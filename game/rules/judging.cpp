// The pure rules of an answer: which keys edit it, and its two tests.
#include "judging.h"

#include "keycodes.h"
#include "numbers.h"

namespace quorvela {

bool isAnswerKey(std::int16_t keyAscii)
{
    // "/" and "+" compared as one-character texts, the rest by code.
    const QString text{QChar(char16_t(keyAscii))};
    if (text == u"/" || text == u"+")
        return true;
    return (keyAscii >= 48 && keyAscii <= 57) || keyAscii == 32 || keyAscii == kBackspace;
}

bool matchesSumTexts(const QString &numerator, const QString &denominator,
                     const QString &sumNumerator, const QString &sumDenominator)
{
    return lenientReading(numerator) == lenientReading(sumNumerator) &&
           lenientReading(denominator) == lenientReading(sumDenominator);
}

bool isCorrectAnswer(const QString &numerator, const QString &denominator, std::int32_t resultNum,
                     std::int32_t resultDen)
{
    return strictReading(numerator) == double(resultNum) &&
           strictReading(denominator) == double(resultDen);
}

} // namespace quorvela
