#pragma once
// The control point of the symmetric modes: the centre in Centric mode, the
// pattern point otherwise, shown by the marker and in status panel 3.

#include "editor/editor.h"
#include "platform/events.h"

namespace kalidor {

// Sets the active control point to (x, y), shows it in panel 3 ("C: x,y" or
// "P: x,y") and puts the marker's middle pixel on it.
void ChangeCPXY(Editor& e, int16 x, int16 y);

// Something dropped on the canvas: the marker sets the control point under the
// pointer, unless the mode became Normal while it was dragged.
void pb_DragDrop(Editor& e, DragSource source, float x, float y);
// The pointer over the marker (X, Y in twips from its corner): panel 2 shows
// the canvas position under it.
void obCP_MouseMove(Editor& e, const MouseArgs& m);
// "Center" and "Pannern" show and hide the marker.
void cbCenter_Click(Editor& e);
void cbPattern_Click(Editor& e);

}  // namespace kalidor
