#include "spoken.h"

#include "game/rules/scoring.h"

#include <QRegularExpression>
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

QString spokenPraise(int n)
{
    // Letters spaced out one by one are one word.
    QString text = praise(n);
    static const QRegularExpression spaced(QStringLiteral("^(\\w )+\\w\\b"));
    if (const QRegularExpressionMatch m = spaced.match(text); m.hasMatch())
        text.replace(0, m.capturedLength(), m.captured(0).remove(u' '));
    // A letter said three times or more is said once, and "!!!" is one "!".
    static const QRegularExpression repeated(QStringLiteral("(\\w)\\1{2,}"));
    text.replace(repeated, QStringLiteral("\\1"));
    static const QRegularExpression bangs(QStringLiteral("!+"));
    text.replace(bangs, QStringLiteral("!"));
    // Capitals are read letter by letter by some synthesisers: the sentence's own case.
    text = text.toLower();
    text[0] = text[0].toUpper();
    return text;
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
