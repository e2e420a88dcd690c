#include "keeperrequest.h"

#include "recordstore.h"

#include <string>
#include <vector>

namespace quorvela::keeper {

namespace {

bool isScore(std::string_view text)
{
    const std::size_t length = text.size();
    // Plain digits as the score label shows them: no sign, no leading zero, and
    // 0 itself, which beats a record whose leading number is negative.
    if (length == 0 || length > 5 || (text[0] == '0' && length > 1))
        return false;
    for (std::size_t i = 0; i < length; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    // The game's counters are 16-bit.
    return std::stol(std::string(text)) <= 32767;
}

bool isName(std::string_view text)
{
    return text.size() <= store::kMaxLine && text.find_first_of("\r\n") == text.npos;
}

} // namespace

std::optional<Request> parseRequest(std::string_view message)
{
    std::vector<std::string_view> words;
    for (std::size_t start = 0;;) {
        const std::size_t end = message.find('\0', start);
        words.push_back(message.substr(start, end - start));
        if (end == message.npos)
            break;
        start = end + 1;
    }
    if (words.size() == 1 && words[0] == kPrepare)
        return Request{Command::Prepare, {}, {}};
    if (words.size() == 3 && words[0] == "save" && isScore(words[1]) && isName(words[2]))
        return Request{Command::Save, std::string(words[1]), std::string(words[2])};
    return std::nullopt;
}

std::string saveRequest(const std::string &score, const std::string &name)
{
    return "save" + std::string(1, '\0') + score + '\0' + name;
}

} // namespace quorvela::keeper
