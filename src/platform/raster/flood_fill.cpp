#include "platform/raster/flood_fill.h"

#include "platform/raster/pixel_runs.h"
#include "platform/raster/region_shape.h"

namespace kalidor {

namespace {

int sameRun(const std::uint32_t* p, int n, std::uint32_t value) { return static_cast<int>(countSame(p, n, value)); }
int firstOf(const std::uint32_t* p, int n, std::uint32_t value) { return static_cast<int>(findColour(p, n, value)); }

// A run is written whole, as far as it reaches along its row; every pixel
// written takes `value`, no longer the region's colour, so no run is found twice.
inline void write(std::uint32_t* row, int y, int from, int to, std::uint32_t value, std::vector<Span>& runs)
{
    runs.push_back(Span{y, from, to});
    fillRun(row + from, to - from + 1, value);
}

// Seeds enough to look for the shape of a region among them: a lattice's
// images are many, and lie in regions of one shape, or of a few where Mirror
// turns them. The few images of turns about a centre are not worth it.
constexpr std::size_t kSeedsForAShape = 64;

}  // namespace

bool FloodFill::fill(const PixelPlane& plane, int x, int y, std::uint32_t value, std::vector<Span>& runs)
{
    if (x < 0 || y < 0 || x >= plane.width || y >= plane.height)
        return false;
    const std::uint32_t target = plane.row(y)[x];
    if (target == value)
        return false;
    std::uint32_t* row = plane.row(y);
    int from = x;
    while (from > 0 && row[from - 1] == target)
        --from;
    const int to = x + sameRun(row + x, plane.width - x, target) - 1;
    write(row, y, from, to, value, runs);
    stack_.clear();
    stack_.push_back({y, from, to, 1});
    stack_.push_back({y, from, to, -1});
    while (!stack_.empty()) {
        const Pending p = stack_.back();
        stack_.pop_back();
        if (p.y + p.dy >= 0 && p.y + p.dy < plane.height)
            fillBeside(plane, p, target, value, runs);
    }
    return true;
}

void FloodFill::fillBeside(const PixelPlane& plane, const Pending& p, std::uint32_t target, std::uint32_t value,
                           std::vector<Span>& runs)
{
    const int at = p.y + p.dy;
    std::uint32_t* row = plane.row(at);
    for (int i = p.x0; i <= p.x1;) {
        i += firstOf(row + i, p.x1 - i + 1, target);
        if (i > p.x1)
            break;
        // Only a run met at the first pixel looked at can reach further left:
        // any other has a pixel of another colour just before it.
        int from = i;
        if (i == p.x0)
            while (from > 0 && row[from - 1] == target)
                --from;
        const int to = i + sameRun(row + i, plane.width - i, target) - 1;
        write(row, at, from, to, value, runs);
        stack_.push_back({at, from, to, p.dy});
        // Where the run reaches past the one it was found from, the row that
        // one lies on is looked at there too; the pixels just past that run
        // are of another colour, or it would have reached them.
        if (from < p.x0 - 1)
            stack_.push_back({at, from, p.x0 - 2, -p.dy});
        if (to > p.x1 + 1)
            stack_.push_back({at, p.x1 + 2, to, -p.dy});
        i = to + 2;
    }
}

void FloodFill::fillEach(const PixelPlane& plane, std::span<const PixelPoint> seeds, std::uint32_t value,
                         std::vector<Span>& runs, std::vector<FilledRegion>& regions)
{
    bool lookForShapes = true;
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        const PixelPoint& s = seeds[i];
        if (s.x < 0 || s.y < 0 || s.x >= plane.width || s.y >= plane.height || plane.row(s.y)[s.x] == value)
            continue;
        const std::uint32_t was = plane.row(s.y)[s.x];
        const std::size_t from = runs.size();
        fill(plane, s.x, s.y, value, runs);
        regions.push_back({from, was});
        const std::span<const PixelPoint> rest = seeds.subspan(i + 1);
        if (rest.size() < kSeedsForAShape || !lookForShapes)
            continue;
        // A shape found nowhere else ends the looking: the seeds left lie in
        // regions of their own.
        lookForShapes = false;
        if (const std::optional<RegionShape> shape = RegionShape::of(std::span(runs).subspan(from), s.x, s.y)) {
            const std::size_t found = runs.size();
            shape->fillWhereFound(plane, rest, was, value, runs);
            if (runs.size() > found) {
                regions.push_back({found, was});
                lookForShapes = true;
            }
        }
    }
}

}  // namespace kalidor
