#include "keeperrequest.h"

#include "recordstore.h"

#include <cstdlib>
#include <cstring>

namespace quorvela::keeper {

namespace {

bool isScore(const char *text)
{
    const std::size_t length = std::strlen(text);
    // Plain digits as the score label shows them: no sign, no leading zero, and
    // 0 itself, which beats a record whose leading number is negative.
    if (length == 0 || length > 5 || (text[0] == '0' && length > 1))
        return false;
    for (std::size_t i = 0; i < length; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    // The game's counters are 16-bit.
    return std::strtol(text, nullptr, 10) <= 32767;
}

bool isName(const char *text)
{
    const std::size_t length = std::strlen(text);
    return length <= store::kMaxLine && std::strpbrk(text, "\r\n") == nullptr;
}

} // namespace

std::optional<Request> parseRequest(int argc, const char *const *argv)
{
    if (argc == 2 && std::strcmp(argv[1], "prepare") == 0)
        return Request{Command::Prepare, {}, {}};
    if (argc == 4 && std::strcmp(argv[1], "save") == 0 && isScore(argv[2]) && isName(argv[3]))
        return Request{Command::Save, argv[2], argv[3]};
    return std::nullopt;
}

} // namespace quorvela::keeper
