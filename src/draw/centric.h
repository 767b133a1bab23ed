#pragma once
// Centric drawing in the window: N read off its slider, the copies drawn on the
// canvas in a well's colour.

#include "draw/centric_geometry.h"
#include "editor/editor.h"

namespace kalidor {

// The same set-up and step on a stroke state of the caller's: a shape
// tool's preview works on a copy of the editor's.
void centricStartOn(const Editor& e, EditorState& s, int16 x, int16 y);
StrokeStep centricStepOn(const Editor& e, EditorState& s, int16 x, int16 y);

// Sets up a Centric stroke whose pointer starts at (x, y): the N start points.
void DefCenterSXY(Editor& e, int16 x, int16 y);
// One step of a Centric stroke to (x, y), in the colour of well `button`.
void CenterDrawLines(Editor& e, int16 x, int16 y, int16 button);
// The N slider moved: its label follows; the new N counts from the next stroke.
void slN_Scroll(Editor& e);

}  // namespace kalidor
