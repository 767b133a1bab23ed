#include "platform/raster/grid_raster.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace kalidor {

namespace {

long long floorDiv(long long a, long long b)  // b > 0
{
    const long long q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

long long ceilDiv(long long a, long long b) { return -floorDiv(-a, b); }

// Counts the copies along one axis from the other end, so that the step is
// positive; the first copy becomes the last, which may change its parity.
void reverse(float& a, float& b, int& step, int count, int& phase)
{
    const auto shift = static_cast<float>(static_cast<long long>(count - 1) * step);
    a += shift;
    b += shift;
    step = -step;
    phase ^= (count - 1) & 1;
}

// The same copies with positive steps; a zero step stacks copies, so it folds to one.
SegmentGrid normalised(SegmentGrid g)
{
    if (g.stepX < 0)
        reverse(g.first.x1, g.first.x2, g.stepX, g.columns, g.phase);
    if (g.stepY < 0)
        reverse(g.first.y1, g.first.y2, g.stepY, g.rows, g.phase);
    // Two stacked copies of different parity mean every row (or column) has one.
    if (g.stepX == 0) {
        if (g.columns > 1) {
            g.columns = 1;
            g.chess = false;
        }
        g.stepX = 1;
    }
    if (g.stepY == 0) {
        if (g.rows > 1) {
            g.rows = 1;
            g.chess = false;
        }
        g.stepY = 1;
    }
    g.phase &= 1;
    return g;
}

// The first copy's pixels, indexed by row; a copy may be made of several segments.
class Shape {
public:
    Shape(std::span<const Segment> segments, int width)
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
        // hundreds of spans, and a row only a few of them.
        const auto rows = static_cast<std::size_t>(bottom_ - top_ + 1);
        start_.assign(rows + 1, 0);
        for (const Span& sp : drawn)
            ++start_[static_cast<std::size_t>(sp.y - top_) + 1];
        for (std::size_t i = 1; i <= rows; ++i)
            start_[i] += start_[i - 1];
        std::vector<std::size_t> next(start_.begin(), start_.end() - 1);
        spans_.resize(drawn.size());
        for (const Span& sp : drawn)
            spans_[next[static_cast<std::size_t>(sp.y - top_)]++] = sp;
        std::size_t kept = 0;
        for (std::size_t i = 0; i < rows; ++i) {
            const auto from = spans_.begin() + static_cast<std::ptrdiff_t>(start_[i]);
            const auto to = spans_.begin() + static_cast<std::ptrdiff_t>(start_[i + 1]);
            for (auto a = from + 1; a < to; ++a)  // a row's few spans by their left end
                for (auto b = a; b > from && b->x0 < (b - 1)->x0; --b)
                    std::iter_swap(b, b - 1);
            start_[i] = kept;
            for (auto a = from; a < to; ++a) {
                if (kept > start_[i] && a->x0 <= spans_[kept - 1].x1 + 1)
                    spans_[kept - 1].x1 = std::max(spans_[kept - 1].x1, a->x1);
                else
                    spans_[kept++] = *a;
            }
        }
        start_[rows] = kept;
        spans_.resize(kept);
    }

    bool empty() const { return spans_.empty(); }
    long long top() const { return top_; }
    long long bottom() const { return bottom_; }
    std::span<const Span> row(long long k) const
    {
        const auto i = static_cast<std::size_t>(k - top_);
        return std::span<const Span>(spans_).subspan(start_[i], start_[i + 1] - start_[i]);
    }

private:
    // A wide segment that mirrors an earlier one, across a vertical or a
    // horizontal line or both, as the cells of a mirrored pattern do, covers
    // that one's pixels mirrored: a wide line is the pixels within half the
    // width of it, which a mirror keeps exactly. (A thin line's steps are not
    // symmetric, so it is drawn.)
    static bool reflects(std::span<const Segment> earlier, const Segment& g, int width,
                         const std::vector<std::size_t>& from, std::vector<Span>& drawn)
    {
        if (width < 2)
            return false;
        for (std::size_t j = 0; j < earlier.size(); ++j) {
            const Segment& f = earlier[j];
            const bool sameX = f.x1 == g.x1 && f.x2 == g.x2;
            const bool sameY = f.y1 == g.y1 && f.y2 == g.y2;
            const bool acrossX = f.x1 + g.x1 == f.x2 + g.x2;
            const bool acrossY = f.y1 + g.y1 == f.y2 + g.y2;
            if (!(sameX || acrossX) || !(sameY || acrossY))
                continue;
            // Even widths end on pixel corners, odd ones on pixel centres.
            const long long odd = width & 1;
            const long long kx = static_cast<long long>(f.x1) + static_cast<long long>(g.x1) - 1 + odd;
            const long long ky = static_cast<long long>(f.y1) + static_cast<long long>(g.y1) - 1 + odd;
            for (std::size_t i = from[j]; i < from[j + 1]; ++i) {
                const Span s = drawn[i];
                drawn.push_back(sameX ? Span{0, s.x0, s.x1}
                                      : Span{0, static_cast<int>(kx - s.x1), static_cast<int>(kx - s.x0)});
                drawn.back().y = sameY ? s.y : static_cast<int>(ky - s.y);
            }
            return true;
        }
        return false;
    }

    std::vector<Span> spans_;
    std::vector<std::size_t> start_;
    long long top_ = 0;
    long long bottom_ = -1;
};

class RowMaker {
public:
    RowMaker(const SegmentGrid& g, const Shape& shape, const ClipRect& clip) : g_(g), shape_(shape), clip_(clip) {}

    // The spans of image row y, made from the grid rows rLo .. rHi that reach it.
    void make(long long y, long long rLo, long long rHi, std::vector<Span>& out)
    {
        out.clear();
        runs_.clear();
        const long long cStep = g_.columnStride();
        for (long long r = rLo; r <= rHi; ++r) {
            const int cStart = g_.firstColumn(static_cast<int>(r));
            if (cStart >= g_.columns)
                continue;
            const long long cLast = cStart + (g_.columns - 1 - cStart) / cStep * cStep;
            const std::span<const Span> spans = shape_.row(y - r * g_.stepY);
            if (spans.size() > 1 && spans.back().x1 - spans.front().x0 < cStep * g_.stepX) {
                // Several spans within one step (a compound's segments side by
                // side): copy by copy they come out sorted already.
                runs_.push_back(out.size());
                long long from = std::max<long long>(cStart, ceilDiv(clip_.x0 - spans.back().x1, g_.stepX));
                if ((from - cStart) % cStep != 0)
                    ++from;
                const long long to = std::min(cLast, floorDiv(clip_.x1 - spans.front().x0, g_.stepX));
                for (long long c = from; c <= to; c += cStep)
                    for (const Span& s : spans)
                        add(out, s.x0 + c * g_.stepX, s.x1 + c * g_.stepX);
                continue;
            }
            for (const Span& s : spans) {
                runs_.push_back(out.size());  // each span's copies come left to right
                if (s.x1 - s.x0 + 1 >= cStep * g_.stepX) {
                    // The copies touch or overlap along the row: one run.
                    add(out, s.x0 + cStart * g_.stepX, s.x1 + cLast * g_.stepX);
                    continue;
                }
                // Copies apart: only those that meet the clip.
                long long from = std::max<long long>(cStart, ceilDiv(clip_.x0 - s.x1, g_.stepX));
                if ((from - cStart) % cStep != 0)
                    ++from;
                const long long to = std::min(cLast, floorDiv(clip_.x1 - s.x0, g_.stepX));
                for (long long c = from; c <= to; c += cStep)
                    add(out, s.x0 + c * g_.stepX, s.x1 + c * g_.stepX);
            }
        }
        mergeSortedRuns(out, runs_);  // the row's spans all have y = 0
    }

private:
    void add(std::vector<Span>& out, long long x0, long long x1) const
    {
        x0 = std::max<long long>(x0, clip_.x0);
        x1 = std::min<long long>(x1, clip_.x1);
        if (x0 <= x1)
            out.push_back(Span{0, static_cast<int>(x0), static_cast<int>(x1)});
    }

    const SegmentGrid& g_;
    const Shape& shape_;
    const ClipRect& clip_;
    std::vector<std::size_t> runs_;
};


// One grid's part of the rows: the shape of its copies, and each form of row
// made once where the rows repeat.
class GridRows {
public:
    // `grid` normalised; its copies are `segments` moved along it.
    GridRows(const SegmentGrid& grid, std::span<const Segment> segments, int width, const ClipRect& clip)
        : g_(grid), shape_(segments, width), maker_(g_, shape_, clip)
    {
        if (shape_.empty())
            return;
        yFrom_ = std::max<long long>(clip.y0, shape_.top());
        yTo_ = std::min<long long>(clip.y1, shape_.bottom() + static_cast<long long>(g_.rows - 1) * g_.stepY);
        // Away from the grid's first and last rows, an image row repeats one
        // period of grid rows further down, so each of its forms is made once.
        period_ = static_cast<long long>(g_.stepY) * (g_.chess ? 2 : 1);
        if (period_ > yTo_ - yFrom_)
            period_ = 0;
        made_.assign(static_cast<std::size_t>(period_), Made{});
    }

    bool empty() const { return shape_.empty() || yFrom_ > yTo_; }
    long long yFrom() const { return yFrom_; }
    long long yTo() const { return yTo_; }
    long long period() const { return period_; }

    // Where a row between the rows of copies repeats, with no spans.
    static constexpr int kNoCopies = -2;

    // The spans of image row y, none where no copy reaches it; `form` is its
    // form where the rows repeat (kNoCopies where that form is empty), else -1.
    std::span<const Span> at(long long y, int& form)
    {
        form = -1;
        spans_.clear();
        if (y < yFrom_ || y > yTo_)
            return spans_;
        const long long lo = ceilDiv(y - shape_.bottom(), g_.stepY);
        const long long hi = floorDiv(y - shape_.top(), g_.stepY);
        const long long rLo = std::max<long long>(lo, 0);
        const long long rHi = std::min<long long>(hi, g_.rows - 1);
        const bool repeats = period_ > 0 && lo >= 0 && hi <= g_.rows - 1;
        // Between two rows of copies, or where the copies have a gap (a
        // compound's segments may lie far apart).
        bool none = true;
        for (long long r = rLo; r <= rHi && none; ++r)
            none = shape_.row(y - r * g_.stepY).empty();
        if (none) {
            form = repeats ? kNoCopies : -1;
            return spans_;
        }
        if (repeats) {
            const auto key = static_cast<std::size_t>((y - shape_.top()) % period_);
            Made& m = made_[key];
            if (!m.known) {
                // Forms are kept in one buffer, not a vector each: there may be hundreds.
                maker_.make(y, rLo, rHi, spans_);
                m = Made{true, forms_.size(), spans_.size()};
                forms_.insert(forms_.end(), spans_.begin(), spans_.end());
            }
            form = static_cast<int>(key);
            return std::span<const Span>(forms_).subspan(m.at, m.size);
        }
        maker_.make(y, rLo, rHi, spans_);
        return spans_;
    }

private:
    SegmentGrid g_;
    Shape shape_;
    RowMaker maker_;
    long long yFrom_ = 0;
    long long yTo_ = -1;
    long long period_ = 0;
    struct Made {
        bool known = false;
        std::size_t at = 0;
        std::size_t size = 0;
    };
    std::vector<Made> made_;
    std::vector<Span> forms_;
    std::vector<Span> spans_;
};

// The union of the grids' rows, each sorted already.
void join(const std::vector<std::span<const Span>>& owns, std::vector<Span>& out, std::vector<std::size_t>& runs)
{
    out.clear();
    runs.clear();
    for (const std::span<const Span> own : owns) {
        runs.push_back(out.size());
        out.insert(out.end(), own.begin(), own.end());
    }
    mergeSortedRuns(out, runs);
}

// A grid's copies from column `c` and row `r` on.
SegmentGrid rest(SegmentGrid g, int c, int r)
{
    const auto dx = static_cast<float>(static_cast<long long>(c) * g.stepX);
    const auto dy = static_cast<float>(static_cast<long long>(r) * g.stepY);
    g.first = {g.first.x1 + dx, g.first.y1 + dy, g.first.x2 + dx, g.first.y2 + dy};
    g.phase ^= (c + r) & 1;
    g.columns -= c;
    g.rows -= r;
    return g;
}

// Whether copies of `g` that it does not have, up to `columns` by `rows`, would
// reach into the clip.
bool reaches(const SegmentGrid& g, int columns, int rows, int width, const ClipRect& clip)
{
    const long long pad = width / 2 + 1;
    const Segment& f = g.first;
    const long long x0 = static_cast<long long>(std::min(f.x1, f.x2)) - pad;
    const long long x1 = static_cast<long long>(std::max(f.x1, f.x2)) + pad;
    const long long y0 = static_cast<long long>(std::min(f.y1, f.y2)) - pad;
    const long long y1 = static_cast<long long>(std::max(f.y1, f.y2)) + pad;
    auto meets = [&](long long c0, long long c1, long long r0, long long r1) {
        return c0 <= c1 && r0 <= r1 && x0 + c0 * g.stepX <= clip.x1 && x1 + c1 * g.stepX >= clip.x0 &&
               y0 + r0 * g.stepY <= clip.y1 && y1 + r1 * g.stepY >= clip.y0;
    };
    return meets(g.columns, columns - 1, 0, rows - 1) || meets(0, columns - 1, g.rows, rows - 1);
}

// One grid whose copy is made of several segments.
struct Compound {
    SegmentGrid grid;
    std::vector<Segment> segments;
};

// Grids that step alike are drawn as one grid of their copies together (the
// cells of a mirrored pattern are four such grids): a row is made once for
// all of them instead of once each and then joined. What one grid has beyond
// the others' columns or rows stays a grid of its own.
std::vector<Compound> compounds(std::span<const SegmentGrid> grids, int width, const ClipRect& clip)
{
    std::vector<SegmentGrid> left;
    for (const SegmentGrid& grid : grids)
        if (grid.columns > 0 && grid.rows > 0)
            left.push_back(normalised(grid));
    std::vector<Compound> out;
    while (!left.empty()) {
        const SegmentGrid lead = left.front();
        auto alike = [&](std::size_t i) {
            const SegmentGrid& g = left[i];
            return i == 0 || (!g.chess && !lead.chess && g.stepX == lead.stepX && g.stepY == lead.stepY);
        };
        Compound c{lead, {}};
        Compound most{lead, {}};
        for (std::size_t i = 0; i < left.size(); ++i)
            if (alike(i)) {
                c.grid.columns = std::min(c.grid.columns, left[i].columns);
                c.grid.rows = std::min(c.grid.rows, left[i].rows);
                most.grid.columns = std::max(most.grid.columns, left[i].columns);
                most.grid.rows = std::max(most.grid.rows, left[i].rows);
            }
        // Copies that a shorter grid lacks may be drawn all the same where
        // they fall outside the clip, as the last cells of a pattern do.
        bool unseen = true;
        for (std::size_t i = 0; i < left.size(); ++i)
            if (alike(i))
                unseen = unseen && !reaches(left[i], most.grid.columns, most.grid.rows, width, clip);
        if (unseen)
            c.grid = most.grid;
        std::vector<SegmentGrid> others;
        for (std::size_t i = 0; i < left.size(); ++i) {
            const SegmentGrid& g = left[i];
            if (!alike(i)) {
                others.push_back(g);
                continue;
            }
            c.segments.push_back(g.first);
            if (g.columns > c.grid.columns) {
                SegmentGrid right = rest(g, c.grid.columns, 0);
                right.rows = c.grid.rows;
                out.push_back(Compound{right, {right.first}});
            }
            if (g.rows > c.grid.rows) {
                const SegmentGrid below = rest(g, 0, c.grid.rows);
                out.push_back(Compound{below, {below.first}});
            }
        }
        out.push_back(std::move(c));
        left = std::move(others);
    }
    return out;
}

}  // namespace

void gridSpans(std::span<const SegmentGrid> grids, int width, const ClipRect& clip,
               const std::function<void(const GridRow&)>& row)
{
    if (clip.x0 > clip.x1 || clip.y0 > clip.y1)
        return;
    std::vector<std::unique_ptr<GridRows>> parts;
    long long yFrom = clip.y1 + 1;
    long long yTo = clip.y0 - 1;
    for (const Compound& c : compounds(grids, width, clip)) {
        auto part = std::make_unique<GridRows>(c.grid, c.segments, width, clip);
        if (part->empty())
            continue;
        yFrom = std::min(yFrom, part->yFrom());
        yTo = std::max(yTo, part->yTo());
        parts.push_back(std::move(part));
    }
    // Where the grids that reach a row all repeat with one period, the row
    // repeats too: each of its forms (its place in the period, and which grids
    // reach it) is joined once. The grids a compound leaves over along the
    // canvas's edges reach only some rows.
    long long period = 0;
    long long longest = -1;
    for (const auto& part : parts)
        if (part->yTo() - part->yFrom() > longest) {
            longest = part->yTo() - part->yFrom();
            period = part->period();
        }
    const bool cache = parts.size() > 1 && parts.size() <= 64 && period > 0;
    struct Joined {
        std::uint64_t who;
        std::vector<Span> spans;
    };
    std::vector<Joined> forms;
    std::vector<std::vector<int>> formsAt(cache ? static_cast<std::size_t>(period) : 0);
    std::vector<Span> spans;
    std::vector<std::span<const Span>> owns;
    std::vector<std::size_t> runs;

    for (long long y = yFrom; y <= yTo; ++y) {
        if (parts.size() == 1) {
            int form = -1;
            const std::span<const Span> own = parts.front()->at(y, form);
            if (!own.empty())
                row(GridRow{static_cast<int>(y), std::max(form, -1), own});
            continue;
        }
        bool repeating = cache;
        std::uint64_t who = 0;
        owns.clear();
        for (std::size_t i = 0; i < parts.size(); ++i) {
            int form = -1;
            const std::span<const Span> own = parts[i]->at(y, form);
            if (own.empty())
                continue;
            owns.push_back(own);
            who |= std::uint64_t{1} << (i % 64);
            repeating = repeating && form >= 0 && parts[i]->period() == period;
        }
        if (owns.empty())
            continue;
        if (repeating) {
            // A known form is not joined again: its grids' spans may be thousands.
            std::vector<int>& known = formsAt[static_cast<std::size_t>(y % period)];
            auto same = std::find_if(known.begin(), known.end(), [&](int id) { return forms[static_cast<std::size_t>(id)].who == who; });
            if (same == known.end()) {
                forms.push_back(Joined{who, {}});
                join(owns, forms.back().spans, runs);
                same = known.insert(known.end(), static_cast<int>(forms.size() - 1));
            }
            row(GridRow{static_cast<int>(y), *same, forms[static_cast<std::size_t>(*same)].spans});
        } else if (owns.size() == 1) {
            row(GridRow{static_cast<int>(y), -1, owns.front()});
        } else {
            join(owns, spans, runs);
            row(GridRow{static_cast<int>(y), -1, spans});
        }
    }
}

}  // namespace kalidor
