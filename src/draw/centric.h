#pragma once
// Centric drawing: every stroke drawn N times about the centre.

#include "app/editor.h"

namespace kalidor {

// Sets up a Centric stroke whose pointer starts at (x, y).
void DefCenterSXY(Editor& e, int16 x, int16 y);
// One step of a Centric stroke to (x, y), in the colour of well `button`.
void CenterDrawLines(Editor& e, int16 x, int16 y, int16 button);

}  // namespace kalidor
