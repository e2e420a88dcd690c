// Reading numbers out of text and writing them back, as the game shows them.
#pragma once

#include <QLocale>
#include <QString>
#include <optional>

namespace quorvela {

// The number at the start of a text: blanks, tabs and line feeds anywhere are
// skipped, "." is the decimal point whatever the locale, and a text with no
// leading number reads as 0. Never fails: overflow gives an infinity.
double lenientReading(const QString &text);

// The whole text (blanks around it allowed) as a number written the way the
// locale writes numbers; no number for anything else, infinities included.
std::optional<double> strictReading(const QString &text, const QLocale &locale = QLocale());

// "00": at least two digits, zero-padded on the left.
QString format00(int value);
// "###0" and "####0": plain decimal digits, "0" for zero.
QString formatPlain(int value);
// A number written without a format: its shortest decimal text.
QString shortestText(double value);

} // namespace quorvela
