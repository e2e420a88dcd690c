// Ending the program from inside a handler, and the file errors that do so.
#pragma once

#include <QString>

namespace quorvela {

// Thrown by a handler to end the program at once; the window's event guard
// catches it, so nothing of the handler (or of its callers) runs afterwards.
struct ProgramEnd {
    int exitCode = 0;
};

// A record file that cannot be created, read or written. Nothing in the game
// catches it: the event guard shows it and ends the program with status 1.
struct FileError {
    QString path;
    QString action; // "creare", "leggere", "scrivere"
    int errorNumber = 0;
    bool folder = false; // the record's folder rather than one of its files

    QString message() const;
};

// The system's reason for an errno value, in Italian.
QString italianReason(int errorNumber);

class ProgramEnder {
public:
    virtual ~ProgramEnder() = default;
    virtual void endProgram(int exitCode) = 0;
};

// The real end: leaves every event loop, nested ones included.
class QtProgramEnder final : public ProgramEnder {
public:
    void endProgram(int exitCode) override;
    // The status to return when the end came before the event loop ran.
    int exitCode() const { return exitCode_; }

private:
    int exitCode_ = 0;
};

} // namespace quorvela
