#include "draw/canvas_input.h"

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

void endStroke(Editor& e)
{
    if (!e.stroking)
        return;
    e.stroking = false;
    e.ui.pbHistory->EndStep();
}

}  // namespace

void pb_MouseDown(Editor& e, const MouseArgs& m)
{
    beginStroke(e);
    toolFor(e, m).press(e, m);
}

void pb_MouseMove(Editor& e, const MouseArgs& m)
{
    showReadout(e, m.X, m.Y);
    if (m.Button <= 0) {
        endStroke(e);  // the release went elsewhere
        return;
    }
    toolFor(e, m).drag(e, m);
}

void pb_MouseUp(Editor& e, const MouseArgs& m)
{
    if (m.Button <= 0)
        endStroke(e);
}

void pb_DragOver(Editor& e, DragSource, float x, float y)
{
    showReadout(e, x, y);
}

}  // namespace kalidor
