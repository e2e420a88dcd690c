// Any text, read leniently: no crash, no hang, never NaN, and blanks anywhere
// change nothing.
#include "rules/numbers.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using quorvela::lenientReading;
    const QString utf8 = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString utf16(reinterpret_cast<const QChar *>(data), qsizetype(size / 2));
    for (const QString &text : {utf8, utf16}) {
        const double value = lenientReading(text);
        if (std::isnan(value))
            std::abort();
        QString spaced = text;
        spaced.insert(text.size() / 2, u' ');
        const double again = lenientReading(spaced);
        if (std::memcmp(&value, &again, sizeof value) != 0)
            std::abort();
    }
    return 0;
}
