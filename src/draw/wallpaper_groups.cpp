#include "draw/wallpaper_groups.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace kalidor {

namespace {

// The general positions of each group, in halves for the translations.
constexpr GroupOp kId{1, 0, 0, 1};
constexpr GroupOp kHalfTurn{-1, 0, 0, -1};
constexpr GroupOp kMirrorX{-1, 0, 0, 1};  // (-x, y)
constexpr GroupOp kMirrorY{1, 0, 0, -1};  // (x, -y)

constexpr GroupOp kP1Ops[] = {kId};
constexpr GroupOp kP2Ops[] = {kId, kHalfTurn};
constexpr GroupOp kPmOps[] = {kId, kMirrorX};
constexpr GroupOp kPgOps[] = {kId, {-1, 0, 0, 1, 0, 1}};
constexpr GroupOp kCmOps[] = {kId, kMirrorX};
constexpr GroupOp kPmmOps[] = {kId, kHalfTurn, kMirrorX, kMirrorY};
constexpr GroupOp kPmgOps[] = {kId, kHalfTurn, {-1, 0, 0, 1, 1, 0}, {1, 0, 0, -1, 1, 0}};
constexpr GroupOp kPggOps[] = {kId, kHalfTurn, {-1, 0, 0, 1, 1, 1}, {1, 0, 0, -1, 1, 1}};
constexpr GroupOp kCmmOps[] = {kId, kHalfTurn, kMirrorX, kMirrorY};
constexpr GroupOp kP4Ops[] = {kId, kHalfTurn, {0, -1, 1, 0}, {0, 1, -1, 0}};
constexpr GroupOp kP4mOps[] = {kId,         kHalfTurn,   {0, -1, 1, 0}, {0, 1, -1, 0},
                               kMirrorX,    kMirrorY,    {0, 1, 1, 0},  {0, -1, -1, 0}};
constexpr GroupOp kP4gOps[] = {kId,
                               kHalfTurn,
                               {0, -1, 1, 0},
                               {0, 1, -1, 0},
                               {-1, 0, 0, 1, 1, 1},
                               {1, 0, 0, -1, 1, 1},
                               {0, 1, 1, 0, 1, 1},
                               {0, -1, -1, 0, 1, 1}};
// (x, y), (-y, x - y), (-x + y, -x): the turns by a third.
constexpr GroupOp kThird{0, -1, 1, -1};
constexpr GroupOp kTwoThirds{-1, 1, -1, 0};
constexpr GroupOp kP3Ops[] = {kId, kThird, kTwoThirds};
constexpr GroupOp kP3m1Ops[] = {kId, kThird, kTwoThirds, {0, -1, -1, 0}, {-1, 1, 0, 1}, {1, 0, 1, -1}};
constexpr GroupOp kP31mOps[] = {kId, kThird, kTwoThirds, {0, 1, 1, 0}, {1, -1, 0, -1}, {-1, 0, -1, 1}};
constexpr GroupOp kP6Ops[] = {kId, kThird, kTwoThirds, kHalfTurn, {0, 1, -1, 1}, {1, -1, 1, 0}};
constexpr GroupOp kP6mOps[] = {kId,          kThird,        kTwoThirds,     kHalfTurn,
                               {0, 1, -1, 1}, {1, -1, 1, 0}, {0, -1, -1, 0}, {-1, 1, 0, 1},
                               {1, 0, 1, -1}, {0, 1, 1, 0},  {1, -1, 0, -1}, {-1, 0, -1, 1}};

constexpr std::array<WallpaperGroup, kGroupCount> kGroups{{
    {"p1", "shifts only", LatticeShape::Rectangular, kP1Ops},
    {"p2", "half turns", LatticeShape::Rectangular, kP2Ops},
    {"pm", "mirrors", LatticeShape::Rectangular, kPmOps},
    {"pg", "glides", LatticeShape::Rectangular, kPgOps},
    {"cm", "mirrors and glides, staggered rows", LatticeShape::Centred, kCmOps},
    {"pmm", "mirrors both ways", LatticeShape::Rectangular, kPmmOps},
    {"pmg", "mirrors, glides across them and half turns", LatticeShape::Rectangular, kPmgOps},
    {"pgg", "glides both ways and half turns", LatticeShape::Rectangular, kPggOps},
    {"cmm", "mirrors both ways, staggered rows", LatticeShape::Centred, kCmmOps},
    {"p4", "square, quarter turns", LatticeShape::Square, kP4Ops},
    {"p4m", "square, mirrors and quarter turns", LatticeShape::Square, kP4mOps},
    {"p4g", "square, quarter turns and mirrors between them", LatticeShape::Square, kP4gOps},
    {"p3", "hexagonal, turns by a third", LatticeShape::Hexagonal, kP3Ops},
    {"p3m1", "hexagonal, thirds on the mirrors (a kaleidoscope)", LatticeShape::Hexagonal, kP3m1Ops},
    {"p31m", "hexagonal, thirds off and on the mirrors", LatticeShape::Hexagonal, kP31mOps},
    {"p6", "hexagonal, turns by a sixth", LatticeShape::Hexagonal, kP6Ops},
    {"p6m", "hexagonal, mirrors and turns by a sixth", LatticeShape::Hexagonal, kP6mOps},
}};

// A product of whole numbers and cell sides that should be whole, made so.
double tidy(double v)
{
    const double r = std::round(v);
    return std::abs(v - r) < 1e-9 ? r : v;
}

}  // namespace

const WallpaperGroup& wallpaperGroup(int index)
{
    return kGroups[static_cast<std::size_t>(index >= 0 && index < kGroupCount ? index : kP1)];
}

int groupIndex(std::string_view name)
{
    for (int i = 0; i < kGroupCount; ++i)
        if (kGroups[static_cast<std::size_t>(i)].name == name)
            return i;
    return -1;
}

CellVectors cellVectors(LatticeShape shape, int16 patternX, int16 patternY)
{
    const double px = std::abs(static_cast<double>(patternX));
    const double py = std::abs(static_cast<double>(patternY));
    switch (shape) {
    case LatticeShape::Square:
        return {px, 0, 0, px};
    case LatticeShape::Hexagonal:
        // The row step whole, so every row of cells is the same pixels moved
        // by whole pixels and the picture repeats exactly; the turns are off
        // by that rounding alone (at most 0.6 % from cells of 100 pixels, under
        // 0.3 % from 200).
        return {px, 0, -px / 2, std::round(px * std::sqrt(3.0) / 2)};
    default:
        return {px, 0, 0, py};
    }
}

std::vector<PointOp> pixelOps(const WallpaperGroup& group, const CellVectors& c)
{
    const double det = c.ax * c.by - c.bx * c.ay;
    std::vector<PointOp> out;
    if (det == 0)
        return out;
    // B^-1 as rows.
    const double ixx = c.by / det, ixy = -c.bx / det, iyx = -c.ay / det, iyy = c.ax / det;
    const bool centred = group.lattice == LatticeShape::Centred;
    for (const int centre : {0, 1}) {
        if (centre == 1 && !centred)
            break;
        for (const GroupOp& f : group.ops) {
            // B F, then (B F) B^-1.
            const double bfxx = c.ax * f.xx + c.bx * f.yx, bfxy = c.ax * f.xy + c.bx * f.yy;
            const double bfyx = c.ay * f.xx + c.by * f.yx, bfyy = c.ay * f.xy + c.by * f.yy;
            PointOp op;
            op.xx = tidy(bfxx * ixx + bfxy * iyx);
            op.xy = tidy(bfxx * ixy + bfxy * iyy);
            op.yx = tidy(bfyx * ixx + bfyy * iyx);
            op.yy = tidy(bfyx * ixy + bfyy * iyy);
            const double fx = (f.hx + centre) / 2.0, fy = (f.hy + centre) / 2.0;
            op.tx = c.ax * fx + c.bx * fy;
            op.ty = c.ay * fx + c.by * fy;
            out.push_back(op);
        }
    }
    return out;
}

int order(const GroupOp& op)
{
    // Powers of the matrix until the identity; every group's matrices have
    // order at most 6.
    int a = op.xx, b = op.xy, c = op.yx, d = op.yy;
    for (int n = 1; n <= 6; ++n) {
        if (a == 1 && b == 0 && c == 0 && d == 1)
            return n;
        const int na = a * op.xx + b * op.yx, nb = a * op.xy + b * op.yy;
        const int nc = c * op.xx + d * op.yx, nd = c * op.xy + d * op.yy;
        a = na, b = nb, c = nc, d = nd;
    }
    return 0;
}

bool turnsOver(const GroupOp& op) { return op.xx * op.yy - op.xy * op.yx < 0; }

}  // namespace kalidor
