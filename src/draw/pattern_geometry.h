#pragma once
// The geometry of Pattern drawing, apart from any window: every stroke repeated
// in every cell of the grid whose cells are PatternX x PatternY pixels, or only
// in every other cell with Chess.

#include "draw/group_geometry.h"
#include "draw/mode_copies.h"
#include "draw/stroke_step.h"
#include "editor/editor_state.h"

namespace kalidor {

// The last column and row of the cell loop on a canvas of the given outer size.
Cell16 patternLoop(float canvasWidth, float canvasHeight, int16 patternX, int16 patternY);
// The loop's 1-based cell of (x, y), cells counted from the origin by
// truncating division, and the Chess phase of a stroke started in it.
Cell16 patternCell(int16 patternX, int16 patternY, int16 x, int16 y);
int16 chessPhaseOf(Cell16 cell);

// The Pattern copies of a segment (copiesOf): under p1 its place in its end's
// cell in every cell of the loop, with Mirror turned as the quilt turns each
// cell; under another group every image that reaches the canvas (groupStep).
StrokeStep patternCopies(const CopySettings& c, const Segment& segment);

// Sets up a stroke at (x, y) on a canvas of the given outer size: measures the
// cell loop and records the pointer's cell, its offset in the cell and the
// chessboard phase. Without a grid (a cell of width or height 0) nothing changes.
void patternStart(EditorState& s, float canvasWidth, float canvasHeight, int16 x, int16 y);

// One step of the stroke to (x, y): the segment of the first cell of the loop
// (rows 0..CellsY by columns 0..CellsX) on the lattice of cells, with Chess
// only the cells of the stroke's parity. With `mirror`, the cells alternate
// like the tiles of a quilt: numbering them k = column - 1 and j = row - 1 of
// the loop, where k is odd the copy is turned left to right within its cell,
// where j is odd top to bottom. Where a cell's 16-bit arithmetic overflows, the
// step stops before that cell, as drawing cell by cell would have; the
// stroke's stored point then stays. Without a grid it is empty.
//
// Under a wallpaper group other than p1 (`group`, an index of the table),
// the step's own segment, the one in the pointer's own cell, is drawn under
// the group instead (see groupStep) on `canvas`, and Mirror has no effect.
StrokeStep patternStep(EditorState& s, bool chess, bool mirror, int16 x, int16 y, int group = kP1,
                       const GroupCanvas& canvas = {});

}  // namespace kalidor
