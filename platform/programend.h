// Ending the program from inside a handler.
#pragma once

#include <QString>

namespace quorvela {

// Thrown by a handler to end the program at once; the window's event guard
// catches it, so nothing of the handler (or of its callers) runs afterwards.
struct ProgramEnd {
    int exitCode = 0;
};

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
