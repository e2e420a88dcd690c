#include "recordstore.h"

#include "leadingnumber.h"

#include <cerrno>
#include <cstdint>
#include <utility>

namespace quorvela::store {

namespace {

using native::Error;
using native::Handle;
using native::Path;

// The bytes the game reads of a record file, and those a journal may hold.
constexpr std::size_t kReadLimit = native::kRecordReadLimit;
constexpr char kMagic[] = "QVJ1";
constexpr std::size_t kMagicSize = sizeof kMagic - 1;
constexpr std::size_t kJournalLimit = kMagicSize + 2 * (4 + kReadLimit) + 8;

std::uint64_t fnv1a(const std::string &bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes)
        hash = (hash ^ std::uint8_t(c)) * 1099511628211ull;
    return hash;
}

void putNumber(std::string &out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(char((value >> (8 * i)) & 0xff));
}

std::uint64_t getNumber(const std::string &in, std::size_t at, int bytes)
{
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= std::uint64_t(std::uint8_t(in[at + std::size_t(i)])) << (8 * i);
    return value;
}

// A file open for this call, closed when it goes.
class File {
public:
    File() = default;
    ~File()
    {
        if (handle_ != native::kNoHandle)
            native::close(handle_);
    }
    File(const File &) = delete;
    File &operator=(const File &) = delete;
    Handle &handle() { return handle_; }

private:
    Handle handle_ = native::kNoHandle;
};

Outcome failed(Error error, FileAction action, const Path &path, bool folder = false)
{
    return {error, action, path, folder, false};
}

// An existing record file, or a new empty one where it is missing: the folder's
// spare, or a file of this process's own where it may make one. ENOENT when it
// may make none.
Error openOrCreate(const Path &path, unsigned mode, File &file)
{
    Error error = native::openRegular(path, native::Access::ReadWrite, file.handle());
    if (error != ENOENT)
        return error;
    const Path spare = path.parent_path() / spareOf(path.filename().string());
    error = native::moveIntoPlace(spare, path);
    if (!error || error == EEXIST)
        return native::openRegular(path, native::Access::ReadWrite, file.handle());
    if (error != ENOENT || !native::mayMakeFilesIn(path.parent_path()))
        return error;
    error = native::createNew(path, mode, file.handle());
    // Made by another copy in the meantime.
    return error == EEXIST ? native::openRegular(path, native::Access::ReadWrite, file.handle())
                           : error;
}

// The folder and any missing parents; only the folder itself is shared.
Error makeFolders(const Path &folder, bool shared)
{
    const Error status = native::folderStatus(folder);
    if (status != ENOENT)
        return status;
    const Path parent = folder.parent_path();
    if (!parent.empty() && parent != folder)
        if (const Error error = makeFolders(parent, false))
            return error;
    const Error error = native::makeFolder(folder, shared);
    // Made by another copy in the meantime.
    return error == EEXIST ? Error() : error;
}

// The record, locked: the journal open and locked, any cut-short save finished
// or dropped.
class Locked {
public:
    explicit Locked(const Path &folder) : folder_(folder) {}

    Outcome take()
    {
        // Gone, or turned into something else, since start-up.
        if (const Error error = native::folderStatus(folder_))
            return failed(error, FileAction::Use, folder_, true);
        const Path journal = folder_ / kJournalFile;
        if (const Error error = openOrCreate(journal, kJournalMode, journal_))
            return failed(error, FileAction::Create, journal);
        if (const Error error = native::lock(journal_.handle(), kLockDeadline))
            return failed(error, FileAction::Use, folder_, true);
        std::string content;
        if (const Error error = native::readAll(journal_.handle(), content, kJournalLimit))
            return failed(error, FileAction::Read, journal);
        if (content.empty())
            return {};
        // A whole journal is a save that may have been cut short: done again.
        // Anything else was cut short while the journal was written, before
        // either file was touched.
        if (const std::optional<Contents> save = parseJournal(content)) {
            File files[2];
            if (Outcome outcome = open(files); outcome.error)
                return outcome;
            if (Outcome outcome = write(files, *save); outcome.error)
                return outcome;
        }
        if (const Error error = native::rewrite(journal_.handle(), std::string()))
            return failed(error, FileAction::Write, journal);
        return {};
    }

    // Both files in place, through the journal: both open first, so that a file
    // that cannot be had (deleted, its spare used) leaves the record as it was.
    Outcome save(const Contents &contents)
    {
        const Path journal = folder_ / kJournalFile;
        File files[2];
        if (Outcome outcome = open(files); outcome.error)
            return outcome;
        if (const Error error =
                native::rewrite(journal_.handle(), journalOf(contents.score, contents.name)))
            return failed(error, FileAction::Write, journal);
        if (Outcome outcome = write(files, contents); outcome.error)
            return outcome;
        if (const Error error = native::rewrite(journal_.handle(), std::string()))
            return failed(error, FileAction::Write, journal);
        Outcome done;
        done.saved = true;
        return done;
    }

    // The score file's content as the game reads it.
    Outcome readScore(std::string &content)
    {
        const Path path = folder_ / kScoreFile;
        File file;
        if (const Error error = openOrCreate(path, kFileMode, file))
            return failed(error, FileAction::Create, path);
        if (const Error error = native::readAll(file.handle(), content, kReadLimit))
            return failed(error, FileAction::Read, path);
        return {};
    }

private:
    // The score file and the name file, open; then the journal, still the
    // folder's: a keeper stopped while a setup replaced the folder holds the old
    // folder's journal, and writes nothing into the new record.
    Outcome open(File (&files)[2])
    {
        const char *const names[] = {kScoreFile, kNameFile};
        for (int i = 0; i < 2; ++i) {
            const Path path = folder_ / names[i];
            if (const Error error = openOrCreate(path, kFileMode, files[i]))
                return failed(error, FileAction::Write, path);
        }
        if (!native::isAt(journal_.handle(), folder_ / kJournalFile))
            return failed(native::kBusy, FileAction::Use, folder_, true);
        return {};
    }

    Outcome write(File (&files)[2], const Contents &contents)
    {
        const char *const names[] = {kScoreFile, kNameFile};
        const std::string *const texts[] = {&contents.score, &contents.name};
        for (int i = 0; i < 2; ++i)
            if (const Error error = native::rewrite(files[i].handle(), *texts[i]))
                return failed(error, FileAction::Write, folder_ / names[i]);
        return {};
    }

    Path folder_;
    File journal_;
};

} // namespace

Outcome prepare(const Path &folder)
{
    if (const Error error = makeFolders(folder, true)) {
        // An installation's folder that root removed: nothing to read, and only
        // root (at the next boot, or the package's setup) may make it again.
        if (error == EACCES || error == EPERM)
            return {};
        return failed(error, FileAction::Create, folder, true);
    }
    Locked record(folder);
    if (Outcome outcome = record.take(); outcome.error && !(outcome.error == ENOENT))
        return outcome;
    for (const char *name : {kScoreFile, kNameFile}) {
        File file;
        const Error error = openOrCreate(folder / name, kFileMode, file);
        if (error && error != ENOENT)
            return failed(error, FileAction::Create, folder / name);
    }
    return {};
}

namespace {

// Under the lock, once a cut-short save is finished: the save, when what the
// score file holds lets it be.
template <typename Allows>
Outcome saveWhen(const Path &folder, const Contents &contents, Allows allows)
{
    Locked record(folder);
    if (Outcome outcome = record.take(); outcome.error)
        return outcome;
    std::string onDisk;
    if (Outcome outcome = record.readScore(onDisk); outcome.error)
        return outcome;
    if (!allows(onDisk))
        return {};
    return record.save(contents);
}

} // namespace

Outcome saveIfBetter(const Path &folder, const std::string &score, const std::string &name)
{
    // Another copy may have saved a record at least as good since this one started.
    return saveWhen(folder, {score + "\r\n", name + "\r\n"}, [&score](const std::string &onDisk) {
        return leadingNumber(score) > leadingNumber(onDisk);
    });
}

Outcome carryOver(const Path &folder, const std::string &scoreContent,
                  const std::string &nameContent)
{
    return saveWhen(folder, {scoreContent.substr(0, kReadLimit), nameContent.substr(0, kReadLimit)},
                    [](const std::string &onDisk) { return onDisk.empty(); });
}

Outcome readRecord(const Path &folder, Contents &record)
{
    File journal;
    const bool hasJournal =
        !native::openRegular(folder / kJournalFile, native::Access::Read, journal.handle());
    // Busy (a holder stopped for ever, say): the files are read as they are.
    if (hasJournal)
        native::lock(journal.handle(), kLockDeadline);
    const char *const names[] = {kScoreFile, kNameFile};
    std::string *const contents[] = {&record.score, &record.name};
    for (int i = 0; i < 2; ++i) {
        const Path path = folder / names[i];
        File file;
        Error error = native::openRegular(path, native::Access::Read, file.handle());
        if (!error)
            error = native::readAll(file.handle(), *contents[i], kReadLimit);
        if (error == ENOENT || error == native::kBusy)
            contents[i]->clear();
        else if (error)
            return failed(error, FileAction::Read, path);
    }
    // Read after the files: a save whose holder stopped halfway shows whole.
    std::string content;
    if (hasJournal && !native::readAll(journal.handle(), content, kJournalLimit))
        if (std::optional<Contents> save = parseJournal(content))
            record = std::move(*save);
    return {};
}

std::string journalOf(const std::string &scoreContent, const std::string &nameContent)
{
    std::string journal(kMagic, kMagicSize);
    for (const std::string *content : {&scoreContent, &nameContent}) {
        putNumber(journal, content->size(), 4);
        journal += *content;
    }
    putNumber(journal, fnv1a(journal), 8);
    return journal;
}

std::optional<Contents> parseJournal(const std::string &journal)
{
    if (journal.size() < kMagicSize + 4 + 4 + 8 || journal.size() > kJournalLimit ||
        journal.compare(0, kMagicSize, kMagic) != 0)
        return std::nullopt;
    const std::size_t body = journal.size() - 8;
    if (getNumber(journal, body, 8) != fnv1a(journal.substr(0, body)))
        return std::nullopt;
    Contents contents;
    std::size_t at = kMagicSize;
    for (std::string *content : {&contents.score, &contents.name}) {
        if (at + 4 > body)
            return std::nullopt;
        const std::uint64_t size = getNumber(journal, at, 4);
        at += 4;
        if (size > kReadLimit || size > body - at)
            return std::nullopt;
        content->assign(journal, at, std::size_t(size));
        at += std::size_t(size);
    }
    if (at != body)
        return std::nullopt;
    return contents;
}

} // namespace quorvela::store
