// The pure rules of an answer: which keys edit it, and what it is worth.
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

Verdict judge(const QString &numerator, const QString &denominator, const QString &sumNumerator,
              const QString &sumDenominator, std::int32_t resultNum, std::int32_t resultDen)
{
    Verdict verdict;
    verdict.wrong = lenientReading(numerator) != lenientReading(sumNumerator) ||
                    lenientReading(denominator) != lenientReading(sumDenominator);
    // A box that is no number as a whole (such as "3/4") is no right answer.
    verdict.right = strictReading(numerator) == double(resultNum) &&
                    strictReading(denominator) == double(resultDen);
    return verdict;
}

QString wrongMessage(const QString &sumNumerator, const QString &sumDenominator)
{
    if (lenientReading(sumDenominator) == 1.0)
        return QStringLiteral("Sbagliato!! ") + sumNumerator;
    return QStringLiteral("Sbagliato!! ") + sumNumerator + QStringLiteral(" / ") + sumDenominator;
}

} // namespace quorvela
