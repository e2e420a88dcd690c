// What the record's helper takes in, with the rights of the games group: its
// arguments (here the input split at NUL bytes), the journal it finds, and what
// it reads of its caller in /proc. Any bytes are refused or read within their
// bounds, never a crash; what is taken in is what the strict rules allow.
#include "record/store/callercheck.h"
#include "record/store/helperrequest.h"
#include "record/store/recordstore.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace quorvela;
    const std::string bytes(reinterpret_cast<const char *>(data), size);

    std::vector<std::string> words{"quorvela-record"};
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1)
        words.push_back(bytes.substr(start, end - start));
    words.push_back(bytes.substr(start));
    std::vector<const char *> argv;
    for (const std::string &word : words)
        argv.push_back(word.c_str());
    argv.push_back(nullptr);
    if (const auto request = helper::parseRequest(int(words.size()), argv.data())) {
        if (request->name.size() > store::kMaxLine ||
            request->name.find_first_of("\r\n") != std::string::npos ||
            (request->command == helper::Command::Save &&
             (request->score.empty() || request->score.size() > 5 ||
              (request->score[0] == '0' && request->score.size() > 1) ||
              std::atoi(request->score.c_str()) > 32767)))
            std::abort();
    }

    // A stat that finds every path a file of root's: only the parsing is tried.
    const auto anyFile = [](const char *, struct stat *st) {
        *st = {};
        st->st_mode = S_IFREG | 0644;
        return 0;
    };
    helper::tracerOf(bytes);
    helper::loadsForeignCode(bytes);
    helper::mappingsTrusted(bytes, {0}, anyFile);

    if (const auto contents = store::parseJournal(bytes)) {
        // A journal taken in is one that a save could have written.
        if (store::journalOf(contents->score, contents->name) != bytes)
            std::abort();
    }
    return 0;
}
