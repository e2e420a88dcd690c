// Any text, read strictly in three locales: no crash, a number is always
// finite, and blanks around the text change nothing.
#include "rules/numbers.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using quorvela::strictReading;
    static const QLocale locales[] = {QLocale::c(), QLocale(QLocale::Italian, QLocale::Italy),
                                      QLocale(QLocale::English, QLocale::UnitedStates)};
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QLocale &locale : locales) {
        const auto value = strictReading(text, locale);
        if (value && !std::isfinite(*value))
            std::abort();
        if (strictReading(QStringLiteral("  ") + text + QStringLiteral(" "), locale) != value)
            std::abort();
    }
    return 0;
}
