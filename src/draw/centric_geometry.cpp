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

namespace {

// The mirror across the centre's vertical as the step's second operation,
// its 16-bit arithmetic checked copy by copy: where a mirrored copy leaves the
// range, the mirrored copies before it are drawn as shapes of their own.
void mirrorAcrossCentre(const EditorState& s, StrokeStep& step)
{
    const std::size_t rows = step.shapes.size();
    std::size_t i = 0;
    try {
        const int16 twice = i16::add(s.CenterX, s.CenterX);
        for (; i < rows; ++i) {
            i16::sub(twice, static_cast<int16>(step.shapes[i].x1));
            i16::sub(twice, static_cast<int16>(step.shapes[i].x2));
        }
    } catch (const Int16Error& error) {
        const PointOp mirror = PointOp::mirrorX(s.CenterX);
        for (std::size_t j = 0; j < i; ++j)
            step.shapes.push_back(mirror.apply(step.shapes[j]));
        step.overflow = error;
        return;
    }
    step.symmetry.ops.push_back(PointOp::mirrorX(s.CenterX));
}

}  // namespace

PointOp mirrorLine(double cx, double cy, int degrees)
{
    // R = [[-cos 2a, -sin 2a], [-sin 2a, cos 2a]], whole at every eighth of a turn.
    double c2 = 0, s2 = 0;
    switch (((degrees % 180) + 180) % 180) {
    case 0: c2 = 1, s2 = 0; break;
    case 45: c2 = 0, s2 = 1; break;
    case 90: c2 = -1, s2 = 0; break;
    case 135: c2 = 0, s2 = -1; break;
    default:
        c2 = std::cos(2 * degrees * M_PI / 180);
        s2 = std::sin(2 * degrees * M_PI / 180);
    }
    PointOp op{-c2, -s2, -s2, c2, 0, 0};
    op.tx = cx - (op.xx * cx + op.xy * cy);
    op.ty = cy - (op.yx * cx + op.yy * cy);
    return op;
}

StrokeStep centricStep(EditorState& s, int16 n, bool mirror, int16 x, int16 y, int mirrorAngle)
{
    StrokeStep step;
    if (s.SXY.empty())
        return step;  // no set-up yet: no points to draw from
    const std::size_t rows = std::min(s.SXY.size(), static_cast<std::size_t>(std::max<int16>(n, 0)));
    try {
        const float r = radius(s, x, y);
        float alfa = DefAlfa(s, x, y);
        for (std::size_t i = 0; i < rows; ++i) {
            const Point16 p = rotatedPoint(s, r, alfa);
            step.shapes.push_back({static_cast<float>(s.SXY[i].x), static_cast<float>(s.SXY[i].y),
                                   static_cast<float>(p.x), static_cast<float>(p.y)});
            s.SXY[i] = p;
            alfa = nextAngle(alfa, s.DAlfa);
        }
    } catch (const Int16Error& error) {
        step.overflow = error;
        return step;
    }
    if (mirror && mirrorAngle % 180 == 0) {
        mirrorAcrossCentre(s, step);
    } else if (mirror) {
        step.symmetry.ops.push_back(mirrorLine(s.CenterX, s.CenterY, mirrorAngle));
        step.symmetry.movesPixels = step.symmetry.ops.back().permutesAxes();
    }
    return step;
}

}  // namespace kalidor
