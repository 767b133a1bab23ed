#include "draw/centric_geometry.h"

#include <algorithm>
#include <cmath>

#include "draw/mode_copies.h"

namespace kalidor {

namespace {

// Distance of (x, y) from the centre: doubles inside, stored as a single.
float radius(Point16 c, int16 x, int16 y)
{
    const double dx = i16::sub(x, c.x);
    const double dy = i16::sub(y, c.y);
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

Point16 rotatedPoint(Point16 c, float r, float alfa)
{
    const double a = alfa;
    return Point16{i16::round(r * std::cos(a) + c.x), i16::round(r * std::sin(a) + c.y)};
}

// Angles advance in single precision, one step at a time, as they are stored.
float nextAngle(float alfa, float step)
{
    return static_cast<float>(static_cast<double>(alfa) + static_cast<double>(step));
}

Point16 centreOf(const EditorState& s) { return Point16{s.CenterX, s.CenterY}; }

}  // namespace

float DefAlfa(const EditorState& s, int16 x, int16 y) { return DefAlfa(centreOf(s), x, y); }

float DefAlfa(Point16 c, int16 x, int16 y)
{
    if (x == c.x)
        return c.y < y ? kHalfPi : kThreeHalfPi;
    const double q = static_cast<double>(i16::sub(c.y, y)) / static_cast<double>(i16::sub(c.x, x));
    double alfa = std::atan(q);
    if (x < c.x)
        alfa += static_cast<double>(kPi);
    return static_cast<float>(alfa);
}

void centricStart(EditorState& s, int16 n, int16 x, int16 y)
{
    const Point16 c = centreOf(s);
    const float r = radius(c, x, y);
    float alfa = DefAlfa(c, x, y);
    s.DAlfa = static_cast<float>(static_cast<double>(kFullTurn) / n);
    s.SXY.assign(static_cast<std::size_t>(std::max<int16>(n, 0)), Point16{});
    if (s.SXY.empty())
        return;
    s.SXY[0] = Point16{x, y};
    for (std::size_t i = 1; i < s.SXY.size(); ++i) {
        alfa = nextAngle(alfa, s.DAlfa);
        s.SXY[i] = rotatedPoint(c, r, alfa);
    }
}

namespace {

// The mirror across the centre's vertical as the step's second operation,
// its 16-bit arithmetic checked copy by copy: where a mirrored copy leaves the
// range, the mirrored copies before it are drawn as shapes of their own.
void mirrorAcrossCentre(Point16 c, StrokeStep& step)
{
    const std::size_t rows = step.shapes.size();
    std::size_t i = 0;
    try {
        const int16 twice = i16::add(c.x, c.x);
        for (; i < rows; ++i) {
            i16::sub(twice, static_cast<int16>(step.shapes[i].x1));
            i16::sub(twice, static_cast<int16>(step.shapes[i].x2));
        }
    } catch (const Int16Error& error) {
        const PointOp mirror = PointOp::mirrorX(c.x);
        for (std::size_t j = 0; j < i; ++j)
            step.shapes.push_back(mirror.apply(step.shapes[j]));
        step.overflow = error;
        return;
    }
    step.symmetry.ops.push_back(PointOp::mirrorX(c.x));
}

// The n turns of the segment, each end the rounded turn of the exact one.
StrokeStep wholeTurns(const CopySettings& c, const Segment& segment)
{
    StrokeStep step;
    std::size_t rows = static_cast<std::size_t>(std::max<int16>(c.n, 0));
    if (c.starts)
        rows = std::min(rows, c.starts->size());
    try {
        const int16 x = i16::round(segment.x2), y = i16::round(segment.y2);
        const float r = radius(c.centre, x, y);
        float alfa = DefAlfa(c.centre, x, y);
        const int16 fx = i16::round(segment.x1), fy = i16::round(segment.y1);
        const float fromR = c.starts ? 0 : radius(c.centre, fx, fy);
        float fromAlfa = c.starts ? 0 : DefAlfa(c.centre, fx, fy);
        for (std::size_t i = 0; i < rows; ++i) {
            const Point16 from = c.starts ? (*c.starts)[i] : rotatedPoint(c.centre, fromR, fromAlfa);
            const Point16 to = rotatedPoint(c.centre, r, alfa);
            step.shapes.push_back({static_cast<float>(from.x), static_cast<float>(from.y), static_cast<float>(to.x),
                                   static_cast<float>(to.y)});
            alfa = nextAngle(alfa, c.turn);
            fromAlfa = nextAngle(fromAlfa, c.turn);
        }
    } catch (const Int16Error& error) {
        step.overflow = error;
    }
    return step;
}

// The n turns of the segment at their exact places: n-ths of a full turn.
StrokeStep exactTurns(const CopySettings& c, const Segment& segment)
{
    StrokeStep step;
    for (int i = 0; i < c.n; ++i) {
        const double t = 2 * M_PI * i / c.n, cos = std::cos(t), sin = std::sin(t);
        auto turned = [&](double x, double y, bool across) {
            const double dx = x - c.centre.x, dy = y - c.centre.y;
            return static_cast<float>(across ? c.centre.x + dx * cos - dy * sin : c.centre.y + dx * sin + dy * cos);
        };
        step.shapes.push_back({turned(segment.x1, segment.y1, true), turned(segment.x1, segment.y1, false),
                               turned(segment.x2, segment.y2, true), turned(segment.x2, segment.y2, false)});
    }
    return step;
}

// The turn about c by i n-ths of a full turn, clockwise on screen; every
// quarter turn with whole entries, so that it maps pixels onto pixels.
PointOp turnAbout(Point16 c, int i, int n)
{
    double cos = 0, sin = 0;
    if (i * 4 % n == 0) {
        static constexpr int kQuarter[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
        cos = kQuarter[i * 4 / n % 4][0];
        sin = kQuarter[i * 4 / n % 4][1];
    } else {
        cos = std::cos(2 * M_PI * i / n);
        sin = std::sin(2 * M_PI * i / n);
    }
    PointOp op{cos, -sin, sin, cos, 0, 0};
    op.tx = c.x - (op.xx * c.x + op.xy * c.y);
    op.ty = c.y - (op.yx * c.x + op.yy * c.y);
    return op;
}

// a after b.
PointOp after(const PointOp& a, const PointOp& b)
{
    return PointOp{a.xx * b.xx + a.xy * b.yx, a.xx * b.xy + a.xy * b.yy, a.yx * b.xx + a.yy * b.yx,
                   a.yx * b.xy + a.yy * b.yy, a.xx * b.tx + a.xy * b.ty + a.tx, a.yx * b.tx + a.yy * b.ty + a.ty};
}

// The segment itself under the n turns, and with Mirror each turn of its mirror.
StrokeStep turnOps(const CopySettings& c, const Segment& segment)
{
    StrokeStep step;
    step.shapes.push_back(segment);
    step.symmetry.ops.clear();
    const int n = std::max<int>(c.n, 1);
    for (int i = 0; i < n; ++i)
        step.symmetry.ops.push_back(turnAbout(c.centre, i, n));
    if (c.mirror) {
        const PointOp mirror = mirrorLine(c.centre.x, c.centre.y, c.mirrorAngle);
        for (int i = 0; i < n; ++i)
            step.symmetry.ops.push_back(after(step.symmetry.ops[static_cast<std::size_t>(i)], mirror));
    }
    return step;
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

StrokeStep centricCopies(const CopySettings& c, const Segment& segment, Places places)
{
    if (places == Places::Smooth)
        return turnOps(c, segment);
    if (places == Places::Exact) {
        StrokeStep step = exactTurns(c, segment);
        if (c.mirror)
            step.symmetry.ops.push_back(mirrorLine(c.centre.x, c.centre.y, c.mirrorAngle));
        return step;
    }
    StrokeStep step = wholeTurns(c, segment);
    if (step.overflow || !c.mirror)
        return step;
    if (c.mirrorAngle % 180 == 0) {
        mirrorAcrossCentre(c.centre, step);
    } else {
        step.symmetry.ops.push_back(mirrorLine(c.centre.x, c.centre.y, c.mirrorAngle));
        step.symmetry.movesPixels = step.symmetry.ops.back().permutesAxes();
    }
    return step;
}

StrokeStep centricStep(EditorState& s, int16 n, bool mirror, int16 x, int16 y, int mirrorAngle)
{
    if (s.SXY.empty())
        return {};  // no set-up yet: no points to draw from
    CopySettings c;
    c.mode = kCentric;
    c.centre = centreOf(s);
    c.n = n;
    c.turn = s.DAlfa;
    c.starts = &s.SXY;
    c.mirror = mirror;
    c.mirrorAngle = mirrorAngle;
    const auto to = static_cast<float>(x), down = static_cast<float>(y);
    StrokeStep step = copiesOf(c, Segment{to, down, to, down});
    // The turned copies come first, mirrored ones after them: each turned
    // copy's end is where that copy of the stroke now stands.
    const std::size_t turned = std::min({s.SXY.size(), static_cast<std::size_t>(std::max<int16>(n, 0)), step.shapes.size()});
    for (std::size_t i = 0; i < turned; ++i)
        s.SXY[i] = Point16{static_cast<int16>(step.shapes[i].x2), static_cast<int16>(step.shapes[i].y2)};
    return step;
}

}  // namespace kalidor
