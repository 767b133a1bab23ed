#include "platform/raster/coverage_raster.h"

#include <algorithm>
#include <cmath>

namespace kalidor {

namespace {

// Beyond this from a pixel's centre no point of the pixel lies (half its
// diagonal, and a little more).
constexpr double kHalfDiagonal = 0.75;

struct Capsule {
    double ax, ay;   // one end
    double ux, uy;   // unit direction to the other, (0, 0) for a disc
    double length;
    double radius;

    double distance(double x, double y) const
    {
        const double px = x - ax, py = y - ay;
        const double t = std::clamp(px * ux + py * uy, 0.0, length);
        const double dx = px - t * ux, dy = py - t * uy;
        return std::sqrt(dx * dx + dy * dy);
    }

    // The part of each quarter of pixel (x, y) inside, 0 to 255; false where none is.
    bool cover(double x, double y, std::uint8_t* quarters) const
    {
        const double d = distance(x, y);
        if (d >= radius + kHalfDiagonal)
            return false;
        if (d <= radius - kHalfDiagonal) {
            std::fill(quarters, quarters + 4, std::uint8_t{255});
            return true;
        }
        bool any = false;
        for (int q = 0; q < 4; ++q) {
            const double sd = distance(x + ((q & 1) - 0.5) / 2, y + ((q >> 1) - 0.5) / 2);
            quarters[q] = static_cast<std::uint8_t>(std::lround(std::clamp((radius - sd) * 2 + 0.5, 0.0, 1.0) * 255));
            any = any || quarters[q] != 0;
        }
        return any;
    }
};

// Where the row at height y meets the capsule grown by `grow`: [lo, hi], lo >
// hi where it does not.
void rowReach(const Capsule& c, double y, double grow, double& lo, double& hi)
{
    const double r = c.radius + grow;
    lo = HUGE_VAL;
    hi = -HUGE_VAL;
    auto disc = [&](double cx, double cy) {
        const double dy = y - cy;
        if (std::abs(dy) > r)
            return;
        const double half = std::sqrt(r * r - dy * dy);
        lo = std::min(lo, cx - half);
        hi = std::max(hi, cx + half);
    };
    disc(c.ax, c.ay);
    disc(c.ax + c.ux * c.length, c.ay + c.uy * c.length);
    if (c.length <= 0)
        return;
    // The band along the segment: 0 <= along <= length and |across| <= r, each
    // a slab that the row crosses as an interval of x.
    double bandLo = -HUGE_VAL, bandHi = HUGE_VAL;
    auto slab = [&](double slope, double at, double from, double to) {
        // from <= slope * (x - ax) + at <= to
        if (slope == 0) {
            if (at < from || at > to)
                bandLo = HUGE_VAL, bandHi = -HUGE_VAL;
            return;
        }
        double a = (from - at) / slope + c.ax, b = (to - at) / slope + c.ax;
        if (a > b)
            std::swap(a, b);
        bandLo = std::max(bandLo, a);
        bandHi = std::min(bandHi, b);
    };
    const double py = y - c.ay;
    slab(c.ux, py * c.uy, 0, c.length);
    slab(c.uy, -py * c.ux, -r, r);
    if (bandLo <= bandHi) {
        lo = std::min(lo, bandLo);
        hi = std::max(hi, bandHi);
    }
}

// The capsule of the segment `width` wide.
Capsule capsuleOf(const ExactSegment& s, double width)
{
    Capsule c{s.x1, s.y1, 0, 0, 0, std::max(width, 1.0) / 2};
    const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    c.length = std::sqrt(dx * dx + dy * dy);
    if (c.length > 1e-9) {
        c.ux = dx / c.length;
        c.uy = dy / c.length;
    } else {
        c.length = 0;
    }
    return c;
}

// A box of rows with nothing covered yet.
void emptyBox(Coverage& out, int x0, int y0, int width, int height)
{
    out.x0 = x0;
    out.y0 = y0;
    out.width = width;
    out.height = height;
    out.first.assign(static_cast<std::size_t>(height), width);
    out.last.assign(static_cast<std::size_t>(height), -1);
    out.start.assign(static_cast<std::size_t>(height), 0);
    out.values.clear();
}

// Where each quarter of a pixel goes under the map: its offset from the
// pixel's centre, mapped.
void quartersUnder(const PixelMap& map, int quarterTo[4])
{
    for (int q = 0; q < 4; ++q) {
        const int ox = (q & 1) * 2 - 1, oy = (q >> 1) * 2 - 1;
        const int mx = map.xx * ox + map.xy * oy, my = map.yx * ox + map.yy * oy;
        quarterTo[q] = (mx > 0 ? 1 : 0) + (my > 0 ? 2 : 0);
    }
}

}  // namespace

void capsuleCoverage(const ExactSegment& s, double width, Coverage& out, const int* limit)
{
    const Capsule c = capsuleOf(s, width);
    const double reach = c.radius + 1;
    const int x0 = static_cast<int>(std::floor(std::min(s.x1, s.x2) - reach));
    const int y0 = static_cast<int>(std::floor(std::min(s.y1, s.y2) - reach));
    emptyBox(out, x0, y0, static_cast<int>(std::ceil(std::max(s.x1, s.x2) + reach)) - x0 + 1,
             static_cast<int>(std::ceil(std::max(s.y1, s.y2) + reach)) - y0 + 1);
    std::vector<std::uint8_t> row;
    const int rowFrom = limit ? std::max(0, limit[1] - out.y0) : 0;
    const int rowTo = limit ? std::min(out.height - 1, limit[3] - out.y0) : out.height - 1;
    for (int k = rowFrom; k <= rowTo; ++k) {
        const double y = out.y0 + k;
        double lo = 0, hi = 0;
        rowReach(c, y, kHalfDiagonal, lo, hi);
        if (lo > hi)
            continue;
        int from = std::max(0, static_cast<int>(std::floor(lo)) - out.x0);
        int to = std::min(out.width - 1, static_cast<int>(std::ceil(hi)) - out.x0);
        if (limit) {
            from = std::max(from, limit[0] - out.x0);
            to = std::min(to, limit[2] - out.x0);
        }
        if (from > to)
            continue;
        row.assign(static_cast<std::size_t>(to - from + 1) * 4, 0);
        int first = to + 1, last = from - 1;
        for (int i = from; i <= to; ++i)
            if (c.cover(out.x0 + i, y, row.data() + static_cast<std::size_t>(i - from) * 4)) {
                first = std::min(first, i);
                last = i;
            }
        if (first > last)
            continue;
        const auto k0 = static_cast<std::size_t>(k);
        out.first[k0] = first;
        out.last[k0] = last;
        out.start[k0] = out.values.size();
        out.values.insert(out.values.end(), row.begin() + (first - from) * 4, row.begin() + (last - from + 1) * 4);
    }
}

void movedCoverage(const Coverage& of, const PixelMap& map, Coverage& out)
{
    // The box's corners go to the new box's corners.
    const int cx[2] = {of.x0, of.x0 + of.width - 1};
    const int cy[2] = {of.y0, of.y0 + of.height - 1};
    long long left = LLONG_MAX, top = LLONG_MAX, right = LLONG_MIN, bottom = LLONG_MIN;
    for (const int x : cx)
        for (const int y : cy) {
            const long long mx = map.xx * x + map.xy * y + map.ox, my = map.yx * x + map.yy * y + map.oy;
            left = std::min(left, mx), right = std::max(right, mx);
            top = std::min(top, my), bottom = std::max(bottom, my);
        }
    emptyBox(out, static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left + 1),
             static_cast<int>(bottom - top + 1));
    int quarterTo[4];
    quartersUnder(map, quarterTo);
    // Each covered pixel's place: first the rows' extents, then the values.
    auto each = [&](auto visit) {
        for (int k = 0; k < of.height; ++k) {
            const int y = of.y0 + k;
            for (int i = of.first[static_cast<std::size_t>(k)]; i <= of.last[static_cast<std::size_t>(k)]; ++i) {
                const int x = of.x0 + i;
                visit(of.at(k, i), static_cast<int>(map.xx * x + map.xy * y + map.ox - left),
                      static_cast<std::size_t>(map.yx * x + map.yy * y + map.oy - top));
            }
        }
    };
    each([&](const std::uint8_t*, int mx, std::size_t my) {
        out.first[my] = std::min(out.first[my], mx);
        out.last[my] = std::max(out.last[my], mx);
    });
    std::size_t size = 0;
    for (std::size_t k = 0; k < out.first.size(); ++k) {
        out.start[k] = size;
        if (out.first[k] <= out.last[k])
            size += static_cast<std::size_t>(out.last[k] - out.first[k] + 1) * 4;
    }
    out.values.assign(size, 0);
    each([&](const std::uint8_t* from, int mx, std::size_t my) {
        std::uint8_t* to = out.values.data() + out.start[my] + static_cast<std::size_t>(mx - out.first[my]) * 4;
        for (int q = 0; q < 4; ++q)
            to[quarterTo[q]] = from[q];
    });
}

void CoverageTile::reset(int w, int h)
{
    width = w;
    height = h;
    values.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4, 0);
    spans.assign(static_cast<std::size_t>(h), {});
}

void CoverageTile::lay(const Coverage& c, long long dx, long long dy)
{
    auto mod = [](long long v, long long m) { return static_cast<std::size_t>(((v % m) + m) % m); };
    for (int k = 0; k < c.height; ++k) {
        const std::size_t ty = mod(c.y0 + dy + k, height);
        for (int i = c.first[static_cast<std::size_t>(k)]; i <= c.last[static_cast<std::size_t>(k)]; ++i) {
            const std::uint8_t* from = c.at(k, i);
            std::uint8_t* to = values.data() + (ty * static_cast<std::size_t>(width) + mod(c.x0 + dx + i, width)) * 4;
            for (int q = 0; q < 4; ++q)
                to[q] = std::max(to[q], from[q]);
        }
    }
}

void CoverageTile::findSpans()
{
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = values.data() + static_cast<std::size_t>(y) * width * 4;
        auto& out = spans[static_cast<std::size_t>(y)];
        out.clear();
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* v = row + static_cast<std::size_t>(x) * 4;
            if ((v[0] | v[1] | v[2] | v[3]) == 0)
                continue;
            if (!out.empty() && out.back().second == x - 1)
                out.back().second = x;
            else
                out.emplace_back(x, x);
        }
    }
}

}  // namespace kalidor
