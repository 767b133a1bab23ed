#pragma once
// The paths the shape tools draw, as whole-pixel points a stroke would pass
// through: a straight line, its angle snapped on request, and a circle.

#include <vector>

#include "editor/editor_state.h"

namespace kalidor {

constexpr int kSnapDegrees = 15;

// The end of a line from `from` towards `to`: `to` itself, or with `snap` the
// point as far from `from` along the nearest multiple of 15 degrees.
Point16 lineEnd(Point16 from, Point16 to, bool snap);

// The line as a path: its two ends.
std::vector<Point16> linePath(Point16 from, Point16 to);

// The circle about `centre` through `through`, as a closed path from its
// rightmost point round: its corners are on whole pixels, at equal angles,
// close enough that no chord strays more than a quarter pixel inside the
// circle. A circle of no radius is the one point.
std::vector<Point16> circlePath(Point16 centre, Point16 through);

}  // namespace kalidor
