#pragma once
// Mouse input on the canvas: the pointer readout, Normal mode's freehand lines,
// and the routing of every other case by mode.

#include "editor/editor.h"
#include "platform/events.h"

namespace kalidor {

void pb_MouseDown(Editor& e, const MouseArgs& m);
void pb_MouseMove(Editor& e, const MouseArgs& m);
// A button released; `m.Button` holds those still down. The last one ends the
// press: its tool's release, then the end of its step.
void pb_MouseUp(Editor& e, const MouseArgs& m);
// Escape while a button is down on the canvas: the press's tool calls it off.
void cancelPress(Editor& e);
void pb_DragOver(Editor& e, DragSource source, float x, float y);

}  // namespace kalidor
