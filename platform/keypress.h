// Which keys raise a key press, and with which 16-bit code.
#pragma once

#include "rules/keycodes.h"

#include <QKeyEvent>
#include <optional>

namespace quorvela {

// Keys that produce a character, plus Enter (main keyboard and keypad),
// Backspace and Escape. Arrows, Home/End, Delete, Tab, modifiers, function
// keys and control combinations such as Ctrl+C raise none.
std::optional<std::int16_t> keyAsciiOf(const QKeyEvent &event);

} // namespace quorvela
