#include "platform/raster/grid_raster.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "platform/raster/copy_shape.h"
#include "platform/raster/floor_division.h"
#include "platform/raster/grid_compounds.h"

namespace kalidor {

namespace {

class RowMaker {
public:
    RowMaker(const SegmentGrid& g, const CopyShape& shape, const ClipRect& clip) : g_(g), shape_(shape), clip_(clip) {}

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
            // Spans within one step (a compound's segments side by side) go
            // copy by copy, which keeps them sorted; others each on their own.
            const bool together = spans.size() > 1 && spans.back().x1 - spans.front().x0 < cStep * g_.stepX;
            for (std::size_t i = 0; i < spans.size(); i = together ? spans.size() : i + 1) {
                const std::span<const Span> group = together ? spans : spans.subspan(i, 1);
                runs_.push_back(out.size());  // each group's copies come left to right
                const Span& s = group.front();
                if (!together && s.x1 - s.x0 + 1 >= cStep * g_.stepX)
                    add(out, s.x0 + cStart * g_.stepX, s.x1 + cLast * g_.stepX);  // copies touching: one run
                else
                    addCopies(out, group, cStart, cLast, cStep);
            }
        }
        mergeSortedRuns(out, runs_);  // the row's spans all have y = 0
    }

private:
    // The copies of `group` in columns cStart, cStart + cStep, ... cLast that
    // meet the clip, left to right.
    void addCopies(std::vector<Span>& out, std::span<const Span> group, long long cStart, long long cLast,
                   long long cStep) const
    {
        long long from = std::max<long long>(cStart, ceilDiv(clip_.x0 - group.back().x1, g_.stepX));
        if ((from - cStart) % cStep != 0)
            ++from;
        const long long to = std::min(cLast, floorDiv(clip_.x1 - group.front().x0, g_.stepX));
        for (long long c = from; c <= to; c += cStep)
            for (const Span& s : group)
                add(out, s.x0 + c * g_.stepX, s.x1 + c * g_.stepX);
    }

    void add(std::vector<Span>& out, long long x0, long long x1) const
    {
        x0 = std::max<long long>(x0, clip_.x0);
        x1 = std::min<long long>(x1, clip_.x1);
        if (x0 <= x1)
            out.push_back(Span{0, static_cast<int>(x0), static_cast<int>(x1)});
    }

    const SegmentGrid& g_;
    const CopyShape& shape_;
    const ClipRect& clip_;
    std::vector<std::size_t> runs_;
};


// One grid's part of the rows: the shape of its copies, and each form of row
// made once where the rows repeat.
class GridRows {
public:
    // `grid` normalised; its copies are `parts` moved along it.
    GridRows(const SegmentGrid& grid, std::span<const CopyPart> parts, int width, const ClipRect& clip)
        : g_(grid), shape_(parts, width, clip.y0 - static_cast<long long>(grid.rows - 1) * grid.stepY, clip.y1),
          maker_(g_, shape_, clip)
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
    static constexpr long long kNever = std::numeric_limits<long long>::max();

    // The first row from y on that may have spans (kNever where none may):
    // the rows between two rows of thin copies are passed over at once.
    long long nextRow(long long y) const
    {
        if (empty() || y > yTo_)
            return kNever;
        y = std::max(y, yFrom_);
        const long long lo = std::max<long long>(ceilDiv(y - shape_.bottom(), g_.stepY), 0);
        const long long above = floorDiv(y - shape_.top(), g_.stepY);  // the last copy to start by row y
        long long next = kNever;
        for (long long r = lo; r <= std::min<long long>(above, g_.rows - 1); ++r) {
            const long long k = shape_.nextRow(y - r * g_.stepY);
            if (k <= shape_.bottom())
                next = std::min(next, k + r * g_.stepY);
        }
        const long long below = std::max<long long>(above + 1, 0);
        if (below < g_.rows)
            next = std::min(next, shape_.top() + below * g_.stepY);
        return next > yTo_ ? kNever : next;
    }

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
            // A row that one grid row reaches, whose copies' spans have a twin
            // above that one grid row reaches too, takes the twin's form.
            long long k = y;
            if (rLo == rHi) {
                const long long t = shape_.twin(y - rLo * g_.stepY);
                if (t - g_.stepY < shape_.top() && t + g_.stepY > shape_.bottom())
                    k = t + rLo * g_.stepY;
            }
            const auto key = static_cast<std::size_t>((k - shape_.top()) % period_);
            Made& m = made_[key];
            if (m.id < 0) {
                // Forms are kept in one buffer, not a vector each: there may be hundreds.
                maker_.make(y, rLo, rHi, spans_);
                m = Made{static_cast<std::uint32_t>(forms_.size()), static_cast<std::uint32_t>(spans_.size()), madeCount_++};
                forms_.insert(forms_.end(), spans_.begin(), spans_.end());
            }
            form = m.id;
            return std::span<const Span>(forms_).subspan(m.at, m.size);
        }
        maker_.make(y, rLo, rHi, spans_);
        return spans_;
    }

private:
    SegmentGrid g_;
    CopyShape shape_;
    RowMaker maker_;
    long long yFrom_ = 0;
    long long yTo_ = -1;
    long long period_ = 0;
    // By place in the period: where the form's spans are, and its number, in
    // the order the forms were made (-1 until made): the callers' tables by
    // form stay as small as the forms are few, though the period be long.
    struct Made {
        std::uint32_t at = 0;
        std::uint32_t size = 0;
        int id = -1;
    };
    std::vector<Made> made_;
    int madeCount_ = 0;
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

using Parts = std::vector<std::unique_ptr<GridRows>>;

// The compounds of the grids that reach the clip, and the rows they reach.
Parts partsOf(std::span<const SegmentGrid> grids, int width, const ClipRect& clip, long long& yFrom, long long& yTo)
{
    Parts parts;
    yFrom = clip.y1 + 1;
    yTo = clip.y0 - 1;
    for (const Compound& c : compounds(grids, width, clip)) {
        auto part = std::make_unique<GridRows>(c.grid, c.parts, width, clip);
        if (part->empty())
            continue;
        yFrom = std::min(yFrom, part->yFrom());
        yTo = std::max(yTo, part->yTo());
        parts.push_back(std::move(part));
    }
    return parts;
}

// The rows of several parts joined. Where the parts that reach a row all
// repeat with one period, the row repeats too: each of its forms (its place in
// the period, and which parts reach it) is joined once. The grids a compound
// leaves over along the canvas's edges reach only some rows.
class JoinedRows {
public:
    explicit JoinedRows(const Parts& parts) : parts_(parts)
    {
        long long longest = -1;
        for (const auto& part : parts)
            if (part->yTo() - part->yFrom() > longest) {
                longest = part->yTo() - part->yFrom();
                period_ = part->period();
            }
        cache_ = parts.size() > 1 && parts.size() <= 64 && period_ > 0;
        formsAt_.resize(cache_ ? static_cast<std::size_t>(period_) : 0);
    }

    // Row y as one, or false where no part has spans there.
    bool at(long long y, const std::function<void(const GridRow&)>& row)
    {
        bool repeating = cache_;
        std::uint64_t who = 0;
        owns_.clear();
        for (std::size_t i = 0; i < parts_.size(); ++i) {
            int form = -1;
            const std::span<const Span> own = parts_[i]->at(y, form);
            if (own.empty())
                continue;
            owns_.push_back(own);
            who |= std::uint64_t{1} << (i % 64);
            repeating = repeating && form >= 0 && parts_[i]->period() == period_;
        }
        if (owns_.empty())
            return false;
        if (repeating) {
            const int id = formOf(y, who);
            row(GridRow{static_cast<int>(y), id, forms_[static_cast<std::size_t>(id)].spans});
        } else if (owns_.size() == 1) {
            row(GridRow{static_cast<int>(y), -1, owns_.front()});
        } else {
            join(owns_, spans_, runs_);
            row(GridRow{static_cast<int>(y), -1, spans_});
        }
        return true;
    }

private:
    // A known form is not joined again: its parts' spans may be thousands.
    int formOf(long long y, std::uint64_t who)
    {
        std::vector<int>& known = formsAt_[static_cast<std::size_t>(y % period_)];
        for (const int id : known)
            if (forms_[static_cast<std::size_t>(id)].who == who)
                return id;
        forms_.push_back(Joined{who, {}});
        join(owns_, forms_.back().spans, runs_);
        known.push_back(static_cast<int>(forms_.size() - 1));
        return known.back();
    }

    struct Joined {
        std::uint64_t who;
        std::vector<Span> spans;
    };
    const Parts& parts_;
    long long period_ = 0;
    bool cache_ = false;
    std::vector<Joined> forms_;
    std::vector<std::vector<int>> formsAt_;
    std::vector<Span> spans_;
    std::vector<std::span<const Span>> owns_;
    std::vector<std::size_t> runs_;
};

}  // namespace

void gridSpans(std::span<const SegmentGrid> grids, int width, const ClipRect& clip,
               const std::function<void(const GridRow&)>& row)
{
    if (clip.x0 > clip.x1 || clip.y0 > clip.y1)
        return;
    long long yFrom = 0, yTo = -1;
    const Parts parts = partsOf(grids, width, clip, yFrom, yTo);
    // Where no part has spans, the next row any may have.
    const auto skipTo = [&](long long y) {
        long long next = GridRows::kNever;
        for (const auto& part : parts)
            next = std::min(next, part->nextRow(y + 1));
        return std::max(y, next - 1);
    };
    if (parts.size() == 1) {
        for (long long y = yFrom; y <= yTo; ++y) {
            int form = -1;
            const std::span<const Span> own = parts.front()->at(y, form);
            if (own.empty())
                y = skipTo(y);
            else
                row(GridRow{static_cast<int>(y), std::max(form, -1), own});
        }
        return;
    }
    JoinedRows joined(parts);
    for (long long y = yFrom; y <= yTo; ++y)
        if (!joined.at(y, row))
            y = skipTo(y);
}

}  // namespace kalidor
