// The record on disk without Qt: the file layer, the journaled store and the
// helper's strict reading of its arguments. Built for Linux and, with MinGW, for
// Windows, where it runs under Wine (through tests/native/wine-run.sh).
#include "store/nativefile.h"
#include "store/keeper.h"
#include "store/keeperrequest.h"
#include "store/recordstore.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include "privileged/keeperenv.h"

#include <csignal>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
namespace native = quorvela::native;
namespace store = quorvela::store;
namespace keeper = quorvela::keeper;

namespace {

int failures = 0;

#define CHECK(condition)                                                                           \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::printf("FAIL %s:%d: %s\n", __FILE__, __LINE__, #condition);                       \
            ++failures;                                                                            \
        }                                                                                          \
    } while (false)

std::string contents(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const fs::path &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

int entries(const fs::path &folder)
{
    int count = 0;
    for ([[maybe_unused]] const auto &entry : fs::directory_iterator(folder))
        ++count;
    return count;
}

void filesAreReadAndRewrittenInPlace(const fs::path &dir)
{
    const fs::path file = dir / "qvlmarc1.txt";
    native::Handle handle = native::kNoHandle;
    CHECK(native::createNew(file, store::kFileMode, handle) == 0);
    CHECK(native::rewrite(handle, "Niccolò\r\n") == 0);
    CHECK(native::close(handle) == 0);
    // A second creation must not truncate what the first wrote.
    CHECK(native::createNew(file, store::kFileMode, handle) == EEXIST);
    CHECK(native::openRegular(file, native::Access::ReadWrite, handle) == 0);
    // Shorter content leaves nothing of the longer one behind.
    CHECK(native::rewrite(handle, "Eva\r\n") == 0);
    std::string text;
    CHECK(native::readAll(handle, text, 100) == 0);
    CHECK(text == "Eva\r\n");
    CHECK(native::readAll(handle, text, 2) == 0 && text == "Ev");
    CHECK(native::close(handle) == 0);
    CHECK(contents(file) == "Eva\r\n");
}

void whatIsNotARegularFileIsRefused(const fs::path &dir)
{
    native::Handle handle = native::kNoHandle;
    fs::create_directory(dir / "folder");
    CHECK(native::openRegular(dir / "folder", native::Access::Read, handle) == EISDIR);
    CHECK(native::openRegular(dir / "folder", native::Access::ReadWrite, handle) == EISDIR);
    CHECK(native::openRegular(dir / "missing.txt", native::Access::Read, handle) == ENOENT);
    CHECK(native::folderStatus(dir / "missing") == ENOENT);
    CHECK(native::makeFolder(dir / "record", true) == 0);
    CHECK(native::folderStatus(dir / "record") == 0);
    CHECK(native::makeFolder(dir / "record", true) == EEXIST);
    put(dir / "plain.txt", "x");
    CHECK(native::folderStatus(dir / "plain.txt") == ENOTDIR);
#ifndef _WIN32
    // A link planted at a record's name is never written through, nor a FIFO waited on.
    fs::create_symlink(dir / "plain.txt", dir / "link.txt");
    CHECK(native::openRegular(dir / "link.txt", native::Access::ReadWrite, handle) == ELOOP);
    CHECK(native::createNew(dir / "link.txt", store::kFileMode, handle) == EEXIST);
    CHECK(::mkfifo((dir / "fifo").c_str(), 0666) == 0);
    CHECK(native::openRegular(dir / "fifo", native::Access::ReadWrite, handle) == EINVAL);
    CHECK(contents(dir / "plain.txt") == "x");
#endif
}

void lockIsExclusiveWithADeadline(const fs::path &dir)
{
    // A second taker waits while the lock is held, gets it once it is let go, and
    // gives up busy when it is held past the deadline (its holder may be stopped).
    const fs::path journal = dir / store::kJournalFile;
    native::Handle held = native::kNoHandle, other = native::kNoHandle;
    CHECK(native::createNew(journal, store::kJournalMode, held) == 0);
    CHECK(native::openRegular(journal, native::Access::ReadWrite, other) == 0);
    CHECK(native::lock(held, std::chrono::milliseconds(0)) == 0);
    const auto started = std::chrono::steady_clock::now();
    CHECK(native::lock(other, std::chrono::milliseconds(200)) == native::kBusy);
    const auto waited = std::chrono::steady_clock::now() - started;
    CHECK(waited >= std::chrono::milliseconds(200) && waited < std::chrono::seconds(10));
    std::atomic<bool> got{false};
    std::thread waiting([&] {
        if (native::lock(other, std::chrono::seconds(60)) == 0)
            got = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    CHECK(!got);
    native::close(held);
    waiting.join();
    CHECK(got);
    native::close(other);
}

void journalIsTakenOnlyWhole()
{
    const std::string journal = store::journalOf("12\r\n", "Luca\r\n");
    const auto back = store::parseJournal(journal);
    CHECK(back && back->score == "12\r\n" && back->name == "Luca\r\n");
    const auto empty = store::parseJournal(store::journalOf("", ""));
    CHECK(empty && empty->score.empty() && empty->name.empty());
    // Cut short anywhere, or changed in any byte, it is no journal.
    for (std::size_t size = 0; size < journal.size(); ++size)
        CHECK(!store::parseJournal(journal.substr(0, size)));
    for (std::size_t at = 0; at < journal.size(); ++at) {
        std::string changed = journal;
        changed[at] = char(changed[at] ^ 0x20);
        CHECK(!store::parseJournal(changed));
    }
    CHECK(!store::parseJournal(journal + "x"));
    CHECK(!store::parseJournal(std::string(5000, 'Q')));
    const std::string longest(store::kMaxLine + 2, 'n');
    CHECK(store::parseJournal(store::journalOf(longest, longest)));
    CHECK(!store::parseJournal(store::journalOf(longest + "n", "")));
}

void helperTakesOnlyStrictRequests()
{
    struct Row {
        std::vector<std::string> words;
        bool taken;
    };
    const std::string longest(store::kMaxLine, 'a');
    const Row rows[] = {
        {{"prepare"}, true},
        {{"read"}, true},
        {{"save", "12", "Luca"}, true},
        {{"save", "1", ""}, true},
        {{"save", "0", "Luca"}, true},
        {{"save", "32767", "Niccolò"}, true},
        {{"save", "7", longest}, true},
        {{}, false},
        {{"prepare", "extra"}, false},
        {{"read", ""}, false},
        {{"Read"}, false},
        {{"save", "12"}, false},
        {{"save", "12", "Luca", "extra"}, false},
        {{"Save", "12", "Luca"}, false},
        {{"save", "00", "Luca"}, false},
        {{"save", "012", "Luca"}, false},
        {{"save", "-1", "Luca"}, false},
        {{"save", "+1", "Luca"}, false},
        {{"save", "1a", "Luca"}, false},
        {{"save", "1.5", "Luca"}, false},
        {{"save", " 1", "Luca"}, false},
        {{"save", "", "Luca"}, false},
        {{"save", "32768", "Luca"}, false},
        {{"save", "123456", "Luca"}, false},
        {{"save", "12", "Lu\nca"}, false},
        {{"save", "12", "Lu\rca"}, false},
        {{"save", "12", longest + "a"}, false},
    };
    for (const Row &row : rows) {
        std::string message;
        for (std::size_t i = 0; i < row.words.size(); ++i)
            message += (i ? std::string(1, '\0') : std::string()) + row.words[i];
        const auto request = keeper::parseRequest(message);
        if (bool(request) != row.taken) {
            std::printf("FAIL request %s:", row.taken ? "refused" : "taken");
            for (const std::string &word : row.words)
                std::printf(" [%.20s]", word.c_str());
            std::printf("\n");
            ++failures;
        }
    }
}

void theRecordTravelsWholeInItsAnswer()
{
    // Any bytes of either file reach the game as they are, in one message; an
    // answer the keeper could not have made is no record.
    const std::string limit(native::kRecordReadLimit, 'x');
    const store::Contents records[] = {
        {"12\r\n", "Anna\r\n"},
        {"", ""},
        {std::string("\0\r\n9", 4), std::string("A\0\nB\r", 5)},
        {limit, limit},
    };
    for (const store::Contents &record : records) {
        const std::string answer = keeper::recordAnswer(record);
        const auto back = keeper::parseRecordAnswer(answer);
        CHECK(back && back->score == record.score && back->name == record.name);
        CHECK(answer.size() <= keeper::kMaxMessage);
    }
    const std::string z(1, '\0');
    const std::string refused[] = {
        "",
        "ready",
        "record",
        "record" + z,
        "record" + z + "0",
        "record" + z + z + "Anna",
        "record" + z + "01" + z + "1",
        "record" + z + "-1" + z + "1",
        "record" + z + "3" + z + "12",
        "record" + z + "4097" + z + limit + "xy",
        "record" + z + "0" + z + limit + "y",
        "Record" + z + "0" + z,
    };
    for (const std::string &answer : refused)
        CHECK(!keeper::parseRecordAnswer(answer));
}

void readingShowsAWholeRecord(const fs::path &dir)
{
    // The files as they are, each within its bound, a missing one empty.
    CHECK(!store::prepare(dir).error);
    std::string longScore(8001, '\x01');
    longScore[0] = '7';
    put(dir / store::kScoreFile, longScore);
    fs::remove(dir / store::kNameFile);
    store::Contents record;
    CHECK(!store::readRecord(dir, record).error);
    CHECK(record.score == longScore.substr(0, native::kRecordReadLimit));
    CHECK(record.name.empty());
    // A save cut short between the two files: the whole journal stands for them,
    // and reading writes nothing.
    put(dir / store::kScoreFile, "12\r\n");
    put(dir / store::kNameFile, "Anna\r\n");
    const std::string journal = store::journalOf("12\r\n", "Luca\r\n");
    put(dir / store::kJournalFile, journal);
    CHECK(!store::readRecord(dir, record).error);
    CHECK(record.score == "12\r\n" && record.name == "Luca\r\n");
    CHECK(contents(dir / store::kNameFile) == "Anna\r\n");
    CHECK(contents(dir / store::kJournalFile) == journal);
    // Its holder stopped with the lock: the same, within the deadline.
    native::Handle held = native::kNoHandle;
    CHECK(native::openRegular(dir / store::kJournalFile, native::Access::ReadWrite, held) == 0);
    CHECK(native::lock(held, std::chrono::milliseconds(0)) == 0);
    const auto started = std::chrono::steady_clock::now();
    record = {};
    CHECK(!store::readRecord(dir, record).error);
    CHECK(std::chrono::steady_clock::now() - started < 4 * store::kLockDeadline);
    CHECK(record.score == "12\r\n" && record.name == "Luca\r\n");
    native::close(held);
    // A journal cut short while it was written: the files, untouched yet.
    put(dir / store::kJournalFile, journal.substr(0, journal.size() - 1));
    CHECK(!store::readRecord(dir, record).error);
    CHECK(record.score == "12\r\n" && record.name == "Anna\r\n");
    // Without a journal to lock (a folder of older times): the files.
    fs::remove(dir / store::kJournalFile);
    CHECK(!store::readRecord(dir, record).error);
    CHECK(record.score == "12\r\n" && record.name == "Anna\r\n");
    // What is not a regular file is named, never read.
    fs::remove(dir / store::kNameFile);
    fs::create_directory(dir / store::kNameFile);
    const store::Outcome outcome = store::readRecord(dir, record);
    CHECK(outcome.error == EISDIR && outcome.action == quorvela::FileAction::Read &&
          outcome.path == dir / store::kNameFile);
}

void prepareMakesWhatIsMissing(const fs::path &dir)
{
    const fs::path folder = dir / "var" / "games" / "quorvela";
    store::Outcome outcome = store::prepare(folder);
    CHECK(!outcome.error);
    CHECK(contents(folder / store::kScoreFile).empty());
    CHECK(contents(folder / store::kNameFile).empty());
    CHECK(fs::exists(folder / store::kJournalFile));
    CHECK(entries(folder) == 3);
    // What is there stays as it is.
    put(folder / store::kScoreFile, "9\r\n");
    fs::remove(folder / store::kNameFile);
    CHECK(!store::prepare(folder).error);
    CHECK(contents(folder / store::kScoreFile) == "9\r\n");
    CHECK(contents(folder / store::kNameFile).empty());
    // A folder in a file's place is named as what could not be created.
    fs::remove(folder / store::kNameFile);
    fs::create_directory(folder / store::kNameFile);
    outcome = store::prepare(folder);
    CHECK(outcome.error == EISDIR && outcome.action == quorvela::FileAction::Create &&
          outcome.path == folder / store::kNameFile);
    put(dir / "file", "x");
    outcome = store::prepare(dir / "file");
    CHECK(outcome.error == ENOTDIR && outcome.folder);
}

void saveOnlyBeatsTheRecordOnDisk()
{
    struct Row {
        const char *onDisk;
        const char *score;
        bool saved;
    };
    const Row rows[] = {
        {"", "5", true},           {"9\r\n", "9", false},      {"9\r\n", "12", true},
        {"abc\r\n", "1", true},    {"2\r\n99\r\n", "3", true}, {"12\r\n", "3", false},
        {"1e3\r\n", "999", false}, {"-5\r\n", "0", true},      {"", "0", false},
    };
    const fs::path folder =
        fs::temp_directory_path() / ("quorvela-save-" + std::to_string(std::random_device{}()));
    for (const Row &row : rows) {
        CHECK(!store::prepare(folder).error);
        put(folder / store::kScoreFile, row.onDisk);
        put(folder / store::kNameFile, "Anna\r\n");
        const store::Outcome outcome = store::saveIfBetter(folder, row.score, "Luca");
        CHECK(!outcome.error);
        CHECK(outcome.saved == row.saved);
        CHECK(contents(folder / store::kScoreFile) ==
              (row.saved ? std::string(row.score) + "\r\n" : std::string(row.onDisk)));
        CHECK(contents(folder / store::kNameFile) == (row.saved ? "Luca\r\n" : "Anna\r\n"));
        CHECK(contents(folder / store::kJournalFile).empty());
    }
    fs::remove_all(folder);
}

void cutShortSaveIsFinishedOrDropped(const fs::path &dir)
{
    CHECK(!store::prepare(dir).error);
    // Killed after the journal, half-way through the files: done again.
    put(dir / store::kScoreFile, "12\r");
    put(dir / store::kNameFile, "Anna\r\n");
    put(dir / store::kJournalFile, store::journalOf("12\r\n", "Luca\r\n"));
    CHECK(!store::prepare(dir).error);
    CHECK(contents(dir / store::kScoreFile) == "12\r\n");
    CHECK(contents(dir / store::kNameFile) == "Luca\r\n");
    CHECK(contents(dir / store::kJournalFile).empty());
    // Killed while the journal was written: the files were not touched yet.
    const std::string journal = store::journalOf("30\r\n", "Eva\r\n");
    put(dir / store::kJournalFile, journal.substr(0, journal.size() - 3));
    CHECK(!store::saveIfBetter(dir, "13", "Ugo").error);
    CHECK(contents(dir / store::kScoreFile) == "13\r\n");
    CHECK(contents(dir / store::kNameFile) == "Ugo\r\n");
    CHECK(entries(dir) == 3);
}

void aBusyRecordIsToldNotWaitedOn(const fs::path &dir)
{
    // Another holder of the lock (a copy its player stopped): start-up and saves
    // answer busy within the deadline and change nothing.
    CHECK(!store::prepare(dir).error);
    put(dir / store::kScoreFile, "3\r\n");
    native::Handle held = native::kNoHandle;
    CHECK(native::openRegular(dir / store::kJournalFile, native::Access::ReadWrite, held) == 0);
    CHECK(native::lock(held, std::chrono::milliseconds(0)) == 0);
    const auto started = std::chrono::steady_clock::now();
    CHECK(store::prepare(dir).busy());
    CHECK(store::saveIfBetter(dir, "9", "Eva").busy());
    CHECK(std::chrono::steady_clock::now() - started < 4 * store::kLockDeadline);
    CHECK(contents(dir / store::kScoreFile) == "3\r\n");
    native::close(held);
    CHECK(store::saveIfBetter(dir, "9", "Eva").saved);
}

void aSpareTakesADeletedFilesPlace(const fs::path &dir)
{
    // Where root made spares, a deleted file's place is taken by its spare: the
    // same file, not one of this process's making.
    CHECK(!store::prepare(dir).error);
    for (const char *name : {store::kScoreFile, store::kNameFile, store::kJournalFile}) {
        const fs::path spare = dir / (std::string(store::kSparePrefix) + name);
        put(spare, "");
        const auto spareId = fs::status(spare).permissions();
        fs::remove(dir / name);
#ifndef _WIN32
        struct stat before {};
        CHECK(::stat(spare.c_str(), &before) == 0);
#endif
        CHECK(!store::prepare(dir).error);
        CHECK(fs::exists(dir / name) && !fs::exists(spare));
        CHECK(fs::status(dir / name).permissions() == spareId);
#ifndef _WIN32
        struct stat after {};
        CHECK(::stat((dir / name).c_str(), &after) == 0 && after.st_ino == before.st_ino);
#endif
    }
    CHECK(store::saveIfBetter(dir, "4", "Ada").saved);
    CHECK(entries(dir) == 3);
}

void anOpenFileKnowsWhetherItIsStillThere(const fs::path &dir)
{
    // What a keeper checks of the journal it locked before it writes: a folder
    // replaced meanwhile (a setup) has other files under the same names.
    put(dir / "a", "a");
    put(dir / "b", "b");
    native::Handle handle = native::kNoHandle;
    CHECK(!native::openRegular(dir / "a", native::Access::Read, handle));
    CHECK(native::isAt(handle, dir / "a"));
    CHECK(!native::isAt(handle, dir / "b"));
    native::close(handle);
    // The open file moved aside, another put at its name.
    CHECK(!native::openRegular(dir / "b", native::Access::Read, handle));
    fs::rename(dir / "b", dir / "c");
    fs::rename(dir / "a", dir / "b");
    CHECK(!native::isAt(handle, dir / "b"));
    CHECK(native::isAt(handle, dir / "c"));
    CHECK(!native::isAt(handle, dir / "missing"));
    native::close(handle);
    fs::remove(dir / "b");
    fs::remove(dir / "c");
}

void carriedOverOnlyIntoAnEmptyRecord(const fs::path &dir)
{
    CHECK(!store::prepare(dir).error);
    CHECK(store::carryOver(dir, "9\r\n", "Anna\r\n").saved);
    CHECK(contents(dir / store::kScoreFile) == "9\r\n");
    CHECK(contents(dir / store::kNameFile) == "Anna\r\n");
    CHECK(!store::carryOver(dir, "20\r\n", "Eva\r\n").saved);
    CHECK(contents(dir / store::kScoreFile) == "9\r\n");
}

void twoSaversAtOnceKeepTheBetterRecord(const fs::path &dir)
{
    // Two copies saving at the same moment, each score with its own name: the
    // files always hold a pair that one of them saved, and the best one wins.
    CHECK(!store::prepare(dir).error);
    std::atomic<int> errors{0};
    const auto saver = [&](int first) {
        for (int score = first; score <= 200; score += 2) {
            // Appended rather than "n" + ...: GCC 12 warns falsely of overlap in that.
            std::string name = "n";
            name += std::to_string(score);
            if (store::saveIfBetter(dir, std::to_string(score), name).error)
                ++errors;
        }
    };
    std::thread odd(saver, 1), even(saver, 2);
    odd.join();
    even.join();
    CHECK(errors == 0);
    CHECK(contents(dir / store::kScoreFile) == "200\r\n");
    CHECK(contents(dir / store::kNameFile) == "n200\r\n");
}

#ifndef _WIN32
void gameGetsTheSessionAlone()
{
    // What the keeper hands the game of its caller's environment: the session,
    // the player's home and language, accessibility and scaling; no variable that
    // loads code, and no desktop's name (through it Qt would load GTK, which loads
    // the modules a player's settings name).
    const char *const environment[] = {
        "DISPLAY=:1", "LD_PRELOAD=/home/p/x.so", "HOME=/home/p", "QT_PLUGIN_PATH=/home/p",
        "GTK_MODULES=x", "GTK_PATH=/home/p", "GIO_EXTRA_MODULES=/home/p", "LC_NUMERIC=it_IT.UTF-8",
        "XDG_CURRENT_DESKTOP=GNOME", "QT_QPA_PLATFORMTHEME=gtk3", "DISPLAY=:2", "PATH=/home/p/bin",
        "QT_ACCESSIBILITY=1", "noequals", "LD_LIBRARY_PATH=/home/p", "QT_SCALE_FACTOR=2",
        "AT_SPI_BUS_ADDRESS=unixexec:path=/home/p/x", "DBUS_SESSION_BUS_ADDRESS=unixexec:path=/home/p/x",
        "DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/1000/bus", "XLD_PRELOAD=1", nullptr};
    const std::vector<std::string> expected{
        "PATH=/usr/bin:/bin", "DISPLAY=:1", "HOME=/home/p", "LC_NUMERIC=it_IT.UTF-8",
        "QT_ACCESSIBILITY=1", "QT_SCALE_FACTOR=2",
        "DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/1000/bus"};
    CHECK(keeper::gameEnvironment(environment) == expected);
    CHECK(keeper::gameEnvironment(nullptr) == std::vector<std::string>{"PATH=/usr/bin:/bin"});
}

void aFileThatCannotBeHadLeavesTheRecordWhole(const fs::path &dir)
{
    // The name file deleted once its spare was used, in a folder where this
    // process may make no file (root's, as installed): a save changes neither
    // file and says why, and start-up goes on.
    if (::geteuid() != 0) {
        std::printf("note: aFileThatCannotBeHadLeavesTheRecordWhole needs root\n");
        return;
    }
    CHECK(!store::prepare(dir).error);
    CHECK(store::saveIfBetter(dir, "4", "Ada").saved);
    fs::remove(dir / store::kNameFile);
    CHECK(::chown(dir.c_str(), 12345, 0) == 0);
    const store::Outcome outcome = store::saveIfBetter(dir, "9", "Eva");
    CHECK(outcome.error == ENOENT && !outcome.saved);
    CHECK(contents(dir / store::kScoreFile) == "4\r\n");
    CHECK(!fs::exists(dir / store::kNameFile));
    CHECK(contents(dir / store::kJournalFile).empty());
    CHECK(!store::prepare(dir).error);
    CHECK(::chown(dir.c_str(), 0, 0) == 0);
}

void killedSavesLeaveAWholePair(const fs::path &dir)
{
    // A save killed at any moment: once the next copy of the game has started
    // (which prepares the record), both files hold the same save, whole.
    CHECK(!store::prepare(dir).error);
    std::mt19937 random{std::random_device{}()};
    int last = 0;
    int finishedByJournal = 0;
    for (int round = 0; round < 150; ++round) {
        const pid_t child = ::fork();
        CHECK(child >= 0);
        if (child == 0) {
            // Long names: each save takes long enough to be cut anywhere.
            for (int score = last + 1;; ++score)
                store::saveIfBetter(dir, std::to_string(score),
                                    std::string(3000 + score % 7, char('a' + score % 26)));
        }
        ::usleep(useconds_t(random() % 3000));
        ::kill(child, SIGKILL);
        int status = 0;
        CHECK(::waitpid(child, &status, 0) == child && WIFSIGNALED(status));
        if (!contents(dir / store::kJournalFile).empty())
            ++finishedByJournal;
        CHECK(!store::prepare(dir).error);
        const std::string score = contents(dir / store::kScoreFile);
        const std::string name = contents(dir / store::kNameFile);
        const int saved = score.empty() ? 0 : std::stoi(score);
        CHECK(saved >= last);
        if (saved > 0)
            CHECK(score == std::to_string(saved) + "\r\n" &&
                  name == std::string(3000 + saved % 7, char('a' + saved % 26)) + "\r\n");
        CHECK(contents(dir / store::kJournalFile).empty());
        last = saved;
    }
    CHECK(entries(dir) == 3);
    std::printf("note: 150 saves killed, the record reached %d, %d finished from the journal\n",
                last, finishedByJournal);
}
#endif

} // namespace

int main()
{
    const fs::path dir =
        fs::temp_directory_path() / ("quorvela-store-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    struct Case {
        const char *name;
        void (*run)(const fs::path &);
    };
    const Case cases[] = {
        {"filesAreReadAndRewrittenInPlace", filesAreReadAndRewrittenInPlace},
        {"whatIsNotARegularFileIsRefused", whatIsNotARegularFileIsRefused},
        {"lockIsExclusiveWithADeadline", lockIsExclusiveWithADeadline},
        {"journalIsTakenOnlyWhole", [](const fs::path &) { journalIsTakenOnlyWhole(); }},
        {"helperTakesOnlyStrictRequests",
         [](const fs::path &) { helperTakesOnlyStrictRequests(); }},
        {"theRecordTravelsWholeInItsAnswer",
         [](const fs::path &) { theRecordTravelsWholeInItsAnswer(); }},
        {"readingShowsAWholeRecord", readingShowsAWholeRecord},
        {"prepareMakesWhatIsMissing", prepareMakesWhatIsMissing},
        {"saveOnlyBeatsTheRecordOnDisk", [](const fs::path &) { saveOnlyBeatsTheRecordOnDisk(); }},
        {"cutShortSaveIsFinishedOrDropped", cutShortSaveIsFinishedOrDropped},
        {"aBusyRecordIsToldNotWaitedOn", aBusyRecordIsToldNotWaitedOn},
        {"aSpareTakesADeletedFilesPlace", aSpareTakesADeletedFilesPlace},
        {"anOpenFileKnowsWhetherItIsStillThere", anOpenFileKnowsWhetherItIsStillThere},
        {"carriedOverOnlyIntoAnEmptyRecord", carriedOverOnlyIntoAnEmptyRecord},
        {"twoSaversAtOnceKeepTheBetterRecord", twoSaversAtOnceKeepTheBetterRecord},
#ifndef _WIN32
        {"gameGetsTheSessionAlone", [](const fs::path &) { gameGetsTheSessionAlone(); }},
        {"aFileThatCannotBeHadLeavesTheRecordWhole", aFileThatCannotBeHadLeavesTheRecordWhole},
        {"killedSavesLeaveAWholePair", killedSavesLeaveAWholePair},
#endif
    };
    int passed = 0;
    for (const Case &c : cases) {
        const int before = failures;
        const fs::path own = dir / c.name;
        fs::create_directory(own);
        c.run(own);
        std::printf("%s %s\n", failures == before ? "PASS" : "FAIL", c.name);
        passed += failures == before ? 1 : 0;
    }
    fs::remove_all(dir);
    std::printf("%d passed, %d failed\n", passed, int(std::size(cases)) - passed);
    return failures == 0 ? 0 : 1;
}
