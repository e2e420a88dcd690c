// The record kept by a web browser, for the game in a web page: one item of the
// page's site storage holds the score file's bytes followed by the name file's,
// per browser profile as the record files are per machine. The game reads the
// record from it at start-up, and a better score is written back to it.
#pragma once

#include "recordkeeper.h"

#include <optional>
#include <string>

namespace quorvela {

// Where the record is stored: the browser's storage in the page, a map in tests.
class RecordStorage {
public:
    virtual ~RecordStorage() = default;
    // The stored bytes, empty when nothing is stored yet; none when the browser
    // lets the page keep no data (blocked by its settings).
    virtual std::optional<std::string> read() = 0;
    // Replaces the stored bytes whole; false when the browser refuses (full, or
    // blocked).
    virtual bool write(const std::string &bytes) = 0;
};

// The score file's and the name file's contents within the stored bytes: the
// score file is the first line with its line end, the name file the rest.
struct StoredRecord {
    std::string score;
    std::string name;
};
StoredRecord splitStoredRecord(const std::string &bytes);

class BrowserKeeper final : public RecordKeeper {
public:
    explicit BrowserKeeper(RecordStorage &storage) : storage_(storage) {}
    // The storage needs nothing made.
    void prepare(const QString &) override {}
    // What the storage holds; no record when it holds nothing or cannot be read.
    RecordText read(const QString &folder) override;
    // Compares with the stored record, which a game in another tab may have
    // raised since start-up, and stores score and name when the score beats it.
    Saving saveIfBetter(const QString &folder, const QString &score, const QString &name) override;

private:
    RecordStorage &storage_;
};

// The browser's own storage (localStorage) of the page's site; only in a build
// for the browser.
RecordStorage &siteStorage();

} // namespace quorvela
