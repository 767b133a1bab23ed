#include "editor/tool.h"

namespace kalidor {

namespace {

void nothing(Editor&, const MouseArgs&) {}

// Shift alone; with Ctrl or Alt as well it counts as no Shift.
bool shiftOnly(const MouseArgs& m) { return m.Shift == kShiftKey; }

}  // namespace

const Tool kNoTool{nothing, nothing};

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
