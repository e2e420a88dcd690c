#include "numbers.h"

#include "store/leadingnumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace quorvela {

double lenientReading(const QString &text)
{
    // Only ASCII characters take part in a number; others stop it in UTF-8 too.
    const QByteArray bytes = text.toUtf8();
    return leadingNumber(std::string_view(bytes.constData(), std::size_t(bytes.size())));
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
