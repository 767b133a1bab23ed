#pragma once
// What a press on the canvas does, the moves with a button held after it, the
// release of the last button and a cancel (Escape) before it: one small unit a
// job, chosen in one place (`toolFor`) by the mode and the keys held
// (draw/tool_choice.cpp). A new job is a new tool and a line in `toolFor`.
// A tool that shows what it is about to draw does so on the canvas's preview
// (PictureBox::SetPreview), never in the picture, and draws it at the release.

#include "editor/editor.h"
#include "platform/events.h"

namespace kalidor {

struct Tool {
    void (*press)(Editor&, const MouseArgs&);
    void (*drag)(Editor&, const MouseArgs&);
    // The last button went up: the press is over, inside its step of the history.
    void (*release)(Editor&, const MouseArgs&);
    // The press is called off while a button is still down.
    void (*cancel)(Editor&);
};

// The mode's stroke: Normal's freehand lines, Centric's and Pattern's copies.
extern const Tool kStrokeTool;
// Shift alone in a symmetric mode: the control point under the pointer, while
// the mode's box ("Center" or "Pannern") is checked; otherwise nothing.
extern const Tool kPlacePointTool;
// Fill on: the press fills the region under the pointer and under its images
// in the mode's symmetry; moves do nothing.
extern const Tool kFillTool;
// Line or Circle chosen: the press fixes the shape's first point, the moves
// show it with its copies on the preview, the release draws them.
extern const Tool kLineTool;
extern const Tool kCircleTool;
// Colour pick: the press copies the colour under the pointer into a well.
extern const Tool kPickTool;
// Does nothing.
extern const Tool kNoTool;

// For the moments a tool has nothing to do.
void noPointer(Editor&, const MouseArgs&);
void noCancel(Editor&);

// The tool for a press, or for a move with a button held.
const Tool& toolFor(const Editor& e, const MouseArgs& m);

// The pointer's position handed on as whole pixels.
inline int16 xr(const MouseArgs& m) { return i16::round(m.X); }
inline int16 yr(const MouseArgs& m) { return i16::round(m.Y); }

}  // namespace kalidor
