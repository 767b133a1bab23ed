#include "platform/raster/copy_shape.h"

#include <algorithm>

namespace kalidor {

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
    // hundreds of spans, and a row only a few of them. A row's spans land
    // from start_[row + 1], which they move on to where the next row begins.
    const auto rows = static_cast<std::size_t>(bottom_ - top_ + 1);
    start_.assign(rows + 2, 0);
    for (const Span& sp : drawn)
        ++start_[static_cast<std::size_t>(sp.y - top_) + 2];
    for (std::size_t i = 2; i <= rows; ++i)
        start_[i] += start_[i - 1];
    spans_.resize(drawn.size());
    for (const Span& sp : drawn)
        spans_[start_[static_cast<std::size_t>(sp.y - top_) + 1]++] = sp;
    start_.pop_back();
    // Each row's few spans sorted and joined, and the rows without spans (a
    // compound of mirrored cells may be mostly gap) linked past, in one pass.
    nextRow_.resize(rows + 1);
    std::uint32_t kept = 0;
    std::size_t unlinked = 0;  // rows up to this one wait for a row with spans
    for (std::size_t i = 0; i < rows; ++i) {
        const auto from = spans_.begin() + start_[i];
        const auto to = spans_.begin() + start_[i + 1];
        start_[i] = kept;
        if (from == to)
            continue;
        for (auto a = from + 1; a < to; ++a)  // a row's few spans by their left end
            for (auto b = a; b > from && b->x0 < (b - 1)->x0; --b)
                std::iter_swap(b, b - 1);
        for (auto a = from; a < to; ++a) {
            if (kept > start_[i] && a->x0 <= spans_[kept - 1].x1 + 1)
                spans_[kept - 1].x1 = std::max(spans_[kept - 1].x1, a->x1);
            else
                spans_[kept++] = *a;
        }
        std::fill(nextRow_.begin() + static_cast<std::ptrdiff_t>(unlinked),
                  nextRow_.begin() + static_cast<std::ptrdiff_t>(i) + 1, static_cast<std::uint32_t>(i));
        unlinked = i + 1;
    }
    start_[rows] = kept;
    spans_.resize(kept);
    std::fill(nextRow_.begin() + static_cast<std::ptrdiff_t>(unlinked), nextRow_.end(), static_cast<std::uint32_t>(rows));
}

bool CopyShape::reflects(std::span<const Segment> earlier, const Segment& g, int width,
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

}  // namespace kalidor
