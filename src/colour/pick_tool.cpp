// Colour pick as what a press on the canvas does; moves pick nothing.
#include "colour/colour_pick.h"
#include "editor/tool.h"

namespace kalidor {

const Tool kPickTool{PickColour, noPointer, noPointer, noCancel};

}  // namespace kalidor
