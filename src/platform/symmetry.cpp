#include "platform/symmetry.h"

#include <cmath>

namespace kalidor {

Segment PointOp::apply(const Segment& s) const
{
    auto x = [&](double px, double py) { return static_cast<float>(xx * px + xy * py + tx); };
    auto y = [&](double px, double py) { return static_cast<float>(yx * px + yy * py + ty); };
    return Segment{x(s.x1, s.y1), y(s.x1, s.y1), x(s.x2, s.y2), y(s.x2, s.y2)};
}

bool Lattice::has(int k, int j) const
{
    if (j > endRow || (j == endRow && k >= endColumn))
        return false;
    return !chess || cellParity(k, j) == (phase & 1);
}

bool Lattice::axisAligned() const
{
    return ay == 0 && bx == 0 && ax == std::floor(ax) && by == std::floor(by);
}

void expandCopies(std::span<const Segment> shapes, const Symmetry& sym, std::vector<Segment>& out)
{
    forEachCopy(shapes, sym, [&](const Segment& s) { out.push_back(s); });
}

}  // namespace kalidor
