// Counting answers and the words of praise.
#include "scoring.h"

#include <array>

namespace quorvela {

std::int16_t countedUp(std::int16_t counter, int total)
{
    return total < kMaxCount ? std::int16_t(counter + 1) : counter;
}

namespace {

struct Praise {
    QString shown;
    QString said;
};

const Praise &praiseFor(int n)
{
    static const std::array<Praise, 8> praises = {{
        {QStringLiteral("Esatto. Sei eccezionale!!!"), QStringLiteral("Esatto. sei eccezionale!")},
        {QStringLiteral("OKKKKKKKKKKKKK!!!"), QStringLiteral("Ok!")},
        {QStringLiteral("F A N T A S T I C O!!!"), QStringLiteral("Fantastico!")},
        {QStringLiteral("M I T I C O!!!"), QStringLiteral("Mitico!")},
        {QStringLiteral("O T T I M O!!!"), QStringLiteral("Ottimo!")},
        {QStringLiteral("SEI UN CAMPIONE!!!"), QStringLiteral("Sei un campione!")},
        {QStringLiteral("SEI INSUPERABILE!!!"), QStringLiteral("Sei insuperabile!")},
        {QStringLiteral("E S A T T O!!!"), QStringLiteral("Esatto!")},
    }};
    return praises.at(std::size_t(n - 1));
}

} // namespace

QString praise(int n)
{
    return praiseFor(n).shown;
}

QString spokenPraise(int n)
{
    return praiseFor(n).said;
}

} // namespace quorvela
