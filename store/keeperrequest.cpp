#include "keeperrequest.h"

#include "keeper.h"
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
    if (words.size() == 1 && words[0] == kRead)
        return Request{Command::Read, {}, {}};
    if (words.size() == 3 && words[0] == "save" && isScore(words[1]) && isName(words[2]))
        return Request{Command::Save, std::string(words[1]), std::string(words[2])};
    return std::nullopt;
}

std::string saveRequest(const std::string &score, const std::string &name)
{
    return "save" + std::string(1, '\0') + score + '\0' + name;
}

// The longest answer, both files whole, fits in one message.
static_assert(sizeof kRecord + 4 + 1 + 2 * native::kRecordReadLimit <= kMaxMessage);

std::string recordAnswer(const store::Contents &record)
{
    const std::string score = record.score.substr(0, native::kRecordReadLimit);
    const std::string name = record.name.substr(0, native::kRecordReadLimit);
    return kRecord + std::string(1, '\0') + std::to_string(score.size()) + '\0' + score + name;
}

std::optional<store::Contents> parseRecordAnswer(std::string_view answer)
{
    const std::string_view head(kRecord, sizeof kRecord); // the word and its NUL
    if (answer.substr(0, head.size()) != head)
        return std::nullopt;
    answer.remove_prefix(head.size());
    const std::size_t end = answer.find('\0');
    const std::string_view length = answer.substr(0, end);
    if (end == answer.npos || length.empty() || length.size() > 4 ||
        (length[0] == '0' && length.size() > 1) ||
        length.find_first_not_of("0123456789") != length.npos)
        return std::nullopt;
    const std::size_t scoreSize = std::stoul(std::string(length));
    const std::string_view files = answer.substr(end + 1);
    if (scoreSize > native::kRecordReadLimit || scoreSize > files.size() ||
        files.size() - scoreSize > native::kRecordReadLimit)
        return std::nullopt;
    return store::Contents{std::string(files.substr(0, scoreSize)),
                           std::string(files.substr(scoreSize))};
}

} // namespace quorvela::keeper
