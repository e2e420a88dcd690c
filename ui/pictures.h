// The game's pictures and pointers, SVG resources rendered at any size and scale.
#pragma once

#include <QCursor>
#include <QIcon>

namespace quorvela::pictures {

enum class Face { Smiling, Laughing, Straight };

// 3/4 + 2/5 in yellow digits shaded towards magenta, on blue.
QIcon windowIcon();
QIcon face(Face mood);
QIcon noEntry();

QCursor pointingHand(); // the window's pointer; hot spot at the fingertip
QCursor wavingFigure(); // over cmdExit
QCursor wingedNote();   // over lblnome
QCursor iconPointer();  // a small square inside a square

} // namespace quorvela::pictures
