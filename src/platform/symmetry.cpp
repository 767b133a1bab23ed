#include "platform/symmetry.h"

#include <cmath>


namespace kalidor {

namespace {

bool whole(double v) { return v == std::floor(v); }

}  // namespace

bool PointOp::wholeMatrix() const { return whole(xx) && whole(xy) && whole(yx) && whole(yy); }

bool PointOp::permutesAxes() const
{
    auto unit = [](double v) { return v == 1 || v == -1; };
    return (xy == 0 && yx == 0 && unit(xx) && unit(yy)) || (xx == 0 && yy == 0 && unit(xy) && unit(yx));
}

Segment PointOp::apply(const Segment& s) const { return place(s); }

PointOp::Ends PointOp::ends(const Segment& s) const
{
    auto x = [&](double px, double py) { return xx * px + xy * py + tx; };
    auto y = [&](double px, double py) { return yx * px + yy * py + ty; };
    return {x(s.x1, s.y1), y(s.x1, s.y1), x(s.x2, s.y2), y(s.x2, s.y2)};
}

Segment PointOp::place(const Ends& e, double dx, double dy) const
{
    // Halves round up, not to even, so that a copy moved on by whole pixels
    // rounds to the same pixels moved on.
    // A whole move is added after the rounding, so that no sum's last bit can
    // tip one copy's rounding the other way.
    const bool round = !wholeMatrix() || !whole(tx) || !whole(ty) || !whole(dx) || !whole(dy);
    auto at = [&](double v, double d) {
        if (!round)
            return static_cast<float>(v + d);
        return static_cast<float>(whole(d) ? std::floor(v + 0.5) + d : std::floor(v + d + 0.5));
    };
    return Segment{at(e[0], dx), at(e[1], dy), at(e[2], dx), at(e[3], dy)};
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
    dx = j * bx + k * ax;
    dy = j * by + k * ay;
}

void expandCopies(std::span<const Segment> shapes, const Symmetry& sym, std::vector<Segment>& out)
{
    forEachCopy(shapes, sym, [&](const Segment& s) { out.push_back(s); });
}


PixelMap pixelMap(const PointOp& op, int width)
{
    // A line's end e lies at e + h, h = 1/2 for odd widths and 0 for even
    // ones; pixel i's centre at i + 1/2. The operation e -> M e + t moves the
    // place p = e + h to M (p - h) + t + h, so the centre of pixel i goes to
    // M i + t + (M - 1)(1/2 - h) + 1/2: pixel M i + t + (M - 1)(1/2 - h).
    const double h = (width & 1) != 0 ? 0.5 : 0.0;
    const double c = 0.5 - h;
    PixelMap m;
    m.xx = static_cast<int>(op.xx);
    m.xy = static_cast<int>(op.xy);
    m.yx = static_cast<int>(op.yx);
    m.yy = static_cast<int>(op.yy);
    m.ox = static_cast<long long>(std::floor(op.tx + (op.xx + op.xy - 1) * c));
    m.oy = static_cast<long long>(std::floor(op.ty + (op.yx + op.yy - 1) * c));
    return m;
}

}  // namespace kalidor
