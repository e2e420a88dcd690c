#include "browserkeeper.h"

#include "platform/fileerror.h"
#include "record/recordfiles.h"
#include "store/leadingnumber.h"

#include <QDir>
#include <QFile>

#include <cerrno>

namespace quorvela {

namespace {

void writeFile(const QString &path, const std::string &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !file.flush())
        throw FileError{path, FileAction::Write, {EIO, 0}};
}

} // namespace

StoredRecord splitStoredRecord(const std::string &bytes)
{
    const std::size_t end = bytes.find("\r\n");
    if (end == std::string::npos)
        return {bytes, {}};
    return {bytes.substr(0, end + 2), bytes.substr(end + 2)};
}

void BrowserKeeper::prepare(const QString &folder)
{
    if (!QDir().mkpath(folder))
        throw FileError{folder, FileAction::Create, {EIO, 0}, true};
    // Storage the browser keeps from the page reads as no record: the pupil
    // plays all the same, and is told at the end if a record cannot be kept.
    const StoredRecord record = splitStoredRecord(storage_.read().value_or(std::string()));
    writeFile(folder + kScoreFileName, record.score);
    writeFile(folder + kNameFileName, record.name);
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
