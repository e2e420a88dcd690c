// Who writes the record, as the window sees it: the record's helper program
// where the system has one (POSIX: set-group-id games, the only writer of the
// record files), the game itself elsewhere (Windows) and in tests.
#pragma once

#include "recordstore.h"

#include <QString>

#include <string>

namespace quorvela {

class RecordKeeper {
public:
    virtual ~RecordKeeper() = default;
    // Makes what is missing (empty record files), finishes or drops a save that
    // was cut short, and checks that the record can be written. Throws FileError.
    virtual void prepare(const QString &folder) = 0;
    // Saves the score and the name as the new record when the score beats the
    // record on disk, which another copy may have raised since start-up; false
    // when it does not. Throws FileError.
    virtual bool saveIfBetter(const QString &folder, const QString &score, const QString &name) = 0;
};

// In this process, through the record store.
class StoreKeeper final : public RecordKeeper {
public:
    void prepare(const QString &folder) override;
    bool saveIfBetter(const QString &folder, const QString &score, const QString &name) override;
};

#ifndef _WIN32
// Through the record's helper program, which knows its folder itself.
class HelperKeeper final : public RecordKeeper {
public:
    explicit HelperKeeper(const QString &program) : program_(program) {}
    // The helper beside this program (a build tree), else the installed one.
    static QString locate(const QString &name, const QString &installed);

    void prepare(const QString &folder) override;
    bool saveIfBetter(const QString &folder, const QString &score, const QString &name) override;

private:
    QString run(const QStringList &arguments);
    QString program_;
};
#endif

// A failed store call as the FileError that ends the game.
void throwOnFailure(const store::Outcome &outcome);

// A record line as the files hold it, in the system's encoding: a line break or
// NUL in the name becomes a blank (the file holds one line), and a name longer
// than a record line is cut at a character's end.
std::string recordLineOf(const QString &text);

} // namespace quorvela
