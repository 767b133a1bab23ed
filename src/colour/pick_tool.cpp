// Colour pick as what a press on the canvas does; moves pick nothing.
#include "colour/colour_pick.h"
#include "editor/tool.h"

namespace kalidor {

namespace {

void pickNothing(Editor&, const MouseArgs&) {}

}  // namespace

const Tool kPickTool{PickColour, pickNothing};

}  // namespace kalidor
