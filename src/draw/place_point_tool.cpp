// Shift alone in a symmetric mode: the control point follows the pointer.
#include "draw/control_point.h"
#include "editor/tool.h"

namespace kalidor {

namespace {

void placeControlPoint(Editor& e, const MouseArgs& m)
{
    const CheckBox& box = e.st.Mode == kCentric ? e.ui.cbCenter : e.ui.cbPattern;
    if (box.Value() == 1)
        ChangeCPXY(e, xr(m), yr(m));
}

}  // namespace

const Tool kPlacePointTool{placeControlPoint, placeControlPoint, noPointer, noCancel};

}  // namespace kalidor
