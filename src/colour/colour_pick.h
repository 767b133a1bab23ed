#pragma once
// Colour pick: with "Cvet" checked, the next press on the canvas copies the
// colour under the pointer into a well and returns to the previous mode.

#include "editor/editor.h"
#include "platform/events.h"

namespace kalidor {

// "Cvet" changed, by the user or from code: checked enters colour pick and
// remembers the mode left; unchecked returns to it.
void cbCvet_Click(Editor& e);

// A press on the canvas while colour pick is on: the pixel under the pointer
// goes into the well of the button (well 3 with any modifier held), and
// "Cvet" is unchecked.
void PickColour(Editor& e, const MouseArgs& m);

}  // namespace kalidor
