#include "keypress.h"

namespace quorvela {

std::optional<std::int16_t> keyAsciiOf(const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kEnter;
    case Qt::Key_Backspace:
        return kBackspace;
    case Qt::Key_Escape:
        return kEscape;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return std::nullopt;
    const char16_t unit = text.at(0).unicode();
    if (unit < 32 || unit == 127)
        return std::nullopt;
    return std::int16_t(unit);
}

} // namespace quorvela
