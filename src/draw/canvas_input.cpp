#include "draw/canvas_input.h"

#include "colour/colour_pick.h"
#include "draw/centric.h"
#include "draw/control_point.h"
#include "draw/pattern.h"
#include "platform/number_format.h"

namespace kalidor {

namespace {

int16 xr(const MouseArgs& m) { return i16::round(m.X); }
int16 yr(const MouseArgs& m) { return i16::round(m.Y); }

// Shift alone; with Ctrl or Alt as well it counts as no Shift.
bool shiftOnly(const MouseArgs& m) { return m.Shift == kShiftKey; }

// Shift alone in a symmetric mode: the control point goes under the pointer,
// while the mode's box ("Center" or "Pannern") is checked; otherwise nothing.
void placeControlPoint(Editor& e, const MouseArgs& m)
{
    const CheckBox& box = e.st.Mode == kCentric ? e.ui.cbCenter : e.ui.cbPattern;
    if (box.Value() == 1)
        ChangeCPXY(e, xr(m), yr(m));
}

void showReadout(Editor& e, float x, float y) { e.ui.sb.SetPanelText(2, readoutText(x, y)); }

// One segment of a Normal stroke, from the stored point to the pointer as delivered.
void freehandSegment(Editor& e, const MouseArgs& m)
{
    const Well* well = wellAt(e, m.Button);
    if (!well)
        return;  // the middle button and its combinations have no well
    const Colour c = well->BackColor();
    e.ui.pb->Line(e.st.LastXY.x, e.st.LastXY.y, m.X, m.Y, c);
    e.st.LastXY = Point16{xr(m), yr(m)};
}

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
    switch (e.st.Mode) {
    case kNormal:
        e.st.LastXY = Point16{xr(m), yr(m)};
        break;
    case kCentric:
        if (shiftOnly(m))
            placeControlPoint(e, m);
        else
            DefCenterSXY(e, xr(m), yr(m));
        break;
    case kPattern:
        if (shiftOnly(m))
            placeControlPoint(e, m);
        else
            DefPatternSXY(e, xr(m), yr(m));
        break;
    case kColourPick:
        PickColour(e, m);
        break;
    default:
        break;
    }
}

void pb_MouseMove(Editor& e, const MouseArgs& m)
{
    showReadout(e, m.X, m.Y);
    if (m.Button <= 0) {
        endStroke(e);  // the release went elsewhere
        return;
    }
    switch (e.st.Mode) {
    case kNormal:
        freehandSegment(e, m);
        break;
    case kCentric:
        if (shiftOnly(m))
            placeControlPoint(e, m);
        else
            CenterDrawLines(e, xr(m), yr(m), m.Button);
        break;
    case kPattern:
        if (shiftOnly(m))
            placeControlPoint(e, m);
        else
            PatternDrawLines(e, xr(m), yr(m), m.Button);
        break;
    default:
        break;
    }
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
