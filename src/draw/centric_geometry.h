#pragma once
// The geometry of Centric drawing, apart from any window: every stroke turned
// N times about the centre by multiples of one N-th of a full turn.

#include <vector>

#include "draw/mode_copies.h"
#include "draw/stroke_step.h"
#include "editor/editor_state.h"

namespace kalidor {

// Single-precision angle constants, pi taken as the single 3.141592.
constexpr float kPi = 3.141592f;
constexpr float kHalfPi = 1.570796f;
constexpr float kThreeHalfPi = 4.712388f;
constexpr float kFullTurn = 6.283184f;

// The angle of (x, y) about the centre, radians, clockwise on screen from the
// positive x axis.
float DefAlfa(const EditorState& s, int16 x, int16 y);
// The same about the centre `c`.
float DefAlfa(Point16 c, int16 x, int16 y);

// A stroke of `n` copies starting at (x, y): its angle step and its n start
// points `SXY`, the first being (x, y) itself.
void centricStart(EditorState& s, int16 n, int16 x, int16 y);

// The Centric copies of a segment (copiesOf): with whole places the n turns,
// each end the rounded turn of the exact one (or, with the stroke's starts,
// each from where its copy stands), and with Mirror at 0 degrees the mirror
// across the centre's vertical, checked for 16 bits copy by copy.
StrokeStep centricCopies(const CopySettings& c, const Segment& segment, Places places);

// One step of the stroke to (x, y): a shape from each stored point to its copy
// of (x, y), and the copies stored. Only the first `n` rows are stepped (N
// raised during a stroke adds none). With `mirror`, each shape is drawn again
// mirrored across the vertical line through the centre, an end (x, y) becoming
// (2 CenterX - x, y); the stored points stay unmirrored. Where a copy's 16-bit
// arithmetic overflows, the step holds the copies made before it.
//
// With the mirror line turned `mirrorAngle` degrees (clockwise, 1..179) the
// copies are mirrored across that line through the centre instead: at 45, 90
// and 135 degrees by moving their pixels, exactly as a quarter turn would;
// at other angles each mirrored end rounded to a whole pixel.
StrokeStep centricStep(EditorState& s, int16 n, bool mirror, int16 x, int16 y, int mirrorAngle = 0);

// The mirror across the line through (cx, cy) turned `degrees` clockwise
// from the vertical, on the ends of lines: p -> R (p - c) + c.
PointOp mirrorLine(double cx, double cy, int degrees);

}  // namespace kalidor
