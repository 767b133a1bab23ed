#include "platform/raster/copy_shape.h"

#include <algorithm>
#include <limits>

namespace kalidor {

namespace {

// How segment g lies to f: the same or turned over, along each axis.
struct Turn {
    bool sameX, sameY, acrossX, acrossY;
    bool mirrors() const { return (sameX || acrossX) && (sameY || acrossY); }
};

Turn turn(const Segment& f, const Segment& g)
{
    return {f.x1 == g.x1 && f.x2 == g.x2, f.y1 == g.y1 && f.y2 == g.y2, f.x1 + g.x1 == f.x2 + g.x2,
            f.y1 + g.y1 == f.y2 + g.y2};
}

// The sum of a pixel's place and its mirror image's, for ends a and b turned
// over onto each other: even widths end on pixel corners, odd ones on centres.
long long mirrorSum(float a, float b, int width)
{
    return static_cast<long long>(a) + static_cast<long long>(b) - 1 + (width & 1);
}

}  // namespace

CopyShape::CopyShape(std::span<const Segment> segments, int width)
{
    constexpr int kOpen = 1 << 30;  // the copy is drawn whole; the grid clips later
    std::vector<Span> drawn;
    std::vector<std::size_t> from;  // where each segment's spans begin
    for (std::size_t k = 0; k < segments.size(); ++k) {
        from.push_back(drawn.size());
        if (reflects(segments.first(k), segments[k], width, from, drawn))
            continue;
        const Segment& f = segments[k];
        segmentSpans(static_cast<long long>(f.x1), static_cast<long long>(f.y1), static_cast<long long>(f.x2),
                     static_cast<long long>(f.y2), width, ClipRect{-kOpen, -kOpen, kOpen, kOpen}, drawn);
    }
    if (drawn.empty())
        return;
    const auto [lo, hi] = std::minmax_element(drawn.begin(), drawn.end(),
                                              [](const Span& a, const Span& b) { return a.y < b.y; });
    top_ = lo->y;
    bottom_ = hi->y;
    // Rows are counted out rather than sorted: a compound's copy has
    // hundreds of spans, and a row only a few of them. One pass from the
    // bottom finds where each row's spans end and links the rows without
    // spans (a compound of mirrored cells may be mostly gap) past; the spans
    // then land from their row's end down to its beginning.
    const auto rows = static_cast<std::size_t>(bottom_ - top_ + 1);
    rows_.assign(rows, Row{0, 0, 0, 0});
    for (const Span& sp : drawn)
        ++rows_[static_cast<std::size_t>(sp.y - top_)].count;
    auto end = static_cast<std::uint32_t>(drawn.size());
    auto next = static_cast<std::uint32_t>(rows);
    for (std::size_t i = rows; i-- > 0;) {
        Row& r = rows_[i];
        r.begin = end;
        end -= r.count;
        if (r.count != 0)
            next = static_cast<std::uint32_t>(i);
        r.next = next;
    }
    spans_.resize(drawn.size());
    for (const Span& sp : drawn)
        spans_[--rows_[static_cast<std::size_t>(sp.y - top_)].begin] = sp;
    // Each row's few spans sorted by their left end and joined where they meet.
    // A copy mirrored top to bottom, as in the cells of a mirrored pattern, has
    // rows that repeat those of its other half in reverse order: such a row
    // names its twin above, wherever their spans turn out the same.
    const long long axis = mirrorAxis(segments, width);
    for (std::size_t i = rows_[0].next; i < rows; i = i + 1 < rows ? rows_[i + 1].next : rows) {
        Row& r = rows_[i];
        const auto from = spans_.begin() + r.begin;
        const auto to = from + r.count;
        for (auto a = from + 1; a < to; ++a)
            for (auto b = a; b > from && b->x0 < (b - 1)->x0; --b)
                std::iter_swap(b, b - 1);
        auto kept = from;
        for (auto a = from + 1; a < to; ++a) {
            if (a->x0 <= kept->x1 + 1)
                kept->x1 = std::max(kept->x1, a->x1);
            else
                *++kept = *a;
        }
        r.count = static_cast<std::uint32_t>(kept - from + 1);
        r.twin = static_cast<std::uint32_t>(i);
        const long long t = axis - 2 * top_ - static_cast<long long>(i);  // the row mirrored
        if (t >= 0 && t < static_cast<long long>(i)) {
            const Row& other = rows_[static_cast<std::size_t>(t)];
            const auto there = spans_.begin() + other.begin;
            if (other.count == r.count && std::equal(from, from + r.count, there, [](const Span& a, const Span& b) {
                    return a.x0 == b.x0 && a.x1 == b.x1;
                }))
                r.twin = other.twin;
        }
    }
}

long long CopyShape::mirrorAxis(std::span<const Segment> segments, int width)
{
    for (std::size_t k = 1; k < segments.size(); ++k)
        for (std::size_t j = 0; j < k; ++j) {
            const Turn t = turn(segments[j], segments[k]);
            if (t.mirrors() && !t.sameY)
                return mirrorSum(segments[j].y1, segments[k].y1, width);
        }
    return std::numeric_limits<long long>::min() / 4;  // no row is mirrored
}

bool CopyShape::reflects(std::span<const Segment> earlier, const Segment& g, int width,
                         const std::vector<std::size_t>& from, std::vector<Span>& drawn)
{
    if (width < 2)
        return false;
    for (std::size_t j = 0; j < earlier.size(); ++j) {
        const Segment& f = earlier[j];
        const Turn t = turn(f, g);
        if (!t.mirrors())
            continue;
        const long long kx = mirrorSum(f.x1, g.x1, width);
        const long long ky = mirrorSum(f.y1, g.y1, width);
        for (std::size_t i = from[j]; i < from[j + 1]; ++i) {
            const Span s = drawn[i];
            drawn.push_back(t.sameX ? Span{0, s.x0, s.x1}
                                    : Span{0, static_cast<int>(kx - s.x1), static_cast<int>(kx - s.x0)});
            drawn.back().y = t.sameY ? s.y : static_cast<int>(ky - s.y);
        }
        return true;
    }
    return false;
}

}  // namespace kalidor
