// The clock's arithmetic and text, apart from any window.
#pragma once

#include <QString>
#include <cstdint>

namespace quorvela {

// Three two-digit fields joined by ":", such as 00:09:59.
QString clockText(int hours, int minutes, float seconds);
// The same text for a whole number of seconds, such as 598 -> 00:09:58.
QString clockTextOfSeconds(int seconds);

// One second down, borrowing from the minutes and then the hours as needed.
void countOneSecondDown(std::int16_t &hours, std::int16_t &minutes, float &seconds);

} // namespace quorvela
