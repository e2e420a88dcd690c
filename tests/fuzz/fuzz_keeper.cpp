// What the record's keeper takes in, with the rights of the games group: its
// requests (words split at NUL bytes), the journal it finds, and the caller's
// environment it hands the game (entries split at NUL bytes). Any bytes are
// refused or read within their bounds, never a crash; what is taken in is what
// the strict rules allow. And the record as its answer carries it to the game.
#include "store/keeperrequest.h"
#include "privileged/keeperenv.h"
#include "store/recordstore.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace quorvela;
    const std::string bytes(reinterpret_cast<const char *>(data), size);

    if (const auto request = keeper::parseRequest(bytes)) {
        if (request->name.size() > store::kMaxLine ||
            request->name.find_first_of("\r\n") != std::string::npos ||
            (request->command == keeper::Command::Save &&
             (request->score.empty() || request->score.size() > 5 ||
              (request->score[0] == '0' && request->score.size() > 1) ||
              std::atoi(request->score.c_str()) > 32767)))
            std::abort();
    }

    // The game's environment: never a variable that loads code.
    std::vector<std::string> entries;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1)
        entries.push_back(bytes.substr(start, end - start));
    entries.push_back(bytes.substr(start));
    std::vector<const char *> environment;
    for (const std::string &entry : entries)
        environment.push_back(entry.c_str());
    environment.push_back(nullptr);
    for (const std::string &entry : keeper::gameEnvironment(environment.data())) {
        if (entry.rfind("LD_", 0) == 0 || entry.rfind("GTK_", 0) == 0 ||
            entry.rfind("QT_PLUGIN_PATH=", 0) == 0 || entry.rfind("XDG_CURRENT_DESKTOP=", 0) == 0 ||
            entry.find('=') == std::string::npos)
            std::abort();
    }

    if (const auto contents = store::parseJournal(bytes)) {
        // A journal taken in is one that a save could have written.
        if (store::journalOf(contents->score, contents->name) != bytes)
            std::abort();
    }

    // An answer taken in is one that the keeper could have made.
    if (const auto record = keeper::parseRecordAnswer(bytes)) {
        if (keeper::recordAnswer(*record) != bytes)
            std::abort();
    }
    return 0;
}
