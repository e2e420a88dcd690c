// Counting answers and the words of praise.
#include "scoring.h"

#include <array>

namespace quorvela {

std::int16_t countedUp(std::int16_t counter, int total)
{
    return total < kMaxCount ? std::int16_t(counter + 1) : counter;
}

QString praise(int n)
{
    static const std::array<QString, 8> praises = {
        QStringLiteral("Esatto. Sei eccezionale!!!"),
        QStringLiteral("OKKKKKKKKKKKKK!!!"),
        QStringLiteral("F A N T A S T I C O!!!"),
        QStringLiteral("M I T I C O!!!"),
        QStringLiteral("O T T I M O!!!"),
        QStringLiteral("SEI UN CAMPIONE!!!"),
        QStringLiteral("SEI INSUPERABILE!!!"),
        QStringLiteral("E S A T T O!!!"),
    };
    return praises.at(std::size_t(n - 1));
}

} // namespace quorvela
