#include "editor/tool.h"

namespace kalidor {

namespace {

// Shift alone; with Ctrl or Alt as well it counts as no Shift.
bool shiftOnly(const MouseArgs& m) { return m.Shift == kShiftKey; }

// What a press draws where it does not place the control point.
const Tool& drawingTool(const Editor& e)
{
    if (e.fill)
        return kFillTool;
    switch (e.shape) {
    case ShapeKind::Line: return kLineTool;
    case ShapeKind::Circle: return kCircleTool;
    default: return kStrokeTool;
    }
}

}  // namespace

void noPointer(Editor&, const MouseArgs&) {}
void noCancel(Editor&) {}

const Tool kNoTool{noPointer, noPointer, noPointer, noCancel};

const Tool& toolFor(const Editor& e, const MouseArgs& m)
{
    switch (e.st.Mode) {
    case kNormal:
        return drawingTool(e);
    case kCentric:
    case kPattern:
        if (shiftOnly(m))
            return kPlacePointTool;
        return drawingTool(e);
    case kColourPick:
        return kPickTool;
    default:
        return kNoTool;
    }
}

}  // namespace kalidor
