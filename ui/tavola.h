// Tavola, the game's one window: it owns all state, and every event reaches the
// handler named after its control and event through dispatch(). Who calls whom, and
// where each handler lives: README, "Where things are".
#pragma once

#include "rules/judging.h"
#include "platform/dialogs.h"
#include "platform/programend.h"

#include <QMainWindow>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace quorvela {

class RandomSource;
class RecordKeeper;
struct Controls;

// What the window needs from outside; production wires the real ones in main.
struct Services {
    Dialogs &dialogs;
    RandomSource &random;
    ProgramEnder &ender;
    // Who reads and writes the record files (the record's keeper, or the game
    // itself).
    RecordKeeper &record;
    // The folder of the record files as the system names it, before the
    // trailing separator is ensured (the Windows directory on Windows, the
    // build-time record folder elsewhere).
    std::function<QString()> systemFolder;
    // Where the page around the game speaks for it (the browser, whose Qt has no
    // screen-reader bridge): each problem, and each verdict with the counters.
    // Empty on the desktop, where the screen reader reads the controls.
    std::function<void(const QString &)> announce = {};
    // A monotonic clock in milliseconds, where the timer's ticks may come late or
    // not at all for a while (a browser slows a background tab's timers): each
    // tick then counts down every second that has passed. Empty: a second a tick.
    std::function<qint64()> monotonicMs = {};
};

class Tavola : public QMainWindow {
    Q_OBJECT

public:
    explicit Tavola(const Services &services, QWidget *parent = nullptr);
    ~Tavola() override;

    // Loads the window when it is not loaded (running start-up), shows it and
    // activates it. False when the program ended during start-up.
    bool Show();
    // Destroys controls, menus and timer; the variables keep their values.
    void Unload();
    bool isLoaded() const { return ui != nullptr; }
    bool hasEnded() const { return ended_; }

    // Runs one event's handler: a ProgramEnd or FileError inside ends the
    // program; after the end no handler runs any more.
    void dispatch(const std::function<void()> &handler);

    // Event handlers.
    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void cmdNext_Click();
    void cmdExit_Click();
    void Next_Click();
    void HELP_Click();
    void txtAnswer_KeyPress(std::int16_t &KeyAscii);
    void Text3_KeyPress(std::int16_t &KeyAscii);
    void Timer1_Timer();

    // Procedures other code may call.
    QString GetSystemDir();

    // The controls of the current load; null while unloaded.
    Controls *controls() const { return ui.get(); }

    // Window-level variables.
    std::int16_t correctAnswers = 0;
    std::int16_t wrongAnswers = 0;
    std::int32_t resultNum = 0;
    std::int32_t resultDen = 0;
    QString recordLine;
    std::int16_t clockHours = 0;
    std::int16_t clockMinutes = 0;
    float clockSeconds = 0.0f;
    std::int16_t secondsLeft = 0;
    QString windowsDir;

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Load();
    void showWindow();
    void createControls();
    void createMenus();
    void describeControls();
    // The verdict and the counters, for a screen reader, on "Nuovo calcolo".
    void describeVerdict(Verdict verdict, int praise);
    void connectHandlers();

    void StartCountdown();
    // Starts Timer1 afresh: its next tick a second from now.
    void restartTimer1();
    // The ticks a timeout of Timer1 stands for: one, or every second that has
    // passed since its start when the clock keeps real time.
    int ticksDue();
    void ShowTimeLeftInCaption();
    // Counts a right answer and praises it with a draw from 1 to 8, drawn for
    // every judged answer; returns that draw.
    int ScoreAndPraise(Verdict verdict);
    void PaintGradient();
    void SetBackColor(const QColor &color);

    Answer MsgBox(const MessageBox &box);
    QString InputBox(const QString &prompt);
    [[noreturn]] void End(int exitCode = 0);
    void finish(int exitCode);

    Services services_;
    std::unique_ptr<Controls> ui;
    // Dialogs of ours open right now: ticks then open none of their own.
    int dialogsOpen_ = 0;
    // Real time: when Timer1 last started, and the ticks counted since.
    qint64 timerStartedMs_ = 0;
    qint64 ticksCounted_ = 0;
    bool ended_ = false;
    // The message line's verdict in words: a re-judged answer that is not
    // counted leaves it as it was.
    QString spokenVerdict_;
};

} // namespace quorvela
