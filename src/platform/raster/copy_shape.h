#pragma once
// The pixels of one copy of a grid, row by row. A copy may be made of several
// segments: grids that step alike are drawn as one grid of their copies together.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/raster/line_raster.h"
#include "platform/segment_grid.h"

namespace kalidor {

class CopyShape {
public:
    // The segments drawn `width` pixels wide, whole: the grid clips later.
    CopyShape(std::span<const Segment> segments, int width);

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
    // A wide segment that mirrors an earlier one, across a vertical or a
    // horizontal line or both, as the cells of a mirrored pattern do, covers
    // that one's pixels mirrored: a wide line is the pixels within half the
    // width of it, which a mirror keeps exactly. (A thin line's steps are not
    // symmetric, so it is drawn.)
    // The sum of a row and its mirror image, where one segment is another
    // mirrored top to bottom (from the first such pair), else far out of reach.
    static long long mirrorAxis(std::span<const Segment> segments, int width);
    static bool reflects(std::span<const Segment> earlier, const Segment& g, int width,
                         const std::vector<std::size_t>& from, std::vector<Span>& drawn);

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
