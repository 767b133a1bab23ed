// Circle: press at the centre, drag and release draw a circle through the
// release point, in every copy of the symmetry.
#include "draw/shape_geometry.h"
#include "draw/shape_tool.h"

namespace kalidor {

namespace {

std::vector<Point16> circleOf(Point16 centre, Point16 through, bool) { return circlePath(centre, through); }

void drag(Editor& e, const MouseArgs& m) { dragShape(e, m, circleOf); }
void release(Editor& e, const MouseArgs& m) { releaseShape(e, m, circleOf); }

}  // namespace

const Tool kCircleTool{pressShape, drag, release, cancelShape};

}  // namespace kalidor
