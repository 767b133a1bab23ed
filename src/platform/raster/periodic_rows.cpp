#include "platform/raster/periodic_rows.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <bit>
#include <memory>
#include <unordered_map>

#include "platform/raster/copy_shape.h"
#include "platform/raster/floor_division.h"

namespace kalidor {

namespace {

// Longer periods are left to the grids where their copies are few: they lie
// far enough apart for the grids to find them faster, rows with nothing
// passed over at once. Many rows of cells (a hexagonal lattice's), or copies
// taller than the canvas, are made here at any period. A period of one word
// also lets rows with the same pattern share their form.
constexpr long long kWordPeriod = 64;
constexpr long long kLongestPeriod = 1 << 15;
constexpr std::size_t kManyPlacements = 64;

// A grid's copy as pixels about its own place, and which of its rows its
// copies alone cover from edge to edge (runs of rows) and which only in part.
struct Shape {
    CopyShape pixels;
    std::vector<std::pair<long long, long long>> fullRuns;
    std::vector<long long> partRows;
};

// Copies `every` pixels apart cover a row wholly where one span is that long.
Shape shapeOf(std::span<const CopyPart> parts, int width, long long every)
{
    Shape s{CopyShape(parts, width), {}, {}};
    for (long long k = s.pixels.top(); k <= s.pixels.bottom(); k = s.pixels.nextRow(k + 1)) {
        const auto spans = s.pixels.row(k);
        const bool full = std::any_of(spans.begin(), spans.end(), [&](const Span& p) { return p.x1 - p.x0 + 1 >= every; });
        if (!full)
            s.partRows.push_back(k);
        else if (!s.fullRuns.empty() && s.fullRuns.back().second == k - 1)
            s.fullRuns.back().second = k;
        else
            s.fullRuns.emplace_back(k, k);
    }
    return s;
}

// One grid row of copies: a shape at its place, repeated every `every` pixels
// from the place moved on by `shift`.
struct Placement {
    const Shape* shape;
    long long x, y;
    long long shift;
    long long every;
};

long long floorMod(long long a, long long b) { return a - floorDiv(a, b) * b; }

// A row's pattern: a ring of `period` bits, one for each place in the period,
// in words of 64.
void setRange(std::uint64_t* ring, long long from, long long to)
{
    for (long long i = from; i < to;) {
        const long long end = std::min(to, (i / 64 + 1) * 64);
        const long long n = end - i;
        ring[i / 64] |= (n == 64 ? ~std::uint64_t{0} : ((std::uint64_t{1} << n) - 1)) << (i % 64);
        i = end;
    }
}

// Bits from..to - 1 of one word.
std::uint64_t bits(long long from, long long to)
{
    const long long n = to - from;
    return n <= 0 ? 0 : (n >= 64 ? ~std::uint64_t{0} : ((std::uint64_t{1} << n) - 1) << from);
}

// Sets `count` places from `from` on (0 <= from < period), round the ring;
// `count` under the period.
void setPlaces(std::uint64_t* ring, long long from, long long count, long long period)
{
    if (period <= 64) {
        *ring |= bits(from, std::min(period, from + count)) | bits(0, from + count - period);
        return;
    }
    setRange(ring, from, std::min(period, from + count));
    setRange(ring, 0, from + count - period);
}

// The first place from i on with the bit `value`, or the period where none is.
long long nextPlace(const std::uint64_t* ring, long long i, bool value, long long period)
{
    while (i < period) {
        const std::uint64_t ahead = (value ? ring[i / 64] : ~ring[i / 64]) >> (i % 64);
        if (ahead != 0)
            return std::min(period, i + std::countr_zero(ahead));
        i = (i / 64 + 1) * 64;
    }
    return period;
}

// The ring's pattern laid over the clip's row: its runs, counted from a place
// without a bit so that none wraps, repeated every period.
void spansOf(const std::uint64_t* ring, long long period, const ClipRect& clip, std::vector<Span>& out)
{
    out.clear();
    const long long zero = nextPlace(ring, 0, false, period);
    // The next place from u on with the bit, u unwrapped (under two periods).
    auto next = [&](long long u, bool value) {
        const long long i = u < period ? u : u - period;
        const long long j = nextPlace(ring, i, value, period);
        return j < period ? u - i + j : u - i + period + nextPlace(ring, 0, value, period);
    };
    std::vector<std::pair<long long, long long>> runs;
    for (long long u = zero; u < zero + period;) {
        const long long s = next(u, true);
        if (s >= zero + period)
            break;
        const long long e = next(s, false);
        runs.emplace_back(s, e - 1);
        u = e;
    }
    const long long firstPeriod = floorDiv(clip.x0 - (zero + period), period);
    const long long lastPeriod = floorDiv(clip.x1 - zero, period);
    for (long long m = firstPeriod; m <= lastPeriod; ++m)
        for (const auto& [s, e] : runs) {
            const long long x0 = std::max<long long>(s + m * period, clip.x0);
            const long long x1 = std::min<long long>(e + m * period, clip.x1);
            if (x0 <= x1)
                out.push_back(Span{0, static_cast<int>(x0), static_cast<int>(x1)});
        }
}

bool whole(double v) { return v == std::floor(v); }

Segment rounded(const Segment& s)
{
    auto r = [](float v) { return std::floor(v + 0.5f); };
    return {r(s.x1), r(s.y1), r(s.x2), r(s.y2)};
}

// The placements of a symmetry's copies, one for each row of cells of each
// operation's shape, with their shapes: shared between the rows where a
// segment is the same but for its place, as a hexagonal lattice's rows of
// cells are, and one for each operation that moves pixels.
class Placer {
public:
    Placer(const Lattice& l, int width, const ClipRect& clip, long long step)
        : l_(l), width_(width), clip_(clip), step_(step)
    {
    }

    // False where a copy that reaches the clip's rows does not run on past
    // both its sides.
    bool add(const PointOp& op, const Segment& shape, bool moves)
    {
        const long long every = l_.chess ? 2 * step_ : step_;
        if (moves) {
            const Segment extent = rounded(op.apply(shape));
            const CopyPart part{extent, -1, PixelMove{shape, pixelMap(op, width_)}};
            own_.push_back(std::make_unique<Shape>(shapeOf(std::span(&part, 1), width_, every)));
            for (int j = 0; j < l_.rows; ++j) {
                const auto dy = static_cast<float>(j * l_.by);
                const Segment moved{extent.x1, extent.y1 + dy, extent.x2, extent.y2 + dy};
                if (!place(moved, 1, own_.back().get(), 0, static_cast<long long>(dy), j))
                    return false;
            }
            return true;
        }
        const PointOp::Ends ends = op.ends(shape);
        for (int j = 0; j < l_.rows; ++j) {
            const Segment s = op.place(ends, j * l_.bx, j * l_.by);
            if (!place(s, 0, sharedShape(s.x2 - s.x1, s.y2 - s.y1, every), static_cast<long long>(s.x1),
                       static_cast<long long>(s.y1), j))
                return false;
        }
        return true;
    }

    const std::vector<Placement>& placements() const { return placements_; }

private:
    // The copy at (x, y) on row of cells j, whose pixels lie within `slack`
    // more than the pen's reach of `extent`.
    bool place(const Segment& extent, int slack, const Shape* shape, long long x, long long y, int j)
    {
        const long long pad = width_ / 2 + 2 + slack;
        const long long top = static_cast<long long>(std::min(extent.y1, extent.y2)) - pad;
        const long long bottom = static_cast<long long>(std::max(extent.y1, extent.y2)) + pad;
        if (bottom < clip_.y0 || top > clip_.y1)
            return true;  // passes by the clip
        const long long left = static_cast<long long>(std::min(extent.x1, extent.x2)) - pad;
        const long long right = static_cast<long long>(std::max(extent.x1, extent.x2)) + pad;
        if (right - step_ >= clip_.x0 || left + static_cast<long long>(l_.columns) * step_ <= clip_.x1) {
            return false;
        }
        const long long first = l_.chess ? ((l_.phase ^ j) & 1) : 0;
        placements_.push_back({shape, x, y, first * step_, l_.chess ? 2 * step_ : step_});
        return true;
    }

    const Shape* sharedShape(float dx, float dy, long long every)
    {
        // Rows of cells take a few shapes in turn: the last ones are tried first.
        for (const Recent& r : recent_)
            if (r.shape && r.dx == dx && r.dy == dy)
                return r.shape;
        const std::uint64_t key = (std::uint64_t{std::bit_cast<std::uint32_t>(dx)} << 32) | std::bit_cast<std::uint32_t>(dy);
        auto [at, fresh] = byKey_.try_emplace(key, nullptr);
        if (fresh) {
            const CopyPart part{Segment{0, 0, dx, dy}, -1, std::nullopt};
            all_.push_back(std::make_unique<Shape>(shapeOf(std::span(&part, 1), width_, every)));
            at->second = all_.back().get();
        }
        recent_[next_++ % recent_.size()] = Recent{dx, dy, at->second};
        return at->second;
    }

    struct Recent {
        float dx = 0, dy = 0;
        const Shape* shape = nullptr;
    };
    const Lattice& l_;
    int width_;
    const ClipRect& clip_;
    long long step_;
    std::vector<Placement> placements_;
    std::vector<std::unique_ptr<Shape>> own_, all_;
    std::unordered_map<std::uint64_t, const Shape*> byKey_;
    std::array<Recent, 8> recent_{};
    std::size_t next_ = 0;
};

// Whether the lattice's rows repeat, and the grids would not do better: few
// copies, none taller than the clip, with a period of over a word.
bool worthRings(std::span<const Segment> shapes, const Symmetry& symmetry, const ClipRect& clip, long long period)
{
    const Lattice& l = symmetry.lattice;
    if (period > kLongestPeriod)
        return false;
    if (period <= kWordPeriod)
        return true;
    const bool rowsWhole = l.bx == 0 && whole(l.by);
    const std::size_t rowsOfCells = symmetry.ops.size() * (rowsWhole ? 1 : static_cast<std::size_t>(l.rows));
    const bool tall = std::any_of(shapes.begin(), shapes.end(), [&](const Segment& s) {
        return std::abs(s.y2 - s.y1) > static_cast<float>(clip.y1 - clip.y0);
    });
    return rowsOfCells * shapes.size() > kManyPlacements || tall;
}

// Each row's pattern laid into the scratch: rows that a copy covers from edge
// to edge counted in `full`, the others' bits set in `rings`.
void fillRings(std::span<const Placement> placements, const ClipRect& clip, long long period, PeriodicScratch& scratch)
{
    const long long height = static_cast<long long>(clip.y1) - clip.y0 + 1;
    const long long words = (period + 63) / 64;
    scratch.rings.assign(static_cast<std::size_t>(height * words), 0);
    scratch.full.assign(static_cast<std::size_t>(height + 1), 0);
    scratch.touched.assign(static_cast<std::size_t>(height), 0);
    for (const Placement& p : placements) {
        const Shape& s = *p.shape;
        const long long base = floorMod(p.x + p.shift, period);
        for (const auto& [k0, k1] : s.fullRuns) {
            const long long y0 = std::max<long long>(p.y + k0, clip.y0), y1 = std::min<long long>(p.y + k1, clip.y1);
            if (y0 > y1)
                continue;
            ++scratch.full[static_cast<std::size_t>(y0 - clip.y0)];
            --scratch.full[static_cast<std::size_t>(y1 + 1 - clip.y0)];
        }
        // Only the rows over the clip: a long segment's shape has many more.
        const auto first = std::lower_bound(s.partRows.begin(), s.partRows.end(), clip.y0 - p.y);
        const auto last = std::upper_bound(first, s.partRows.end(), clip.y1 - p.y);
        for (auto k = first; k != last; ++k) {
            const long long y = p.y + *k;
            std::uint64_t* ring = scratch.rings.data() + (y - clip.y0) * words;
            for (const Span& span : s.pixels.row(*k)) {
                long long from = base + span.x0;
                if (from < 0 || from >= period)
                    from = floorMod(from, period);  // more than a period from the place
                const long long count = span.x1 - span.x0 + 1;
                for (long long copy = 0; copy < period; copy += p.every)
                    setPlaces(ring, from + copy < period ? from + copy : from + copy - period, count, period);
            }
            scratch.touched[static_cast<std::size_t>(y - clip.y0)] = 1;
        }
    }
}

// The rows the scratch holds, top to bottom. Rows with the same pattern share
// a form, where it is one word.
void emitRows(const ClipRect& clip, long long period, PeriodicScratch& scratch,
              const std::function<void(const GridRow&)>& row)
{
    const long long words = (period + 63) / 64;
    constexpr int kFullForm = 0;
    std::unordered_map<std::uint64_t, int> forms;
    std::vector<std::vector<Span>> formSpans(1);
    formSpans[kFullForm].push_back(Span{0, clip.x0, clip.x1});
    int covered = 0;
    for (long long y = clip.y0; y <= clip.y1; ++y) {
        const auto at = static_cast<std::size_t>(y - clip.y0);
        covered += scratch.full[at];
        if (covered > 0) {
            row(GridRow{static_cast<int>(y), kFullForm, formSpans[kFullForm]});
            continue;
        }
        if (!scratch.touched[at])
            continue;
        const std::uint64_t* ring = scratch.rings.data() + static_cast<long long>(at) * words;
        if (words > 1) {
            spansOf(ring, period, clip, scratch.spans);
            if (!scratch.spans.empty())
                row(GridRow{static_cast<int>(y), -1, scratch.spans});
            continue;
        }
        auto [it, fresh] = forms.try_emplace(*ring, static_cast<int>(formSpans.size()));
        if (fresh) {
            formSpans.emplace_back();
            spansOf(ring, period, clip, formSpans.back());
        }
        const std::vector<Span>& spans = formSpans[static_cast<std::size_t>(it->second)];
        if (!spans.empty())
            row(GridRow{static_cast<int>(y), it->second, spans});
    }
}

}  // namespace

bool periodicSpans(std::span<const Segment> shapes, const Symmetry& symmetry, int width, const ClipRect& clip,
                   PeriodicScratch& scratch, const std::function<void(const GridRow&)>& row)
{
    const Lattice& l = symmetry.lattice;
    if (!l.fillsRows || shapes.empty() || clip.x0 > clip.x1 || clip.y0 > clip.y1 || l.ay != 0 || !whole(l.ax) ||
        l.ax < 1 || l.columns < 1 || l.rows < 1 || l.endRow < l.rows)
        return false;
    const auto step = static_cast<long long>(l.ax);
    const long long period = step * (l.chess ? 2 : 1);
    if (!worthRings(shapes, symmetry, clip, period))
        return false;
    const bool rowsWhole = l.bx == 0 && whole(l.by);
    Placer placer(l, width, clip, step);
    for (const PointOp& op : symmetry.ops) {
        if (op.columns >= 0 || op.rows >= 0)
            return false;  // a share of the cells: not the same along every row
        const bool moves = symmetry.movesPixels && rowsWhole && op.permutesAxes() && pixelMap(op, width) != PixelMap{};
        for (const Segment& shape : shapes)
            if (!placer.add(op, shape, moves))
                return false;
    }
    fillRings(placer.placements(), clip, period, scratch);
    emitRows(clip, period, scratch, row);
    return true;
}

}  // namespace kalidor
