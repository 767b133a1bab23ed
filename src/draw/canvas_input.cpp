#include "draw/canvas_input.h"

#include <utility>

#include "editor/tool.h"
#include "platform/number_format.h"

namespace kalidor {

namespace {

void showReadout(Editor& e, float x, float y) { e.ui.sb.SetPanelText(2, readoutText(x, y)); }

// A stroke is one step of the history, from its first press to the release of
// its last button, with every copy it drew.
void beginStroke(Editor& e)
{
    if (e.stroking)
        return;
    e.stroking = true;
    e.ui.pbHistory->BeginStep();
}

// The release goes to the tool the last press or move went to, inside the step.
void endStroke(Editor& e, const MouseArgs& m)
{
    if (!e.stroking)
        return;
    if (const Tool* tool = std::exchange(e.tool, nullptr))
        tool->release(e, m);
    e.stroking = false;
    e.ui.pbHistory->EndStep();
}

// The tool for this press or move: the mode and the keys held choose it afresh
// every time, as Shift pressed or released in a stroke switches between
// drawing and placing the control point.
const Tool& chosen(Editor& e, const MouseArgs& m)
{
    const Tool& tool = toolFor(e, m);
    e.tool = &tool;
    return tool;
}

}  // namespace

void pb_MouseDown(Editor& e, const MouseArgs& m)
{
    beginStroke(e);
    chosen(e, m).press(e, m);
}

void pb_MouseMove(Editor& e, const MouseArgs& m)
{
    showReadout(e, m.X, m.Y);
    if (m.Button <= 0) {
        endStroke(e, m);  // the release went elsewhere
        return;
    }
    chosen(e, m).drag(e, m);
}

void pb_MouseUp(Editor& e, const MouseArgs& m)
{
    if (m.Button <= 0)
        endStroke(e, m);
}

void cancelPress(Editor& e)
{
    if (e.stroking && e.tool)
        e.tool->cancel(e);
}

void pb_DragOver(Editor& e, DragSource, float x, float y)
{
    showReadout(e, x, y);
}

}  // namespace kalidor
