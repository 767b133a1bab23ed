#pragma once
// The canvas's cursors for the tools a press will use, drawn by the program:
// a bucket pouring paint (its hot spot the foot of the drop) while a press
// fills, and a cross with a small line or circle beside it (its hot spot the
// cross's middle) while a press draws one.

#include <QCursor>

#include "platform/canvas_cursor.h"

namespace kalidor {

// At `scale` device pixels a pixel, so that it is sharp on scaled screens.
QCursor bucketCursor(qreal scale = 1);
// The cursor of any tool but the arrow.
QCursor toolCursor(CanvasCursor cursor, qreal scale = 1);

}  // namespace kalidor
