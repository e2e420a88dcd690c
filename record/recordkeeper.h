// Who writes the record, as the window sees it: the record's keeper, the game's
// parent, where the system has one (POSIX: set-group-id games, the only writer
// of the record files), the game itself elsewhere (Windows) and in tests, the
// browser's storage in a web page (browserkeeper.h).
#pragma once

#include "store/recordstore.h"

#include <QString>

#include <string>

namespace quorvela {

// What became of a score that beat the record the game showed.
enum class Saving {
    Saved,   // the new record
    Kept,    // another copy saved a record at least as good meanwhile
    Busy,    // the record's lock stayed taken, or the keeper overran its time
    Refused, // no keeper started this copy of the game, or it may not write
    NotKept, // the browser keeps no data for the page (full, or blocked)
};

// The record as the window shows it: the score file's and the name file's whole
// text, line ends and all.
struct RecordText {
    QString score;
    QString name;
};

class RecordKeeper {
public:
    virtual ~RecordKeeper() = default;
    // Makes what is missing (empty record files) where it may, finishes or drops
    // a save that was cut short, and checks that the record can be written.
    // A busy record or a refusal is no failure: the game starts with the record
    // as it reads. Throws FileError.
    virtual void prepare(const QString &folder) = 0;
    // The record, each file decoded from the system's encoding (at most
    // kRecordReadLimit bytes of it), never through a link, and never a save seen
    // half done where the record's lock can be had (store::readRecord). A missing
    // file, or one that another program holds without sharing it, reads as
    // empty. Throws FileError.
    virtual RecordText read(const QString &folder) = 0;
    // Saves the score and the name as the new record when the score beats the
    // record on disk, which another copy may have raised since start-up.
    // Throws FileError.
    virtual Saving saveIfBetter(const QString &folder, const QString &score,
                                const QString &name) = 0;
};

// In this process, through the record store.
class StoreKeeper final : public RecordKeeper {
public:
    void prepare(const QString &folder) override;
    RecordText read(const QString &folder) override;
    Saving saveIfBetter(const QString &folder, const QString &score, const QString &name) override;
};

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
// Through the record's keeper, the game's parent, over the socket it handed the
// game (store/keeper.h); the keeper knows its folder itself.
class ParentKeeper final : public RecordKeeper {
public:
    // How long the game waits for its keeper, which waits for the lock for less.
    static constexpr int kDeadlineMs = 8000;

    // The keeper's socket in this process, or -1 where no keeper started it (the
    // game run by itself): then the record is read, and never saved.
    static int socketFromParent();

    explicit ParentKeeper(int socket, int deadlineMs = kDeadlineMs)
        : socket_(socket), deadlineMs_(deadlineMs)
    {
    }

    void prepare(const QString &folder) override;
    // The keeper reads, under the lock that only its group may take; without a
    // keeper, or when it overran its time, the game reads the files itself
    // (every account may read them), as they are.
    RecordText read(const QString &folder) override;
    Saving saveIfBetter(const QString &folder, const QString &score, const QString &name) override;

private:
    // The keeper's answer, its bytes as they came.
    std::string ask(const std::string &request);
    int socket_;
    int deadlineMs_;
};
#endif

// A failed store call as the FileError that ends the game.
void throwOnFailure(const store::Outcome &outcome);

// The two files' contents as the window shows them: at most kRecordReadLimit
// bytes of each, in the system's encoding.
RecordText recordTextOf(const std::string &score, const std::string &name);

// A record line as the files hold it, in the system's encoding: a line break or
// NUL in the name becomes a blank (the file holds one line), and a name longer
// than a record line is cut at a character's end.
std::string recordLineOf(const QString &text);

} // namespace quorvela
