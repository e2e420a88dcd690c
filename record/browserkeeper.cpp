#include "browserkeeper.h"

#include "store/leadingnumber.h"

namespace quorvela {

StoredRecord splitStoredRecord(const std::string &bytes)
{
    const std::size_t end = bytes.find("\r\n");
    if (end == std::string::npos)
        return {bytes, {}};
    return {bytes.substr(0, end + 2), bytes.substr(end + 2)};
}

RecordText BrowserKeeper::read(const QString &)
{
    // Storage the browser keeps from the page reads as no record: the pupil
    // plays all the same, and is told at the end if a record cannot be kept.
    const StoredRecord record = splitStoredRecord(storage_.read().value_or(std::string()));
    return recordTextOf(record.score, record.name);
}

Saving BrowserKeeper::saveIfBetter(const QString &, const QString &score, const QString &name)
{
    const std::optional<std::string> stored = storage_.read();
    if (!stored)
        return Saving::NotKept;
    const std::string scoreLine = recordLineOf(score);
    if (leadingNumber(splitStoredRecord(*stored).score) >= leadingNumber(scoreLine))
        return Saving::Kept;
    // One item, written at once: a record never pairs one game's score with
    // another's name.
    return storage_.write(scoreLine + "\r\n" + recordLineOf(name) + "\r\n") ? Saving::Saved
                                                                            : Saving::NotKept;
}

} // namespace quorvela
