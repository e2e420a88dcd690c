// The problem as a screen reader says it, in Italian: "sette quarti più due terzi".
#pragma once

#include <QString>

namespace quorvela {

// A fraction in words; a denominator of 1 reads as the whole number alone.
// Numbers outside what the game draws are read as digits.
QString spokenFraction(int numerator, int denominator);
QString spokenSum(int num1, int den1, int num2, int den2);

} // namespace quorvela
