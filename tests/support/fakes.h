// Scripted stand-ins for the window's collaborators, and a game set up with them.
#pragma once

#include "rules/randomsource.h"
#include "platform/dialogs.h"
#include "platform/programend.h"
#include "record/recordkeeper.h"
#include "ui/controls.h"
#include "ui/tavola.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quorvela::test {

// Records every box and answers from a script: OK boxes answer themselves,
// Yes/No boxes take the next scripted answer (No, and a note, when none is left).
class FakeDialogs final : public Dialogs {
public:
    Answer messageBox(const MessageBox &box) override;
    QString inputBox(const QString &prompt, const QString &title) override;
    void beep() override { ++beeps; }

    std::vector<MessageBox> boxes;
    QStringList prompts;
    std::deque<QString> names;
    std::deque<Answer> answers;
    int unscripted = 0;
    int beeps = 0;
    // Runs while a message box is "open", as a modal dialog's own event loop would.
    std::function<void(const MessageBox &)> whileOpen;
};

// Draws the scripted values first, then a fixed sequence.
class ScriptedRandom final : public RandomSource {
public:
    float next() override;
    void reseedFromClock() override { ++reseeds; }

    std::deque<float> values;
    int reseeds = 0;
    int draws = 0;

private:
    std::minstd_rand fallback_{12345};
};

class FakeEnder final : public ProgramEnder {
public:
    void endProgram(int exitCode) override { codes.push_back(exitCode); }
    std::vector<int> codes;
};

// The record store in this process, as on Windows (the helper program is tried by
// the end-to-end and clean-install tests); a save answers as scripted when told.
class ScriptedKeeper final : public RecordKeeper {
public:
    void prepare(const QString &folder) override
    {
        if (!makesNothing)
            keeper().prepare(folder);
    }
    RecordText read(const QString &folder) override { return keeper().read(folder); }
    Saving saveIfBetter(const QString &folder, const QString &score, const QString &name) override
    {
        return saving ? *saving : keeper().saveIfBetter(folder, score, name);
    }
    std::optional<Saving> saving;
    // Another keeper in the store's place (the browser's).
    RecordKeeper *instead = nullptr;
    // As the helper in an installation's folder whose files and spares are gone.
    bool makesNothing = false;

private:
    RecordKeeper &keeper() { return instead ? *instead : store; }
    StoreKeeper store;
};

// The r that draws n from 1 to k.
float drawing(int n, int k);

// A game with fake collaborators and a record folder of its own.
struct Game {
    explicit Game(const QString &name = QStringLiteral("Luca"));
    ~Game();
    // Before start(): the window's clock keeps real time, read from nowMs.
    void keepRealTime();

    // Start-up with the problem num1/den1 + num2/den2 as drawn (before the
    // second fraction's adjustment).
    bool start();
    void scriptProblem(int num1, int den1, int num2, int den2);
    Controls &c() const { return *window->controls(); }
    QString recordFolder() const
    {
        return sharedFolder.isEmpty() ? folder.path() + QStringLiteral("/record") : sharedFolder;
    }
    QString scoreFile() const { return recordFolder() + u'/' + QLatin1String(store::kScoreFile); }
    QString nameFile() const { return recordFolder() + u'/' + QLatin1String(store::kNameFile); }
    // Types a text then Enter into a box, as a player does.
    void answer(const QString &numerator, const QString &denominator);
    bool ended() const { return !ender.codes.empty(); }
    QStringList boxTexts() const;

    FakeDialogs dialogs;
    ScriptedRandom random;
    FakeEnder ender;
    ScriptedKeeper record;
    QTemporaryDir folder;
    // Another game's record folder, for two copies on one machine.
    QString sharedFolder;
    // What the game said for a page around it, in order.
    QStringList announced;
    // The monotonic clock of a game that keeps real time, in milliseconds.
    qint64 nowMs = 0;
    std::unique_ptr<Tavola> window;
};

QByteArray readBytes(const QString &path);
void writeBytes(const QString &path, const QByteArray &bytes);

} // namespace quorvela::test
