#include "clocktext.h"

#include "numbers.h"

namespace quorvela {

QString clockText(int hours, int minutes, float seconds)
{
    return format00(hours) + u':' + format00(minutes) + u':' + format00(int(seconds));
}

QString clockTextOfSeconds(int seconds)
{
    return clockText(seconds / 3600, seconds / 60 % 60, float(seconds % 60));
}

void countOneSecondDown(std::int16_t &hours, std::int16_t &minutes, float &seconds)
{
    if (seconds == 0.0f) {
        if (minutes > 0) {
            --minutes;
            seconds = 60.0f;
        } else if (hours > 0) {
            --hours;
            minutes = 59;
            seconds = 60.0f;
        }
    }
    seconds -= 1.0f;
}

} // namespace quorvela
