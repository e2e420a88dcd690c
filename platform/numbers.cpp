#include "numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace quorvela {

namespace {

bool isSkipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}
bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Enough significant digits to round any decimal to the nearest double; digits
// beyond only matter as "something non-zero follows", kept as one sticky digit.
constexpr int kMaxDigits = 800;
// Exponents beyond this already give 0 or infinity, so bigger ones are clamped
// rather than overflowing an int.
constexpr long kExponentClamp = 100000;

class Cursor {
public:
    explicit Cursor(const QString &text) : text_(text) { skip(); }
    bool atEnd() const { return pos_ >= text_.size(); }
    QChar peek() const { return atEnd() ? QChar() : text_.at(pos_); }
    void advance()
    {
        ++pos_;
        skip();
    }

private:
    void skip()
    {
        while (pos_ < text_.size() && isSkipped(text_.at(pos_)))
            ++pos_;
    }
    const QString &text_;
    qsizetype pos_ = 0;
};

} // namespace

double lenientReading(const QString &text)
{
    Cursor in(text);
    bool negative = false;
    if (in.peek() == u'+' || in.peek() == u'-') {
        negative = in.peek() == u'-';
        in.advance();
    }

    std::string digits; // significant digits, leading zeros dropped
    long exponent = 0;  // decimal exponent of the last kept digit
    bool sticky = false;
    bool anyDigit = false;
    bool seenPoint = false;
    for (;;) {
        const QChar c = in.peek();
        if (isDigit(c)) {
            anyDigit = true;
            if (digits.empty() && c == u'0') {
                if (seenPoint)
                    --exponent;
            } else if (digits.size() < kMaxDigits) {
                digits.push_back(char(c.unicode()));
                if (seenPoint)
                    --exponent;
            } else {
                sticky = sticky || c != u'0';
                if (!seenPoint)
                    ++exponent;
            }
            in.advance();
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
            in.advance();
        } else {
            break;
        }
    }
    if (!anyDigit)
        return 0.0;

    const QChar e = in.peek();
    if (e == u'e' || e == u'E') {
        in.advance();
        bool expNegative = false;
        if (in.peek() == u'+' || in.peek() == u'-') {
            expNegative = in.peek() == u'-';
            in.advance();
        }
        long value = 0;
        while (isDigit(in.peek())) {
            value = std::min(kExponentClamp, value * 10 + (in.peek().unicode() - u'0'));
            in.advance();
        }
        exponent += expNegative ? -value : value;
    }

    if (digits.empty())
        return negative ? -0.0 : 0.0;
    if (sticky)
        digits.push_back('1');
    exponent = std::clamp(exponent, -4 * kExponentClamp, 4 * kExponentClamp);
    const std::string literal = digits + "e" + std::to_string(exponent);
    // from_chars, unlike strtod, ignores the C locale that Qt sets from the user's.
    double magnitude = 0.0;
    const auto [ptr, error] =
        std::from_chars(literal.data(), literal.data() + literal.size(), magnitude);
    if (error == std::errc::result_out_of_range)
        magnitude =
            long(digits.size()) + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
}

std::optional<double> strictReading(const QString &text, const QLocale &locale)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    // QLocale would also let other white space (tabs, line breaks) stand around
    // the number; only blanks may, or "\v3" would count as 3 here while the
    // lenient reading of the judging sees no number.
    if (begin == end || text.at(begin).isSpace() || text.at(end - 1).isSpace())
        return std::nullopt;
    bool ok = false;
    const double value = locale.toDouble(QStringView(text).mid(begin, end - begin), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString format00(int value)
{
    const QString digits = QString::number(std::abs(qint64(value))).rightJustified(2, u'0');
    return value < 0 ? u'-' + digits : digits;
}

QString formatPlain(int value)
{
    return QString::number(value);
}

QString shortestText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace quorvela
