#include "editor/tool.h"

namespace kalidor {

namespace {

// Shift alone; with Ctrl or Alt as well it counts as no Shift.
bool shiftOnly(const MouseArgs& m) { return m.Shift == kShiftKey; }

}  // namespace

void noPointer(Editor&, const MouseArgs&) {}
void noCancel(Editor&) {}

const Tool kNoTool{noPointer, noPointer, noPointer, noCancel};

const Tool& toolFor(const Editor& e, const MouseArgs& m)
{
    switch (e.st.Mode) {
    case kNormal:
        return e.fill ? kFillTool : kStrokeTool;
    case kCentric:
    case kPattern:
        if (shiftOnly(m))
            return kPlacePointTool;
        return e.fill ? kFillTool : kStrokeTool;
    case kColourPick:
        return kPickTool;
    default:
        return kNoTool;
    }
}

}  // namespace kalidor
