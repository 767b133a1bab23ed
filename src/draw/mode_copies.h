#pragma once
// The copies the drawing mode makes of a segment or a point, from settings
// alone: a stroke's steps, the guides and the fill's press images all take
// their copies here, and finding them changes no state.

#include <vector>

#include "draw/group_geometry.h"
#include "draw/stroke_step.h"
#include "editor/editor.h"

namespace kalidor {

struct CopySettings {
    int16 mode = kNormal;
    // Centric: `n` copies about the centre, each turned `turn` radians
    // (clockwise on screen) from the one before, the angle stepping in single
    // precision as a stroke's does; the first is the segment itself.
    Point16 centre;
    int16 n = 1;
    float turn = 0;
    // A stroke under way continues from where its copies stand (`SXY`): copy
    // i then runs from starts[i] to the i-th turn of the segment's end, for
    // the first min(starts.size(), n) copies.
    const std::vector<Point16>* starts = nullptr;
    // Mirror: in Centric every copy mirrored again across the line through
    // the centre `mirrorAngle` degrees clockwise from the vertical; in Pattern
    // under p1 the cells turned over as a quilt's.
    bool mirror = false;
    int mirrorAngle = 0;
    // Pattern: cells of the pattern point's size over the loop of columns 0
    // to cells.column and rows 0 to cells.row, with Chess only those whose
    // parity is `chessPhase`; under a group other than p1, the group's images
    // that reach `canvas` instead.
    int16 patternX = 0;
    int16 patternY = 0;
    Cell16 cells;
    bool chess = false;
    int16 chessPhase = 0;
    int group = kP1;
    GroupCanvas canvas;
};

// Where the copies' ends lie: on whole pixels as the mode draws them today
// (Centric's turns rounded to 16-bit integers, each from its own exact
// place), or at their exact places (what a guide shows).
// With smooth lines, Centric's turns are operations on the segment itself,
// quarter turns exactly so, for the surface to place each copy exactly.
enum class Places { Whole, Exact, Smooth };

// The copies of `segment` (in canvas pixels) under the settings: shapes and
// the symmetry that places them, as the pixel engine takes them. In Pattern
// under p1 the segment is taken in the cell its end lies in (cells counted as
// the loop counts them, from the origin, by truncating division) and drawn
// at that place in every cell. Where a copy's 16-bit arithmetic leaves its
// range, the copies before it and the error (StrokeStep::overflow).
StrokeStep copiesOf(const CopySettings& settings, const Segment& segment, Places places = Places::Whole);

// The settings of the editor's drawing mode as they now are (in colour pick,
// the mode it returns to), for a stroke that would start now: Centric's turn
// one N-th of a full turn. Pattern's loop and Chess phase are a stroke's own
// (patternLoop, patternCell), left at none.
CopySettings modeSettings(const Editor& e);

}  // namespace kalidor
