#include "platform/raster/soft_fill.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kalidor {

namespace {

// Soft edges are looked for this many pixels deep from the region: a smooth
// line's edge blends over about two.
constexpr int kEdgeDepth = 3;
// A colour this close to the region's in every channel is no line to blend with.
constexpr int kLeastContrast = 24;
// A blend may be off by this much a channel (rounding, or a photo's noise)
// beyond the tolerance.
constexpr int kBlendSlack = 4;

int channel(std::uint32_t p, int shift) { return static_cast<int>(p >> shift & 0xFF); }

int farness(std::uint32_t a, std::uint32_t b)
{
    int most = 0;
    for (const int shift : {0, 8, 16})
        most = std::max(most, std::abs(channel(a, shift) - channel(b, shift)));
    return most;
}

class Bits {
public:
    Bits(int width, int height)
        : width_(width), words_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) / 64 + 1, 0)
    {
    }
    bool get(int x, int y) const { return (words_[index(x, y) / 64] >> (index(x, y) % 64) & 1) != 0; }
    void set(int x, int y) { words_[index(x, y) / 64] |= std::uint64_t{1} << (index(x, y) % 64); }

private:
    std::size_t index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }
    int width_;
    std::vector<std::uint64_t> words_;
};

struct Finder {
    const PixelPlane& plane;
    std::uint32_t value;
    FillReach reach;
    Bits inRegion;
    Bits edgeDone;
    std::vector<PixelPoint> stack;

    std::uint32_t at(int x, int y) const { return plane.row(y)[x] & 0xFFFFFFu; }
    bool joins(int x, int y, std::uint32_t target) const
    {
        return !inRegion.get(x, y) && farness(at(x, y), target) <= reach.tolerance;
    }

    // The region of the seed: runs along rows, grown from a stack of pixels.
    void region(PixelPoint seed, std::vector<Span>& runs)
    {
        const std::uint32_t target = at(seed.x, seed.y);
        stack.assign(1, seed);
        while (!stack.empty()) {
            const PixelPoint p = stack.back();
            stack.pop_back();
            if (!joins(p.x, p.y, target))
                continue;
            int x0 = p.x, x1 = p.x;
            while (x0 > 0 && joins(x0 - 1, p.y, target))
                --x0;
            while (x1 + 1 < plane.width && joins(x1 + 1, p.y, target))
                ++x1;
            for (int x = x0; x <= x1; ++x)
                inRegion.set(x, p.y);
            runs.push_back(Span{p.y, x0, x1});
            for (const int y : {p.y - 1, p.y + 1}) {
                if (y < 0 || y >= plane.height)
                    continue;
                for (int x = x0; x <= x1; ++x)
                    if (joins(x, y, target) && (x == x0 || !joins(x - 1, y, target)))
                        stack.push_back(PixelPoint{x, y});
            }
        }
    }

    // The colour about (x, y) farthest from the region's: the line whose
    // edge this may be. Ties go to the larger value, so that the choice does
    // not depend on the order the window is read in.
    std::uint32_t farthest(int x, int y, std::uint32_t target) const
    {
        std::uint32_t best = target;
        int bestFar = -1;
        for (int j = std::max(0, y - 2); j <= std::min(plane.height - 1, y + 2); ++j)
            for (int i = std::max(0, x - 2); i <= std::min(plane.width - 1, x + 2); ++i) {
                const std::uint32_t c = at(i, j);
                const int f = farness(c, target);
                if (f > bestFar || (f == bestFar && c > best))
                    best = c, bestFar = f;
            }
        return best;
    }

    // The soft edge about one region, from the pixels beside it inwards.
    void edges(std::span<const Span> runs, std::uint32_t target, std::vector<EdgePixel>& out)
    {
        struct Next {
            int x, y, depth;
        };
        std::vector<Next> queue;
        auto offer = [&](int x, int y, int depth) {
            if (x < 0 || y < 0 || x >= plane.width || y >= plane.height || inRegion.get(x, y) || edgeDone.get(x, y))
                return;
            edgeDone.set(x, y);
            queue.push_back(Next{x, y, depth});
        };
        for (const Span& s : runs) {
            offer(s.x0 - 1, s.y, 0);
            offer(s.x1 + 1, s.y, 0);
            for (const int y : {s.y - 1, s.y + 1})
                if (y >= 0 && y < plane.height)
                    for (int x = s.x0 - 1; x <= s.x1 + 1; ++x)
                        offer(x, y, 0);
        }
        for (std::size_t i = 0; i < queue.size(); ++i) {
            const Next n = queue[i];
            const std::uint32_t other = farthest(n.x, n.y, target);
            std::uint32_t blended = 0;
            if (farness(other, target) < kLeastContrast ||
                !reblend(at(n.x, n.y), target, other, value, kBlendSlack + reach.tolerance, blended))
                continue;
            out.push_back(EdgePixel{n.x, n.y, 0xFF000000u | blended});
            if (n.depth + 1 < kEdgeDepth)
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        offer(n.x + dx, n.y + dy, n.depth + 1);
        }
    }
};

}  // namespace

bool reblend(std::uint32_t pixel, std::uint32_t region, std::uint32_t other, std::uint32_t value, int slack,
             std::uint32_t& out)
{
    double along = 0, length = 0;
    for (const int shift : {0, 8, 16}) {
        const double d = channel(other, shift) - channel(region, shift);
        along += (channel(pixel, shift) - channel(region, shift)) * d;
        length += d * d;
    }
    if (length == 0)
        return false;
    const double a = along / length;  // the other colour's share
    if (a <= 0 || a >= 1 - 0.5 / 255)
        return false;
    out = 0;
    for (const int shift : {0, 8, 16}) {
        const double r = channel(region, shift), o = channel(other, shift);
        if (std::abs(channel(pixel, shift) - (r + a * (o - r))) > slack)
            return false;
        const double now = channel(pixel, shift) + (1 - a) * (channel(value, shift) - r);
        out |= static_cast<std::uint32_t>(std::clamp(std::lround(now), 0L, 255L)) << shift;
    }
    return true;
}

void softFillRegions(const PixelPlane& plane, std::span<const PixelPoint> seeds, std::uint32_t value,
                     FillReach reach, std::vector<Span>& runs, std::vector<EdgePixel>& edges)
{
    Finder f{plane, value & 0xFFFFFFu, reach, Bits(plane.width, plane.height), Bits(plane.width, plane.height), {}};
    struct Found {
        std::size_t from;
        std::uint32_t colour;
    };
    std::vector<Found> found;
    for (const PixelPoint& s : seeds) {
        if (s.x < 0 || s.y < 0 || s.x >= plane.width || s.y >= plane.height || f.inRegion.get(s.x, s.y))
            continue;
        const std::uint32_t colour = f.at(s.x, s.y);
        if (colour == f.value && reach.tolerance == 0)
            continue;
        found.push_back(Found{runs.size(), colour});
        f.region(s, runs);
    }
    if (!reach.softEdges)
        return;
    // Every region first, so that no edge pixel is one a later region takes.
    for (std::size_t r = 0; r < found.size(); ++r) {
        const std::size_t to = r + 1 < found.size() ? found[r + 1].from : runs.size();
        f.edges(std::span(runs).subspan(found[r].from, to - found[r].from), found[r].colour, edges);
    }
}

}  // namespace kalidor
