#include "spoken.h"

#include <QStringList>

#include <array>

namespace quorvela {

namespace {

QString cardinal(int n)
{
    static const std::array<const char *, 11> words = {
        "zero", "uno", "due", "tre", "quattro", "cinque", "sei", "sette", "otto", "nove", "dieci"};
    return n >= 0 && n <= 10 ? QString::fromLatin1(words[std::size_t(n)]) : QString::number(n);
}

// The denominator's word, singular ("terzo") or plural ("terzi").
QString ordinal(int n, bool plural)
{
    static const std::array<const char *, 11> singular = {"",       "",       "mezzo", "terzo",
                                                          "quarto", "quinto", "sesto", "settimo",
                                                          "ottavo", "nono",   "decimo"};
    if (n < 2 || n > 10)
        return QStringLiteral("fratto ") + QString::number(n);
    QString word = QString::fromLatin1(singular[std::size_t(n)]);
    if (plural)
        word[word.size() - 1] = u'i';
    return word;
}

} // namespace

QString spokenFraction(int numerator, int denominator)
{
    if (denominator == 1)
        return cardinal(numerator);
    if (numerator == 1)
        return QStringLiteral("un ") + ordinal(denominator, false);
    return cardinal(numerator) + u' ' + ordinal(denominator, true);
}

QString spokenSum(int num1, int den1, int num2, int den2)
{
    return spokenFraction(num1, den1) + QStringLiteral(" più ") + spokenFraction(num2, den2);
}

QString spokenWrong(int resultNum, int resultDen)
{
    return QStringLiteral("Sbagliato! Il risultato è ") + spokenFraction(resultNum, resultDen) +
           u'.';
}

QString spokenCounters(int right, int wrong, int total)
{
    return QStringLiteral("Risposte esatte %1, errate %2, totali %3.")
        .arg(right)
        .arg(wrong)
        .arg(total);
}

} // namespace quorvela
