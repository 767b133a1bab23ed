#include "platform/raster/region_shape.h"

#include <algorithm>
#include <limits>

#include "platform/raster/pixel_runs.h"

namespace kalidor {

namespace {

// A shape is made on a map of a byte a pixel around it: no larger than this.
constexpr long long kLargestShape = 256 * 256;
// How many places ahead the pixels are asked for.
constexpr std::size_t kPlacesAhead = 8;

void addPieces(const std::vector<char>& row, int width, int dx, char kind, std::vector<std::pair<int, int>>& out)
{
    for (int x = 0; x < width; ++x) {
        if (row[static_cast<std::size_t>(x)] != kind)
            continue;
        const int from = x;
        while (x + 1 < width && row[static_cast<std::size_t>(x + 1)] == kind)
            ++x;
        out.emplace_back(from + dx, x + dx);
    }
}

}  // namespace

std::optional<RegionShape> RegionShape::of(std::span<const Span> runs, int x, int y)
{
    if (runs.empty())
        return std::nullopt;
    int left = std::numeric_limits<int>::max(), right = std::numeric_limits<int>::min();
    int top = left, bottom = right;
    for (const Span& s : runs) {
        left = std::min(left, s.x0);
        right = std::max(right, s.x1);
        top = std::min(top, s.y);
        bottom = std::max(bottom, s.y);
    }
    // The region and a pixel's margin around it.
    const int width = right - left + 3, height = bottom - top + 3;
    if (static_cast<long long>(width) * height > kLargestShape)
        return std::nullopt;
    constexpr char kOut = 0, kIn = 1, kBeside = 2;
    std::vector<char> map(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kOut);
    auto at = [&](int mx, int my) -> char& { return map[static_cast<std::size_t>(my) * width + mx]; };
    for (const Span& s : runs)
        std::fill(&at(s.x0 - left + 1, s.y - top + 1), &at(s.x1 - left + 1, s.y - top + 1) + 1, kIn);
    for (int my = 0; my < height; ++my)
        for (int mx = 0; mx < width; ++mx)
            if (at(mx, my) == kOut && ((mx > 0 && at(mx - 1, my) == kIn) || (mx + 1 < width && at(mx + 1, my) == kIn) ||
                                       (my > 0 && at(mx, my - 1) == kIn) || (my + 1 < height && at(mx, my + 1) == kIn)))
                at(mx, my) = kBeside;
    RegionShape shape;
    std::vector<char> row(static_cast<std::size_t>(width));
    for (int my = 0; my < height; ++my) {
        std::copy_n(&at(0, my), width, row.begin());
        Row r;
        r.dy = my + top - 1 - y;
        addPieces(row, width, left - 1 - x, kIn, r.inside);
        addPieces(row, width, left - 1 - x, kBeside, r.beside);
        makeMasks(r);
        shape.rows_.push_back(std::move(r));
    }
    return shape;
}

void RegionShape::makeMasks(Row& row)
{
    if (row.inside.empty() && row.beside.empty())
        return;
    int from = std::numeric_limits<int>::max(), to = std::numeric_limits<int>::min();
    for (const Pieces* pieces : {&row.inside, &row.beside})
        for (const auto& [a, b] : *pieces) {
            from = std::min(from, a);
            to = std::max(to, b);
        }
    row.from = from;
    const auto groups = static_cast<std::size_t>((to - from) / 4 + 1);
    row.in.assign(groups, 0);
    row.out.assign(groups, 0);
    auto mark = [&](const Pieces& pieces, std::vector<std::uint8_t>& bits) {
        for (const auto& [a, b] : pieces)
            for (int x = a; x <= b; ++x)
                bits[static_cast<std::size_t>((x - from) / 4)] |= static_cast<std::uint8_t>(1u << ((x - from) % 4));
    };
    mark(row.inside, row.in);
    mark(row.beside, row.out);
}

bool RegionShape::fits(const PixelPlane& plane, const Row& row, PixelPoint at, std::uint32_t target)
{
    const int y = at.y + row.dy;
    const bool onPlane = y >= 0 && y < plane.height;
    if (!row.inside.empty() && !onPlane)
        return false;
    if (!onPlane)
        return true;  // nothing beside the picture is of the region's colour
    const std::uint32_t* pixels = plane.row(y);
#if defined(__SSE2__)
    // Within the plane, four pixels at a time against the masks.
    const int x0 = at.x + row.from;
    if (!row.in.empty() && x0 >= 0 && x0 + 4 * static_cast<int>(row.in.size()) <= plane.width) {
        const __m128i four = _mm_set1_epi32(static_cast<int>(target));
        for (std::size_t g = 0; g < row.in.size(); ++g) {
            const unsigned same = equalLanes(pixels + x0 + 4 * static_cast<int>(g), four);
            if ((same & row.in[g]) != row.in[g] || (same & row.out[g]) != 0)
                return false;
        }
        return true;
    }
#endif
    for (const auto& [from, to] : row.inside) {
        const int x0 = at.x + from, x1 = at.x + to;
        if (x0 < 0 || x1 >= plane.width || countSame(pixels + x0, x1 - x0 + 1, target) != x1 - x0 + 1)
            return false;
    }
    for (const auto& [from, to] : row.beside) {
        const int x0 = std::max(at.x + from, 0), x1 = std::min(at.x + to, plane.width - 1);
        if (x0 <= x1 && findColour(pixels + x0, x1 - x0 + 1, target) != x1 - x0 + 1)
            return false;
    }
    return true;
}

void RegionShape::fillWhereFound(const PixelPlane& plane, std::span<const PixelPoint> seeds, std::uint32_t target,
                                 std::uint32_t value, std::vector<Span>& runs) const
{
    // The seeds on pixels of the region's colour, each place once, in the
    // picture's order.
    std::vector<PixelPoint> found;
    for (const PixelPoint& s : seeds)
        if (s.x >= 0 && s.y >= 0 && s.x < plane.width && s.y < plane.height && plane.row(s.y)[s.x] == target)
            found.push_back(s);
    auto order = [](const PixelPoint& a, const PixelPoint& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; };
    if (!std::is_sorted(found.begin(), found.end(), order))  // a lattice's images come in order
        std::sort(found.begin(), found.end(), order);
    found.erase(std::unique(found.begin(), found.end()), found.end());
    std::size_t pieces = 0;
    for (const Row& row : rows_)
        pieces += row.inside.size();
    runs.reserve(runs.size() + pieces * found.size());
    // The places on one row of the picture (a row of cells) together: checked
    // row of the shape by row, the places where every row so far fits staying,
    // then written while their rows are still at hand. Two places that fit are
    // the same region moved, so they never share a pixel; nor does a place that
    // fits share one with a region written before, whose pixels are no longer
    // of the region's colour.
    std::vector<PixelPoint> fitting;
    for (std::size_t first = 0, last = 0; first < found.size(); first = last) {
        while (last < found.size() && found[last].y == found[first].y)
            ++last;
        fitting.assign(found.begin() + static_cast<std::ptrdiff_t>(first), found.begin() + static_cast<std::ptrdiff_t>(last));
        for (std::size_t r = 0; r < rows_.size() && !fitting.empty(); ++r)
            keepFitting(plane, rows_[r], target, fitting);
        for (const Row& row : rows_)
            for (const PixelPoint& s : fitting)
                for (const auto& [from, to] : row.inside) {
                    const int y = s.y + row.dy, x0 = s.x + from, x1 = s.x + to;
                    fillRun(plane.row(y) + x0, x1 - x0 + 1, value);
                    runs.push_back(Span{y, x0, x1});
                }
    }
}

void RegionShape::keepFitting(const PixelPlane& plane, const Row& row, std::uint32_t target,
                              std::vector<PixelPoint>& places)
{
    // The places share a row and come left to right: where the row of the
    // shape lies within the plane at the first and the last, every place is
    // checked four pixels at a time against the masks, in one loop.
    const int y = places.front().y + row.dy;
    const int width = 4 * static_cast<int>(row.in.size());
    const bool within = !row.in.empty() && y >= 0 && y < plane.height && places.front().x + row.from >= 0 &&
                        places.back().x + row.from + width <= plane.width;
    std::size_t kept = 0;
#if defined(__SSE2__)
    if (within) {
        const std::uint32_t* pixels = plane.row(y) + row.from;
        const __m128i four = _mm_set1_epi32(static_cast<int>(target));
        const std::uint8_t* in = row.in.data();
        const std::uint8_t* out = row.out.data();
        const std::size_t groups = row.in.size();
        for (std::size_t i = 0; i < places.size(); ++i) {
            const PixelPoint s = places[i];
            // The pixels a few places on, asked for now: the places are far
            // enough apart that the processor does not guess them.
            if (i + kPlacesAhead < places.size())
                __builtin_prefetch(pixels + places[i + kPlacesAhead].x);
            const std::uint32_t* p = pixels + s.x;
            std::size_t g = 0;
            for (; g < groups; ++g) {
                const unsigned same = equalLanes(p + 4 * g, four);
                if ((same & in[g]) != in[g] || (same & out[g]) != 0)
                    break;
            }
            if (g == groups)
                places[kept++] = s;
        }
        places.resize(kept);
        return;
    }
#endif
    for (const PixelPoint& s : places)
        if (fits(plane, row, s, target))
            places[kept++] = s;
    places.resize(kept);
}

}  // namespace kalidor
