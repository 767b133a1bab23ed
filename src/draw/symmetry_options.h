#pragma once
// Two settings of the symmetric modes, both off at start: Mirror, which adds
// the mirror image of every copy in Centric and Pattern, and Guides, which show
// the lines of the symmetry over the canvas without ever drawing them.

#include <vector>

#include "draw/mode_copies.h"
#include "editor/editor.h"

namespace kalidor {

// The M key and the Edit pop-up's "Mirror"; the G key and its "Guides".
void toggleMirror(Editor& e);
void toggleGuides(Editor& e);
// The [ and ] keys: with Mirror in Centric, the mirror line turned about the
// centre by `degrees` (clockwise for more), kept within 0..179.
void turnMirror(Editor& e, int degrees);

// The guides of a mode, in canvas pixels: in Centric the N rays from the centre
// at 0, 360/N, 2 x 360/N ... degrees clockwise from straight up, and with
// Mirror the mirror line through the centre, `mirrorAngle` degrees clockwise
// from the vertical; in Pattern the cell grid's lines x = k PatternX and
// y = j PatternY (none where cells are under 4 pixels, where they would hide
// the picture), or under a wallpaper group other than p1 its own guides
// (group_guides.h); in Normal none.
std::vector<Segment> symmetryGuides(const CopySettings& settings, float width, float height);

// Shows the guides of the editor as it now is, or none while they are off.
void refreshGuides(Editor& e);

}  // namespace kalidor
