#pragma once
// The pixels of one copy of a grid, row by row. A copy may be made of several
// segments: the shapes of a symmetry's operations, laid over one lattice.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <span>
#include <vector>

#include "platform/raster/line_raster.h"
#include "platform/raster/segment_grid.h"

namespace kalidor {

// One segment of a copy, and where it is an earlier segment of the same copy
// turned over along an axis or both (as an operation of the symmetry says):
// that one's index, whose pixels it takes turned over instead of being drawn
// again; -1 where it is drawn. Where `moved` is set, the part is those pixels
// instead, and `segment` only says where about they lie.
struct CopyPart {
    Segment segment;
    int turns = -1;
    std::optional<PixelMove> moved;
};

// Appends the pixels `of` moved by the map; `of` must not lie in `out`.
void movedSpans(const PixelMap& map, std::span<const Span> of, std::vector<Span>& out);

// Appends the pixels of g, where g is f turned over along the x axis, the y
// axis or both and f's pixels, drawn `width` wide, are `of`: they are f's
// turned over, since a wide line is the pixels within half the width of it,
// which a mirror keeps exactly. False, appending nothing, where g is no such
// turn of f or the line is thin (a thin line's steps are not symmetric, so it
// is drawn). The ends are whole pixels; `of` may lie in `out` where `out` has
// room for as many spans more.
bool turnedSpans(const Segment& f, const Segment& g, int width, std::span<const Span> of, std::vector<Span>& out);

class CopyShape {
public:
    // The parts drawn `width` pixels wide, whole: the grid clips later. Only
    // rows `rowFrom` to `rowTo` are kept where no part is made from another's
    // pixels (a long segment's copies need only the rows they show).
    CopyShape(std::span<const CopyPart> parts, int width, long long rowFrom = kAllRows.first,
              long long rowTo = kAllRows.second);
    static constexpr std::pair<long long, long long> kAllRows{-(1LL << 30), 1LL << 30};

    bool empty() const { return spans_.empty(); }
    long long top() const { return top_; }
    long long bottom() const { return bottom_; }
    // The spans of row k, from top() to bottom(), sorted and apart.
    std::span<const Span> row(long long k) const
    {
        const Row& r = rows_[static_cast<std::size_t>(k - top_)];
        return std::span<const Span>(spans_).subspan(r.begin, r.count);
    }
    // The first row from k on that has spans, bottom() + 1 where none has.
    long long nextRow(long long k) const
    {
        return k > bottom_ ? bottom_ + 1 : top_ + rows_[static_cast<std::size_t>(std::max(k, top_) - top_)].next;
    }
    // The first row with the same spans as row k, which has spans: k itself, or
    // where a copy is mirrored top to bottom, its twin in the other half.
    long long twin(long long k) const { return top_ + rows_[static_cast<std::size_t>(k - top_)].twin; }

private:
    // The sum of a row and its mirror image, where one part turns another over
    // top to bottom (from the first such pair), else far out of reach.
    static long long mirrorAxis(std::span<const CopyPart> parts, int width);
    // The spans counted into their rows, rows without spans linked past.
    void sortIntoRows(const std::vector<Span>& drawn);
    // Each row's spans sorted and joined; rows mirrored top to bottom named twins.
    void tidyRows(long long axis);

    struct Row {
        std::uint32_t begin;  // where its spans are in `spans_`
        std::uint32_t count;
        std::uint32_t next;   // the first row from it with spans
        std::uint32_t twin;
    };
    std::vector<Span> spans_;
    std::vector<Row> rows_;
    long long top_ = 0;
    long long bottom_ = -1;
};

}  // namespace kalidor
