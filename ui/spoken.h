// What a screen reader says, in Italian words a speech synthesiser pronounces
// well: the problem ("sette quarti più due terzi"), the verdict and the counters.
#pragma once

#include <QString>

namespace quorvela {

// A fraction in words; a denominator of 1 reads as the whole number alone.
// Numbers outside what the game draws are read as digits.
QString spokenFraction(int numerator, int denominator);
QString spokenSum(int num1, int den1, int num2, int den2);

// The praise of draw n is said as the game's rules keep it beside the shown one
// (spokenPraise in rules/scoring.h).
// A wrong answer with the expected sum in words ("Sbagliato! Il risultato è
// sette quarti.").
QString spokenWrong(int resultNum, int resultDen);
// The three counters, briefly.
QString spokenCounters(int right, int wrong, int total);

} // namespace quorvela
