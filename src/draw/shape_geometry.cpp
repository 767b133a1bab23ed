#include "draw/shape_geometry.h"

#include <algorithm>
#include <cmath>

namespace kalidor {

namespace {

constexpr double kChordSag = 0.25;  // pixels a chord may lie inside its arc
// Corners at multiples of 15 degrees among them: a circle about a centre of
// turns or on a mirror line (a cell's middle under p4m) is then its own image
// under them, pixel for pixel, and its copies do not thicken it.
constexpr int kCornerStep = 24;

Point16 wholePoint(double x, double y)
{
    return Point16{i16::round(static_cast<float>(x)), i16::round(static_cast<float>(y))};
}

}  // namespace

Point16 lineEnd(Point16 from, Point16 to, bool snap)
{
    if (!snap)
        return to;
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double length = std::hypot(dx, dy);
    const double step = kSnapDegrees * M_PI / 180;
    const double angle = std::round(std::atan2(dy, dx) / step) * step;
    return wholePoint(from.x + length * std::cos(angle), from.y + length * std::sin(angle));
}

std::vector<Point16> linePath(Point16 from, Point16 to) { return {from, to}; }

std::vector<Point16> circlePath(Point16 centre, Point16 through)
{
    const double dx = through.x - centre.x;
    const double dy = through.y - centre.y;
    const double radius = std::hypot(dx, dy);
    if (radius < 0.5)
        return {through};
    // A chord of the angle a lies r (1 - cos(a / 2)) inside the arc at most.
    const double most = 2 * std::acos(std::max(-1.0, 1 - kChordSag / radius));
    const int needed = static_cast<int>(std::ceil(2 * M_PI / most));
    const int corners = (needed + kCornerStep - 1) / kCornerStep * kCornerStep;
    std::vector<Point16> path;
    for (int i = 0; i <= corners; ++i) {
        const double a = 2 * M_PI * (i % corners) / corners;
        const Point16 p = wholePoint(centre.x + radius * std::cos(a), centre.y + radius * std::sin(a));
        if (path.empty() || !(p == path.back()))
            path.push_back(p);
    }
    return path;
}

}  // namespace kalidor
