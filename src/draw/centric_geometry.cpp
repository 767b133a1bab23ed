#include "draw/centric_geometry.h"

#include <algorithm>
#include <cmath>

namespace kalidor {

namespace {

// Distance of (x, y) from the centre: doubles inside, stored as a single.
float radius(const EditorState& s, int16 x, int16 y)
{
    const double dx = i16::sub(x, s.CenterX);
    const double dy = i16::sub(y, s.CenterY);
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

Point16 rotatedPoint(const EditorState& s, float r, float alfa)
{
    const double a = alfa;
    return Point16{i16::round(r * std::cos(a) + s.CenterX), i16::round(r * std::sin(a) + s.CenterY)};
}

// Angles advance in single precision, one step at a time, as they are stored.
float nextAngle(float alfa, float step)
{
    return static_cast<float>(static_cast<double>(alfa) + static_cast<double>(step));
}

}  // namespace

float DefAlfa(const EditorState& s, int16 x, int16 y)
{
    if (x == s.CenterX)
        return s.CenterY < y ? kHalfPi : kThreeHalfPi;
    const double q = static_cast<double>(i16::sub(s.CenterY, y)) / static_cast<double>(i16::sub(s.CenterX, x));
    double alfa = std::atan(q);
    if (x < s.CenterX)
        alfa += static_cast<double>(kPi);
    return static_cast<float>(alfa);
}

void centricStart(EditorState& s, int16 n, int16 x, int16 y)
{
    const float r = radius(s, x, y);
    float alfa = DefAlfa(s, x, y);
    s.DAlfa = static_cast<float>(static_cast<double>(kFullTurn) / n);
    s.SXY.assign(static_cast<std::size_t>(std::max<int16>(n, 0)), Point16{});
    if (s.SXY.empty())
        return;
    s.SXY[0] = Point16{x, y};
    for (std::size_t i = 1; i < s.SXY.size(); ++i) {
        alfa = nextAngle(alfa, s.DAlfa);
        s.SXY[i] = rotatedPoint(s, r, alfa);
    }
}

void centricStep(EditorState& s, int16 n, bool mirror, int16 x, int16 y, std::vector<Segment>& out)
{
    if (s.SXY.empty())
        return;  // no set-up yet: no points to draw from
    const float r = radius(s, x, y);
    float alfa = DefAlfa(s, x, y);
    const std::size_t rows = std::min(s.SXY.size(), static_cast<std::size_t>(std::max<int16>(n, 0)));
    for (std::size_t i = 0; i < rows; ++i) {
        const Point16 p = rotatedPoint(s, r, alfa);
        out.push_back({static_cast<float>(s.SXY[i].x), static_cast<float>(s.SXY[i].y), static_cast<float>(p.x),
                       static_cast<float>(p.y)});
        s.SXY[i] = p;
        alfa = nextAngle(alfa, s.DAlfa);
    }
    if (!mirror)
        return;
    const std::size_t first = out.size() - rows;
    const int16 twice = i16::add(s.CenterX, s.CenterX);
    for (std::size_t i = first; i < first + rows; ++i) {
        const Segment g = out[i];
        out.push_back({static_cast<float>(i16::sub(twice, static_cast<int16>(g.x1))), g.y1,
                       static_cast<float>(i16::sub(twice, static_cast<int16>(g.x2))), g.y2});
    }
}

}  // namespace kalidor
