// Line: press, drag and release draw one straight segment, with Ctrl at a
// multiple of 15 degrees, in every copy of the symmetry.
#include "draw/shape_geometry.h"
#include "draw/shape_tool.h"

namespace kalidor {

namespace {

std::vector<Point16> lineOf(Point16 from, Point16 to, bool snap) { return linePath(from, lineEnd(from, to, snap)); }

void drag(Editor& e, const MouseArgs& m) { dragShape(e, m, lineOf); }
void release(Editor& e, const MouseArgs& m) { releaseShape(e, m, lineOf); }

}  // namespace

const Tool kLineTool{pressShape, drag, release, cancelShape};

}  // namespace kalidor
