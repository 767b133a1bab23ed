#pragma once
// What the Line and Circle tools share: the press fixes the shape's first
// point, each move shows the shape and all its copies on the canvas's
// preview, the release draws them into the picture as the strokes along the
// shape's path would (one step of the history), and a cancel drops them.

#include <vector>

#include "editor/tool.h"

namespace kalidor {

// The path a shape pressed at `from` with the pointer at `to` draws.
using ShapePath = std::vector<Point16> (*)(Point16 from, Point16 to, bool snap);

void pressShape(Editor& e, const MouseArgs& m);
void dragShape(Editor& e, const MouseArgs& m, ShapePath path);
void releaseShape(Editor& e, const MouseArgs& m, ShapePath path);
void cancelShape(Editor& e);

}  // namespace kalidor
