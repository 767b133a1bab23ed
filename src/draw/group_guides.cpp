#include "draw/group_guides.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>
#include <tuple>
#include <utility>

#include "draw/lattice_period.h"

namespace kalidor {

namespace {

constexpr double kDensestCells = 4;   // pixels a side at the least for any guide
constexpr double kMarkedCells = 32;   // and for the marks on the turn centres
constexpr std::size_t kMostMarkLines = 6000;

// The operations with the centred lattice's (1/2, 1/2), as they are drawn.
std::vector<GroupOp> allOps(const WallpaperGroup& g)
{
    std::vector<GroupOp> ops(g.ops.begin(), g.ops.end());
    if (g.lattice == LatticeShape::Centred)
        for (const GroupOp& o : g.ops)
            ops.push_back({o.xx, o.xy, o.yx, o.yy, o.hx + 1, o.hy + 1});
    return ops;
}

struct Canvas {
    double w, h;
};

// The part of the line through (px, py) along (dx, dy) over the canvas.
bool clipLine(double px, double py, double dx, double dy, const Canvas& c, Segment& out)
{
    double t0 = -1e12, t1 = 1e12;
    auto edge = [&](double p, double d, double lo, double hi) {
        if (d == 0)
            return p >= lo && p <= hi;
        double a = (lo - p) / d, b = (hi - p) / d;
        if (a > b)
            std::swap(a, b);
        t0 = std::max(t0, a);
        t1 = std::min(t1, b);
        return t0 <= t1;
    };
    if (!edge(px, dx, 0, c.w) || !edge(py, dy, 0, c.h))
        return false;
    out = {static_cast<float>(px + t0 * dx), static_cast<float>(py + t0 * dy), static_cast<float>(px + t1 * dx),
           static_cast<float>(py + t1 * dy)};
    return true;
}

// The lattice's cell edges: lines along a through every k b, and along b
// through every k a, wherever they cross the canvas.
void cellEdges(const CellVectors& v, const Canvas& c, std::vector<Segment>& out)
{
    for (int j = 0; j * v.by < c.h; ++j)
        out.push_back({0, static_cast<float>(j * v.by), static_cast<float>(c.w), static_cast<float>(j * v.by)});
    // Lines along b lean left going down by |bx| / by a row.
    const double lean = -v.bx / v.by * c.h;
    for (int k = 0; k * v.ax < c.w + lean; ++k) {
        Segment s{};
        if (clipLine(k * v.ax, 0, v.bx, v.by, c, s))
            out.push_back(s);
    }
}

double project(double nx, double ny, double x, double y) { return nx * x + ny * y; }

// Every line of a family of parallels through the canvas: direction (dx, dy),
// unit normal n, offsets r + m g along n.
void parallels(double dx, double dy, double r, double g, const Canvas& c, std::vector<Segment>& out)
{
    const double len = std::hypot(dx, dy);
    const double nx = -dy / len, ny = dx / len;
    double lo = 1e300, hi = -1e300;
    for (const double x : {0.0, c.w})
        for (const double y : {0.0, c.h}) {
            lo = std::min(lo, project(nx, ny, x, y));
            hi = std::max(hi, project(nx, ny, x, y));
        }
    for (double m = std::ceil((lo - r) / g); r + m * g <= hi; ++m) {
        const double off = r + m * g;
        Segment s{};
        if (clipLine(nx * off, ny * off, dx, dy, c, s))
            out.push_back(s);
    }
}

// The mirror lines: operations that turn the plane over and, with some
// translation, keep a line fixed (not glides), as families of parallels.
void mirrorLines(const WallpaperGroup& g, const CellVectors& v, const Canvas& c, std::vector<Segment>& out)
{
    const double det = std::abs(v.ax * v.by - v.bx * v.ay);
    std::set<std::tuple<int, int, long long>> seen;
    for (const GroupOp& f : allOps(g)) {
        if (!turnsOver(f))
            continue;
        // Along the line: a column of I + F, made primitive with its sign fixed.
        int px = 1 + f.xx, py = f.yx;
        if (px == 0 && py == 0)
            px = f.xy, py = 1 + f.yy;
        const int d = std::gcd(px, py);
        px /= d, py /= d;
        if (px < 0 || (px == 0 && py < 0))
            px = -px, py = -py;
        const double dx = v.ax * px + v.bx * py, dy = v.ay * px + v.by * py;
        const double len = std::hypot(dx, dy), spacing = det / len;
        for (int tx = -2; tx <= 2; ++tx)
            for (int ty = -2; ty <= 2; ++ty) {
                // In halves: the translation v, fixed line where (I + F) v = 0, through v / 2.
                const int vx = f.hx + 2 * tx, vy = f.hy + 2 * ty;
                if (vx + f.xx * vx + f.xy * vy != 0 || vy + f.yx * vx + f.yy * vy != 0)
                    continue;
                const double qx = vx / 4.0, qy = vy / 4.0;
                const double x = v.ax * qx + v.bx * qy, y = v.ay * qx + v.by * qy;
                double r = std::fmod(project(-dy / len, dx / len, x, y), spacing);
                if (r < 0)
                    r += spacing;
                if (seen.insert(std::tuple{px, py, std::llround(r * 1024) % std::llround(spacing * 1024)}).second)
                    parallels(dx, dy, r, spacing, c, out);
            }
    }
}

// A mark of n points about (x, y), the first pointing up.
void mark(double x, double y, int n, double size, std::vector<Segment>& out)
{
    for (int i = 0; i < n; ++i) {
        const double a = -M_PI / 2 + 2 * M_PI * i / n;
        out.push_back({static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + size * std::cos(a)),
                       static_cast<float>(y + size * std::sin(a))});
    }
}

// The turn centres in one cell, in fractional coordinates, each with the
// largest order of the turns about it.
std::vector<std::pair<std::pair<double, double>, int>> turnCentres(const WallpaperGroup& g)
{
    std::vector<std::pair<std::pair<double, double>, int>> centres;
    for (const GroupOp& f : allOps(g)) {
        const int n = order(f);
        if (turnsOver(f) || n < 2)
            continue;
        // (I - F) q = v.
        const double a = 1 - f.xx, b = -f.xy, c = -f.yx, d = 1 - f.yy, det = a * d - b * c;
        for (int tx = -1; tx <= 1; ++tx)
            for (int ty = -1; ty <= 1; ++ty) {
                const double vx = f.hx / 2.0 + tx, vy = f.hy / 2.0 + ty;
                double qx = (d * vx - b * vy) / det, qy = (a * vy - c * vx) / det;
                qx -= std::floor(qx + 1e-9), qy -= std::floor(qy + 1e-9);
                auto same = std::find_if(centres.begin(), centres.end(), [&](const auto& e) {
                    return std::abs(e.first.first - qx) < 1e-6 && std::abs(e.first.second - qy) < 1e-6;
                });
                if (same == centres.end())
                    centres.push_back({{qx, qy}, n});
                else
                    same->second = std::max(same->second, n);
            }
    }
    return centres;
}

void turnMarks(const WallpaperGroup& g, const CellVectors& v, const Canvas& c, std::vector<Segment>& out)
{
    const auto centres = turnCentres(g);
    const double det = v.ax * v.by - v.bx * v.ay;
    // The cells over the canvas: its corners in fractional coordinates.
    double klo = 1e300, khi = -1e300, jlo = 1e300, jhi = -1e300;
    for (const double x : {0.0, c.w})
        for (const double y : {0.0, c.h}) {
            const double k = (v.by * x - v.bx * y) / det, j = (v.ax * y - v.ay * x) / det;
            klo = std::min(klo, k), khi = std::max(khi, k), jlo = std::min(jlo, j), jhi = std::max(jhi, j);
        }
    const double cells = (khi - klo + 2) * (jhi - jlo + 2);
    std::size_t lines = 0;
    for (const auto& centre : centres)
        lines += static_cast<std::size_t>(centre.second);
    if (cells * static_cast<double>(lines) > static_cast<double>(kMostMarkLines))
        return;
    const double size = std::clamp(v.ax / 10, 3.0, 6.0);
    for (double j = std::floor(jlo) - 1; j <= jhi; ++j)
        for (double k = std::floor(klo) - 1; k <= khi; ++k)
            for (const auto& [q, n] : centres) {
                const double x = v.ax * (q.first + k) + v.bx * (q.second + j);
                const double y = v.ay * (q.first + k) + v.by * (q.second + j);
                if (x >= 0 && x <= c.w && y >= 0 && y <= c.h)
                    mark(x, y, n, size, out);
            }
}

}  // namespace

std::vector<Segment> groupGuides(const WallpaperGroup& group, int16 patternX, int16 patternY, float width,
                                 float height)
{
    std::vector<Segment> out;
    const CellVectors v = latticePeriod(group, patternX, patternY, false).cell;
    const double side = std::min(v.ax, std::hypot(v.bx, v.by));
    if (side < kDensestCells || width <= 0 || height <= 0)
        return out;
    const Canvas c{width, height};
    cellEdges(v, c, out);
    mirrorLines(group, v, c, out);
    if (side >= kMarkedCells)
        turnMarks(group, v, c, out);
    return out;
}

}  // namespace kalidor
