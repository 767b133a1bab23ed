// The mode's stroke: the press sets it up, every move with a button held is
// one step, drawn in the well the buttons name.
#include "draw/centric.h"
#include "draw/pattern.h"
#include "draw/stroke_step.h"
#include "editor/tool.h"

namespace kalidor {

namespace {

// One segment of a Normal stroke, from the stored point to the pointer as delivered.
void freehandStep(Editor& e, const MouseArgs& m)
{
    const Well* well = wellAt(e, m.Button);
    if (!well)
        return;  // the middle button and its combinations have no well
    StrokeStep step;
    step.shapes.push_back(Segment{static_cast<float>(e.st.LastXY.x), static_cast<float>(e.st.LastXY.y), m.X, m.Y});
    paintStep(*e.ui.pb, step, well->BackColor());
    e.st.LastXY = Point16{xr(m), yr(m)};
}

void startStroke(Editor& e, const MouseArgs& m)
{
    switch (e.st.Mode) {
    case kNormal:
        e.st.LastXY = Point16{xr(m), yr(m)};
        break;
    case kCentric:
        DefCenterSXY(e, xr(m), yr(m));
        break;
    case kPattern:
        DefPatternSXY(e, xr(m), yr(m));
        break;
    default:
        break;
    }
}

void stepStroke(Editor& e, const MouseArgs& m)
{
    switch (e.st.Mode) {
    case kNormal:
        freehandStep(e, m);
        break;
    case kCentric:
        CenterDrawLines(e, xr(m), yr(m), m.Button);
        break;
    case kPattern:
        PatternDrawLines(e, xr(m), yr(m), m.Button);
        break;
    default:
        break;
    }
}

}  // namespace

// The stroke is drawn as it goes: the release and a cancel leave it as it is.
const Tool kStrokeTool{startStroke, stepStroke, noPointer, noCancel};

}  // namespace kalidor
