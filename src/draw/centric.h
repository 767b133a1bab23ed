#pragma once
// Centric drawing in the window: N read off its slider, the copies drawn on the
// canvas in a well's colour.

#include "draw/centric_geometry.h"
#include "editor/editor.h"

namespace kalidor {

// Sets up a Centric stroke whose pointer starts at (x, y): the N start points.
void DefCenterSXY(Editor& e, int16 x, int16 y);
// One step of a Centric stroke to (x, y), in the colour of well `button`.
void CenterDrawLines(Editor& e, int16 x, int16 y, int16 button);
// The N slider moved: its label follows; the new N counts from the next stroke.
void slN_Scroll(Editor& e);

}  // namespace kalidor
