#pragma once
// The geometry of a Pattern step under a wallpaper group other than p1, apart
// from any window: the step's own segment at every image of it under the
// group's operations and lattice translations that reaches the canvas.

#include "draw/stroke_step.h"
#include "draw/wallpaper_groups.h"

namespace kalidor {

// Where the step is drawn: the canvas's interior and the pen's width, whose
// parity says where a line's ends lie on their pixels.
struct GroupCanvas {
    int width = 0;
    int height = 0;
    int pen = 1;
};

// The copies of `segment` (the one p1 draws in the pointer's own cell, ending
// at the pointer) under `group` on cells of the pattern point's sides: every
// operation combined with every lattice translation (k, j) whose copy, grown
// by the pen's width, touches the canvas; with `chess`, only the translations
// whose k + j has the parity of the pointer's own cell. Rectangular and square
// groups move the segment's pixels (exact images for even cell sides);
// hexagonal ones draw each copy from its own exactly mapped ends, rounded.
StrokeStep groupStep(const WallpaperGroup& group, int16 patternX, int16 patternY, bool chess,
                     const Segment& segment, const GroupCanvas& canvas);

}  // namespace kalidor
