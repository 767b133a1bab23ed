#include "draw/canvas_input.h"

#include <optional>
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
    e.ui.pb->SetSmooth(e.smoothLines);  // the stroke is drawn as it began
}

// The stroke's moves to the points the stabiliser yields, as the pointer's
// would be: one beyond 16 bits is abandoned as such a move is, after the rest.
void steadiedDrags(Editor& e, MouseArgs at, const std::vector<Stabiliser::Place>& points)
{
    std::optional<Int16Error> abandoned;
    for (const Stabiliser::Place& p : points) {
        at.X = static_cast<float>(p.x);
        at.Y = static_cast<float>(p.y);
        try {
            kStrokeTool.drag(e, at);
        } catch (const Int16Error& error) {
            abandoned = abandoned.value_or(error);
        }
    }
    if (abandoned)
        throw *abandoned;
}

// The steadied stroke's points so far owed, drawn to the last pointer position.
void finishSteadied(Editor& e, const MouseArgs& m)
{
    Stabiliser& s = e.stabiliser;
    if (s.level == Steadiness::Off)
        return;
    const std::vector<Stabiliser::Place> owed = stabiliserFinish(s);
    s.level = Steadiness::Off;
    MouseArgs at = m;
    at.Button = s.buttons;
    steadiedDrags(e, at, owed);
}

// A move for the stroke: with the stabiliser on, the points it yields instead.
void strokeMove(Editor& e, const MouseArgs& m)
{
    Stabiliser& s = e.stabiliser;
    if (s.level == Steadiness::Off && e.steadiness != Steadiness::Off && e.tool != &kStrokeTool) {
        // Back to the stroke from another tool in the same press: steadied from here.
        stabiliserStart(s, e.steadiness, m.X, m.Y);
        return;
    }
    if (s.level == Steadiness::Off) {
        kStrokeTool.drag(e, m);
        return;
    }
    s.buttons = m.Button;
    steadiedDrags(e, m, stabiliserMove(s, m.X, m.Y));
}

// The release goes to the tool the last press or move went to, inside the step.
void endStroke(Editor& e, const MouseArgs& m)
{
    if (!e.stroking)
        return;
    // The step ends whatever the release throws (a point beyond 16 bits).
    struct Close {
        Editor& e;
        ~Close()
        {
            e.stroking = false;
            e.ui.pbHistory->EndStep();
        }
    } close{e};
    const Tool* tool = std::exchange(e.tool, nullptr);
    finishSteadied(e, m);
    if (tool)
        tool->release(e, m);
}

// The tool for this press or move: the mode and the keys held choose it afresh
// every time, as Shift pressed or released in a stroke switches between
// drawing and placing the control point.
// A tool that loses the press to another (Shift pressed in a shape's drag) is
// cancelled; a steadied stroke first draws what it owes.
const Tool& chosen(Editor& e, const MouseArgs& m)
{
    const Tool& tool = toolFor(e, m);
    if (e.tool && e.tool != &tool) {
        if (e.tool == &kStrokeTool)
            finishSteadied(e, m);
        e.tool->cancel(e);
    }
    return tool;
}

}  // namespace

void pb_MouseDown(Editor& e, const MouseArgs& m)
{
    beginStroke(e);
    const Tool& tool = chosen(e, m);
    if (&tool == &kStrokeTool)
        finishSteadied(e, m);  // a second button sets the stroke up afresh: what it owes first
    e.tool = &tool;
    tool.press(e, m);
    if (&tool == &kStrokeTool)
        stabiliserStart(e.stabiliser, e.steadiness, m.X, m.Y);
}

void pb_MouseMove(Editor& e, const MouseArgs& m)
{
    showReadout(e, m.X, m.Y);
    if (m.Button <= 0) {
        endStroke(e, m);  // the release went elsewhere
        return;
    }
    const Tool& tool = chosen(e, m);
    if (&tool == &kStrokeTool)
        strokeMove(e, m);
    else
        tool.drag(e, m);
    e.tool = &tool;
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
