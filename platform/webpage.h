// The web page around the game, in a build for the browser (page/index.html): it
// speaks for the game in a live region, since Qt's browser platform has no
// screen-reader bridge, and shows the end once the game ends.
#pragma once

#include "dialogs.h"
#include "programend.h"

#include <QString>

namespace quorvela::page {

// The game's dialogs in a page: Qt's own, each one's words said in the page's
// live region as it opens (the page has no screen-reader bridge to them), the
// buttons and boxes sized for a finger on a touch screen, the keys given back
// to the window once one closes; the beep a tone of the page's.
class SpokenDialogs final : public Dialogs {
public:
    Answer messageBox(const MessageBox &box) override;
    QString inputBox(const QString &prompt, const QString &title) override;
    void beep() override;

private:
    QtDialogs dialogs_;
};

// The end of the game: the page shows it in the window's place.
class PageEnder final : public ProgramEnder {
public:
    void endProgram(int exitCode) override;

private:
    QtProgramEnder ender_;
};

// Into the page's live region, which the browser's screen reader reads out.
void say(const QString &text);
// The game has ended: the page takes the window's place with its last word.
void ended(int exitCode);
// A short tone, the system's beep (Qt's browser platform has none).
void beep();

// Once the application exists: from then on the page learns which widget has
// the focus, where, and which keyboard it asks for (its hidden field brings up the on-screen keyboard and
// types into the game with keys, as the number pad does), and which of the
// game's own pointers is under the mouse (Qt's browser platform shows none).
void followInput();
// The least height, in the window's pixels, of what a finger taps in a dialog
// at the page's present scale; 0 where the page is not used by touch.
int touchTargetHeight();

} // namespace quorvela::page
