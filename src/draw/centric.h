#pragma once
// Centric drawing: every stroke drawn N times about the centre, rotated by
// multiples of one N-th of a full turn.

#include "editor/editor.h"

namespace kalidor {

// Single-precision angle constants, pi taken as the single 3.141592.
constexpr float kPi = 3.141592f;
constexpr float kHalfPi = 1.570796f;
constexpr float kThreeHalfPi = 4.712388f;
constexpr float kFullTurn = 6.283184f;

// The angle of (x, y) about the centre, radians, clockwise on screen from the
// positive x axis.
float DefAlfa(const EditorState& s, int16 x, int16 y);
// Sets up a Centric stroke whose pointer starts at (x, y): the N start points.
void DefCenterSXY(Editor& e, int16 x, int16 y);
// One step of a Centric stroke to (x, y), in the colour of well `button`.
void CenterDrawLines(Editor& e, int16 x, int16 y, int16 button);
// The N slider moved: its label follows; the new N counts from the next stroke.
void slN_Scroll(Editor& e);

}  // namespace kalidor
