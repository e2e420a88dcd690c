// The web page around the game, in a build for the browser (page/index.html): it
// speaks for the game in a live region, since Qt's browser platform has no
// screen-reader bridge, and shows the end once the game ends.
#pragma once

#include <QString>

namespace quorvela::page {

// Into the page's live region, which the browser's screen reader reads out.
void say(const QString &text);
// The game has ended: the page takes the window's place with its last word.
void ended(int exitCode);
// A short tone, the system's beep (Qt's browser platform has none).
void beep();

} // namespace quorvela::page
