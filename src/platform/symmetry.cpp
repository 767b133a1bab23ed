#include "platform/symmetry.h"

#include <cmath>

#include "platform/int16.h"

namespace kalidor {

namespace {

bool whole(double v) { return v == std::floor(v); }

}  // namespace

bool PointOp::wholeMatrix() const { return whole(xx) && whole(xy) && whole(yx) && whole(yy); }

Segment PointOp::apply(const Segment& s) const
{
    const bool round = !wholeMatrix();
    auto at = [&](double v) { return static_cast<float>(round ? i16::roundHalfEven(v) : v); };
    auto x = [&](double px, double py) { return at(xx * px + xy * py + tx); };
    auto y = [&](double px, double py) { return at(yx * px + yy * py + ty); };
    return Segment{x(s.x1, s.y1), y(s.x1, s.y1), x(s.x2, s.y2), y(s.x2, s.y2)};
}

bool Lattice::has(int k, int j) const
{
    if (j > endRow || (j == endRow && k >= endColumn))
        return false;
    return !chess || cellParity(k, j) == (phase & 1);
}

bool Lattice::axisAligned() const { return ay == 0 && bx == 0 && whole(ax) && whole(by); }

void Lattice::move(int k, int j, double& dx, double& dy) const
{
    const bool round = !whole(bx) || !whole(by);
    dx = k * ax + (round ? i16::roundHalfEven(j * bx) : j * bx);
    dy = k * ay + (round ? i16::roundHalfEven(j * by) : j * by);
}

void expandCopies(std::span<const Segment> shapes, const Symmetry& sym, std::vector<Segment>& out)
{
    forEachCopy(shapes, sym, [&](const Segment& s) { out.push_back(s); });
}

}  // namespace kalidor
