// Any pair of answer texts against any expected sum: no crash, and an answer
// whose boxes are, as a whole, the sum's numbers is always judged right.
#include "rules/judging.h"
#include "rules/numbers.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace quorvela;
    if (size < 8)
        return 0;
    std::int32_t resultNum = 0, resultDen = 0;
    std::memcpy(&resultNum, data, 4);
    std::memcpy(&resultDen, data + 4, 4);
    const QString rest =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 8), qsizetype(size - 8));
    const qsizetype cut = rest.indexOf(u'\n');
    const QString numerator = cut < 0 ? rest : rest.left(cut);
    const QString denominator = cut < 0 ? QString() : rest.mid(cut + 1);
    // The sum's texts as the game writes them: plain decimal digits.
    const QString sumNumerator = shortestText(resultNum);
    const QString sumDenominator = shortestText(resultDen);

    const Verdict verdict =
        judge(numerator, denominator, sumNumerator, sumDenominator, resultNum, resultDen);
    const bool wholeNumbers = strictReading(numerator) == double(resultNum) &&
                              strictReading(denominator) == double(resultDen);
    const bool differs = lenientReading(numerator) != lenientReading(sumNumerator) ||
                         lenientReading(denominator) != lenientReading(sumDenominator);
    if (wholeNumbers != verdict.right || differs != verdict.wrong)
        std::abort();
    wrongMessage(sumNumerator, sumDenominator);
    return 0;
}
