#pragma once
// The canvas's cursor while a press fills: a small bucket pouring paint, drawn
// by the program, its hot spot at the tip of the drop.

#include <QCursor>

namespace kalidor {

// At `scale` device pixels a pixel, so that it is sharp on scaled screens.
QCursor bucketCursor(qreal scale = 1);

}  // namespace kalidor
