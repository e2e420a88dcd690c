#include "leadingnumber.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <string>

namespace quorvela {

namespace {

bool isSkipped(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Enough significant digits to round any decimal to the nearest double; digits
// beyond only matter as "something non-zero follows", kept as one sticky digit.
constexpr int kMaxDigits = 800;
// Exponents beyond this already give 0 or infinity, so bigger ones are clamped
// rather than overflowing an int.
constexpr long kExponentClamp = 100000;

class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) { skip(); }
    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void advance()
    {
        ++pos_;
        skip();
    }

private:
    void skip()
    {
        while (pos_ < text_.size() && isSkipped(text_[pos_]))
            ++pos_;
    }
    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

double leadingNumber(std::string_view text)
{
    Cursor in(text);
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-') {
        negative = in.peek() == '-';
        in.advance();
    }

    std::string digits; // significant digits, leading zeros dropped
    long exponent = 0;  // decimal exponent of the last kept digit
    bool sticky = false;
    bool anyDigit = false;
    bool seenPoint = false;
    for (;;) {
        const char c = in.peek();
        if (isDigit(c)) {
            anyDigit = true;
            if (digits.empty() && c == '0') {
                if (seenPoint)
                    --exponent;
            } else if (digits.size() < kMaxDigits) {
                digits.push_back(c);
                if (seenPoint)
                    --exponent;
            } else {
                sticky = sticky || c != '0';
                if (!seenPoint)
                    ++exponent;
            }
            in.advance();
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            in.advance();
        } else {
            break;
        }
    }
    if (!anyDigit)
        return 0.0;

    const char e = in.peek();
    if (e == 'e' || e == 'E') {
        in.advance();
        bool expNegative = false;
        if (in.peek() == '+' || in.peek() == '-') {
            expNegative = in.peek() == '-';
            in.advance();
        }
        long value = 0;
        while (isDigit(in.peek())) {
            value = std::min(kExponentClamp, value * 10 + (in.peek() - '0'));
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
    double magnitude = 0.0;
#ifdef __cpp_lib_to_chars
    // from_chars, unlike strtod, ignores the C locale that Qt sets from the user's.
    const auto [ptr, error] =
        std::from_chars(literal.data(), literal.data() + literal.size(), magnitude);
    const bool outOfRange = error == std::errc::result_out_of_range;
#else
    // The browser's C library (emscripten's) has no from_chars for double, and
    // knows no locale but "C".
    errno = 0;
    magnitude = std::strtod(literal.c_str(), nullptr);
    const bool outOfRange = errno == ERANGE;
#endif
    if (outOfRange)
        magnitude =
            long(digits.size()) + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
}

} // namespace quorvela
