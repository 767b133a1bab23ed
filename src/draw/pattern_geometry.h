#pragma once
// The geometry of Pattern drawing, apart from any window: every stroke repeated
// in every cell of the grid whose cells are PatternX x PatternY pixels, or only
// in every other cell with Chess.

#include <optional>
#include <vector>

#include "editor/editor_state.h"
#include "platform/segment_grid.h"

namespace kalidor {

// Sets up a stroke at (x, y) on a canvas of the given outer size: measures the
// cell loop and records the pointer's cell, its offset in the cell and the
// chessboard phase. Without a grid (a cell of width or height 0) nothing changes.
void patternStart(EditorState& s, float canvasWidth, float canvasHeight, int16 x, int16 y);

// What one step draws: the segment in every cell of the loop, as a few grids
// (and, with Mirror near the 16-bit limits, as single segments drawn first).
// Where a cell's 16-bit arithmetic overflows, the step stops before that cell,
// as drawing cell by cell would have, and `overflow` is the error to pass on
// once the rest is drawn.
struct PatternStep {
    std::vector<Segment> segments;
    std::vector<SegmentGrid> grids;
    std::optional<Int16Error> overflow;
};

// One step of the stroke to (x, y). With `mirror`, the cells alternate like the
// tiles of a quilt: numbering them k = column - 1 and j = row - 1 of the loop,
// where k is odd the copy is turned left to right within its cell, where j is
// odd top to bottom. The stroke's stored point moves on unless the step
// overflowed. Without a grid it is empty.
PatternStep patternStep(EditorState& s, bool chess, bool mirror, int16 x, int16 y);

}  // namespace kalidor
