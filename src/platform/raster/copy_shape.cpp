#include "platform/raster/copy_shape.h"

#include <algorithm>
#include <cstdlib>
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

bool sameEnds(const Segment& a, const Segment& b) { return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2; }

// The pixels of plain segments by their ends' difference, which alone decides
// them: the rows of cells of a hexagonal lattice take a few shapes in turn.
class SameShapes {
public:
    // Appends the segment's pixels in the rows of `clip`, from an earlier
    // segment's where one had the same difference and was no taller than them.
    void draw(const Segment& f, int width, const ClipRect& clip, std::vector<Span>& out)
    {
        const auto x = static_cast<long long>(f.x1), y = static_cast<long long>(f.y1);
        const auto dx = static_cast<long long>(f.x2) - x, dy = static_cast<long long>(f.y2) - y;
        if (std::abs(dy) + width > static_cast<long long>(clip.y1) - clip.y0) {
            segmentSpans(x, y, x + dx, y + dy, width, clip, out);
            return;
        }
        auto known = std::find_if(shapes_.begin(), shapes_.end(), [&](const Known& k) { return k.dx == dx && k.dy == dy; });
        if (known == shapes_.end()) {
            shapes_.push_back({dx, dy, {}});
            known = shapes_.end() - 1;
            constexpr int kOpen = 1 << 30;
            segmentSpans(0, 0, dx, dy, width, ClipRect{-kOpen, -kOpen, kOpen, kOpen}, known->spans);
        }
        for (const Span& s : known->spans)
            if (s.y + y >= clip.y0 && s.y + y <= clip.y1)
                out.push_back(Span{static_cast<int>(s.y + y), static_cast<int>(s.x0 + x), static_cast<int>(s.x1 + x)});
    }

private:
    struct Known {
        long long dx, dy;
        std::vector<Span> spans;
    };
    std::vector<Known> shapes_;
};

// The parts' pixels in rows `rows` (only these for a plain segment), in no
// order: the grid clips later.
std::vector<Span> drawParts(std::span<const CopyPart> parts, int width, std::pair<long long, long long> rows)
{
    constexpr int kOpen = 1 << 30;
    const bool alone = std::none_of(parts.begin(), parts.end(), [](const CopyPart& p) { return p.turns >= 0 || p.moved; });
    const ClipRect plain = alone ? ClipRect{-kOpen, static_cast<int>(std::max<long long>(rows.first, -kOpen)), kOpen,
                                            static_cast<int>(std::min<long long>(rows.second, kOpen))}
                                 : ClipRect{-kOpen, -kOpen, kOpen, kOpen};
    std::vector<Span> drawn;
    std::vector<std::size_t> from;  // where each part's spans begin
    std::vector<Span> source;  // the pixels the moved parts move, drawn once
    const Segment* sourceOf = nullptr;
    SameShapes same;
    for (const CopyPart& part : parts) {
        from.push_back(drawn.size());
        if (part.moved) {
            const Segment& f = part.moved->source;
            if (!sourceOf || !sameEnds(*sourceOf, f)) {
                source.clear();
                segmentSpans(static_cast<long long>(f.x1), static_cast<long long>(f.y1), static_cast<long long>(f.x2),
                             static_cast<long long>(f.y2), width, ClipRect{-kOpen, -kOpen, kOpen, kOpen}, source);
                sourceOf = &f;
            }
            movedSpans(part.moved->map, source, drawn);
            continue;
        }
        const auto t = static_cast<std::size_t>(part.turns);
        if (part.turns >= 0 && t + 1 < from.size()) {
            // Taken from the spans of the part it turns, which stay where they
            // are while as many more are appended.
            drawn.reserve(drawn.size() + (from[t + 1] - from[t]));
            const std::span<const Span> of(drawn.data() + from[t], from[t + 1] - from[t]);
            if (turnedSpans(parts[t].segment, part.segment, width, of, drawn))
                continue;
        }
        if (parts.size() > 1) {
            same.draw(part.segment, width, plain, drawn);
            continue;
        }
        const Segment& f = part.segment;
        segmentSpans(static_cast<long long>(f.x1), static_cast<long long>(f.y1), static_cast<long long>(f.x2),
                     static_cast<long long>(f.y2), width, plain, drawn);
    }
    return drawn;
}

}  // namespace

namespace {

int narrow(long long v) { return static_cast<int>(v); }

// A map that keeps rows rows: each span moved as a whole.
void movedRows(const PixelMap& map, std::span<const Span> of, std::vector<Span>& out)
{
    for (const Span& s : of) {
        const long long a = map.xx * static_cast<long long>(s.x0) + map.ox;
        const long long b = map.xx * static_cast<long long>(s.x1) + map.ox;
        out.push_back(Span{narrow(map.yy * static_cast<long long>(s.y) + map.oy), narrow(std::min(a, b)), narrow(std::max(a, b))});
    }
}

// A map that makes columns rows: the pixels of each column, gathered in runs
// as the rows come (a line's rows come in order, up or down), each run one span.
void movedColumns(const PixelMap& map, std::span<const Span> of, std::vector<Span>& out)
{
    int left = of.front().x0, right = of.front().x1;
    for (const Span& s : of) {
        left = std::min(left, s.x0);
        right = std::max(right, s.x1);
    }
    struct Run {
        long long from = 0, to = 0;  // rows of the column's open run
        bool open = false;
    };
    std::vector<Run> runs(static_cast<std::size_t>(right - left + 1));
    auto close = [&](long long x, const Run& r) {
        // Rows from..to of column x go to columns xy * row + ox, all on row yx * x + oy.
        const long long a = map.xy * r.from + map.ox, b = map.xy * r.to + map.ox;
        out.push_back(Span{narrow(map.yx * x + map.oy), narrow(std::min(a, b)), narrow(std::max(a, b))});
    };
    for (const Span& s : of)
        for (long long x = s.x0; x <= s.x1; ++x) {
            Run& r = runs[static_cast<std::size_t>(x - left)];
            if (r.open && (s.y == r.to + 1 || s.y == r.from - 1)) {
                r.from = std::min<long long>(r.from, s.y);
                r.to = std::max<long long>(r.to, s.y);
                continue;
            }
            if (r.open)
                close(x, r);
            r = Run{s.y, s.y, true};
        }
    for (long long x = left; x <= right; ++x)
        if (const Run& r = runs[static_cast<std::size_t>(x - left)]; r.open)
            close(x, r);
}

}  // namespace

void movedSpans(const PixelMap& map, std::span<const Span> of, std::vector<Span>& out)
{
    if (of.empty())
        return;
    if (map.transposes())
        movedColumns(map, of, out);
    else
        movedRows(map, of, out);
}

bool turnedSpans(const Segment& f, const Segment& g, int width, std::span<const Span> of, std::vector<Span>& out)
{
    if (width < 2)
        return false;
    const Turn t = turn(f, g);
    if (!t.mirrors())
        return false;
    const long long kx = mirrorSum(f.x1, g.x1, width);
    const long long ky = mirrorSum(f.y1, g.y1, width);
    for (const Span& s : of) {
        out.push_back(t.sameX ? Span{0, s.x0, s.x1} : Span{0, static_cast<int>(kx - s.x1), static_cast<int>(kx - s.x0)});
        out.back().y = t.sameY ? s.y : static_cast<int>(ky - s.y);
    }
    return true;
}

CopyShape::CopyShape(std::span<const CopyPart> parts, int width, long long rowFrom, long long rowTo)
{
    const std::vector<Span> drawn = drawParts(parts, width, {rowFrom, rowTo});
    if (drawn.empty())
        return;
    sortIntoRows(drawn);
    tidyRows(mirrorAxis(parts, width));
}

void CopyShape::sortIntoRows(const std::vector<Span>& drawn)
{
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
}

void CopyShape::tidyRows(long long axis)
{
    // A copy mirrored top to bottom, as in the cells of a mirrored pattern, has
    // rows that repeat those of its other half in reverse order: such a row
    // names its twin above, wherever their spans turn out the same.
    const std::size_t rows = rows_.size();
    for (std::size_t i = rows_[0].next; i < rows; i = i + 1 < rows ? rows_[i + 1].next : rows) {
        Row& r = rows_[i];
        Span* const from = spans_.data() + r.begin;
        Span* const to = from + r.count;
        for (Span* a = from + 1; a < to; ++a)  // a row has a few spans only
            for (Span* b = a; b > from && b->x0 < (b - 1)->x0; --b)
                std::iter_swap(b, b - 1);
        r.count = static_cast<std::uint32_t>(joinNeighbours(from, to, takeTouching));
        r.twin = static_cast<std::uint32_t>(i);
        const long long t = axis - 2 * top_ - static_cast<long long>(i);  // the row mirrored
        if (t >= 0 && t < static_cast<long long>(i)) {
            const Row& other = rows_[static_cast<std::size_t>(t)];
            const Span* there = spans_.data() + other.begin;
            if (other.count == r.count && std::equal(from, from + r.count, there, [](const Span& a, const Span& b) {
                    return a.x0 == b.x0 && a.x1 == b.x1;
                }))
                r.twin = other.twin;
        }
    }
}

long long CopyShape::mirrorAxis(std::span<const CopyPart> parts, int width)
{
    for (const CopyPart& part : parts) {
        if (part.turns < 0)
            continue;
        const Segment& f = parts[static_cast<std::size_t>(part.turns)].segment;
        const Turn t = turn(f, part.segment);
        if (t.mirrors() && !t.sameY)
            return mirrorSum(f.y1, part.segment.y1, width);
    }
    return std::numeric_limits<long long>::min() / 4;  // no row is mirrored
}

}  // namespace kalidor
