#pragma once
// The mode's stroke as steps: its set-up at the press and each step to the next
// point, on a stroke state of the caller's. The stroke tool steps the editor's
// own state; a shape tool steps a copy for its preview and the editor's at the
// release, so what it shows is what it draws.

#include "draw/stroke_step.h"
#include "editor/editor.h"

namespace kalidor {

void strokeStartOn(const Editor& e, EditorState& s, int16 x, int16 y);
// Normal's segment ends at (x, y) as given; Centric and Pattern take it as whole pixels.
StrokeStep strokeStepOn(const Editor& e, EditorState& s, float x, float y);

}  // namespace kalidor
