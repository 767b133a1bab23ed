#include "platform/raster/periodic_rows.h"

#include <algorithm>
#include <bit>
#include <memory>
#include <unordered_map>

#include "platform/raster/copy_shape.h"
#include "platform/raster/floor_division.h"

namespace kalidor {

namespace {

// Longer periods are left to the grids: their copies lie far enough apart for
// the grids to find them faster, rows with nothing passed over at once. A
// period of one word also lets rows with the same pattern share their form.
constexpr long long kLongestPeriod = 64;

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

// A row's pattern: a ring of `period` bits (at most 64), one for each place in
// the period.
std::uint64_t ones(long long from, long long to)
{
    const long long n = to - from;
    return n <= 0 ? 0 : (n == 64 ? ~std::uint64_t{0} : ((std::uint64_t{1} << n) - 1) << from);
}

// Sets `count` places from `from` on, round the ring; `count` under the period.
void setPlaces(std::uint64_t& ring, long long from, long long count, long long period)
{
    from = floorMod(from, period);
    ring |= ones(from, std::min(period, from + count)) | ones(0, from + count - period);
}

// The first place from i on with the bit `value`, or the period where none is.
long long nextPlace(std::uint64_t ring, long long i, bool value, long long period)
{
    if (i >= period)
        return period;
    const std::uint64_t ahead = (value ? ring : ~ring) >> i;
    return ahead == 0 ? period : std::min(period, i + std::countr_zero(ahead));
}

// The ring's pattern laid over the clip's row: its runs, counted from a place
// without a bit so that none wraps, repeated every period.
void spansOf(std::uint64_t ring, long long period, const ClipRect& clip, std::vector<Span>& out)
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

// Whether the grid's rows of copies reach the clip's rows at all.
bool reachesRows(const SegmentGrid& g, int width, const ClipRect& clip)
{
    const long long pad = width / 2 + 2;
    const Segment& f = g.first;
    const long long top = static_cast<long long>(std::min(f.y1, f.y2)) - pad - (g.moved ? 1 : 0);
    const long long bottom = static_cast<long long>(std::max(f.y1, f.y2)) + pad + (g.moved ? 1 : 0);
    return bottom + static_cast<long long>(g.rows - 1) * g.stepY >= clip.y0 && top <= clip.y1;
}

// Whether copies of the grid before its first and after its last lie beyond
// the clip: then its copies repeat along every row of the clip it reaches.
bool runsPast(const SegmentGrid& g, int width, const ClipRect& clip)
{
    const long long pad = width / 2 + 2;
    const Segment& f = g.first;
    const long long left = static_cast<long long>(std::min(f.x1, f.x2)) - pad - (g.moved ? 1 : 0);
    const long long right = static_cast<long long>(std::max(f.x1, f.x2)) + pad + (g.moved ? 1 : 0);
    return right - g.stepX < clip.x0 && left + static_cast<long long>(g.columns) * g.stepX > clip.x1;
}

}  // namespace

bool periodicSpans(std::span<const SegmentGrid> grids, int width, const ClipRect& clip, PeriodicScratch& scratch,
                   const std::function<void(const GridRow&)>& row)
{
    if (grids.empty() || clip.x0 > clip.x1 || clip.y0 > clip.y1)
        return false;
    const long long step = grids.front().stepX;
    bool chess = false;
    for (const SegmentGrid& g : grids) {
        if (g.stepX != step || step <= 0 || g.stepY < 0 || (g.rows > 1 && g.stepY == 0) ||
            (reachesRows(g, width, clip) && !runsPast(g, width, clip)))
            return false;
        chess = chess || g.chess;
    }
    const long long period = step * (chess ? 2 : 1);
    if (period > kLongestPeriod)
        return false;

    // The shapes, one for each grid but shared where a segment is the same
    // but for its place (a hexagonal lattice's rows of cells are many).
    struct Key {
        float dx, dy;
        bool chess;
    };
    std::vector<std::pair<Key, std::unique_ptr<Shape>>> shared;
    std::vector<std::unique_ptr<Shape>> own;
    std::vector<Placement> placements;
    for (const SegmentGrid& g : grids) {
        if (!reachesRows(g, width, clip))
            continue;
        const long long every = g.chess ? 2 * step : step;
        const Shape* shape = nullptr;
        long long x = 0, y = 0;
        if (g.moved) {
            const CopyPart part{g.first, -1, g.moved};
            own.push_back(std::make_unique<Shape>(shapeOf(std::span(&part, 1), width, every)));
            shape = own.back().get();
        } else {
            const Key key{g.first.x2 - g.first.x1, g.first.y2 - g.first.y1, g.chess};
            auto same = std::find_if(shared.begin(), shared.end(), [&](const auto& s) {
                return s.first.dx == key.dx && s.first.dy == key.dy && s.first.chess == key.chess;
            });
            if (same == shared.end()) {
                const CopyPart part{Segment{0, 0, key.dx, key.dy}};
                shared.emplace_back(key, std::make_unique<Shape>(shapeOf(std::span(&part, 1), width, every)));
                same = shared.end() - 1;
            }
            shape = same->second.get();
            x = static_cast<long long>(g.first.x1);
            y = static_cast<long long>(g.first.y1);
        }
        for (long long r = 0; r < g.rows; ++r) {
            const long long first = g.chess ? ((g.phase ^ r) & 1) : 0;
            placements.push_back({shape, x, y + r * g.stepY, first * step, every});
        }
    }

    const long long height = static_cast<long long>(clip.y1) - clip.y0 + 1;
    scratch.rings.assign(static_cast<std::size_t>(height), 0);
    scratch.full.assign(static_cast<std::size_t>(height + 1), 0);
    scratch.touched.assign(static_cast<std::size_t>(height), 0);
    for (const Placement& p : placements) {
        const Shape& s = *p.shape;
        for (const auto& [k0, k1] : s.fullRuns) {
            const long long y0 = std::max<long long>(p.y + k0, clip.y0), y1 = std::min<long long>(p.y + k1, clip.y1);
            if (y0 > y1)
                continue;
            ++scratch.full[static_cast<std::size_t>(y0 - clip.y0)];
            --scratch.full[static_cast<std::size_t>(y1 + 1 - clip.y0)];
        }
        for (const long long k : s.partRows) {
            const long long y = p.y + k;
            if (y < clip.y0 || y > clip.y1)
                continue;
            std::uint64_t& ring = scratch.rings[static_cast<std::size_t>(y - clip.y0)];
            for (const Span& span : s.pixels.row(k)) {
                const long long from = p.x + p.shift + span.x0, count = span.x1 - span.x0 + 1;
                for (long long copy = 0; copy < period; copy += p.every)
                    setPlaces(ring, from + copy, count, period);
            }
            scratch.touched[static_cast<std::size_t>(y - clip.y0)] = 1;
        }
    }

    // Rows with the same pattern share a form.
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
        const std::uint64_t pattern = scratch.rings[at];
        auto [it, fresh] = forms.try_emplace(pattern, static_cast<int>(formSpans.size()));
        if (fresh) {
            formSpans.emplace_back();
            spansOf(pattern, period, clip, formSpans.back());
        }
        const std::vector<Span>& spans = formSpans[static_cast<std::size_t>(it->second)];
        if (!spans.empty())
            row(GridRow{static_cast<int>(y), it->second, spans});
    }
    return true;
}

}  // namespace kalidor
