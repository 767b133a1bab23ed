#include "platform/raster/line_raster.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kalidor {

namespace {

// Products of doubled coordinates need more than 64 bits.
__extension__ using Wide = __int128;

void thinLine(long long x1, long long y1, long long x2, long long y2, const ClipRect& clip,
              std::vector<Span>& out)
{
    // Bresenham over all octants; collects consecutive pixels of a row into one span.
    const long long dx = std::llabs(x2 - x1);
    const long long dy = -std::llabs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    long long err = dx + dy;
    long long x = x1;
    long long y = y1;
    bool open = false;
    Span run{};
    auto flush = [&] {
        if (open)
            out.push_back(run);
        open = false;
    };
    for (;;) {
        if (y >= clip.y0 && y <= clip.y1 && x >= clip.x0 && x <= clip.x1) {
            const int xi = static_cast<int>(x);
            const int yi = static_cast<int>(y);
            if (open && run.y == yi && (xi == run.x1 + 1 || xi == run.x0 - 1)) {
                run.x0 = std::min(run.x0, xi);
                run.x1 = std::max(run.x1, xi);
            } else {
                flush();
                run = Span{yi, xi, xi};
                open = true;
            }
        } else {
            flush();
        }
        if (x == x2 && y == y2)
            break;
        const long long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    flush();
}

// A round-capped segment in doubled coordinates, where pixel (i, j) has its
// centre at (2i + 1, 2j + 1) and the ends lie on pixel centres for odd widths and
// on pixel corners for even ones, so that a horizontal line is exactly `width` rows.
class Capsule {
public:
    Capsule(long long x1, long long y1, long long x2, long long y2, int width)
        : ax_(2 * x1 + (width & 1)), ay_(2 * y1 + (width & 1)), bx_(2 * x2 + (width & 1)),
          by_(2 * y2 + (width & 1)), r_(width), r2_(static_cast<long long>(width) * width)
    {
        dx_ = bx_ - ax_;
        dy_ = by_ - ay_;
        l2_ = static_cast<Wide>(dx_) * dx_ + static_cast<Wide>(dy_) * dy_;
    }

    bool covers(long long i, long long j) const
    {
        const long long px = 2 * i + 1;
        const long long py = 2 * j + 1;
        const Wide apx = px - ax_;
        const Wide apy = py - ay_;
        const Wide t = apx * dx_ + apy * dy_;
        if (l2_ == 0 || t <= 0)
            return apx * apx + apy * apy <= r2_;
        if (t >= l2_) {
            const Wide bpx = px - bx_;
            const Wide bpy = py - by_;
            return bpx * bpx + bpy * bpy <= r2_;
        }
        const Wide c = apx * dy_ - apy * dx_;
        return c * c <= static_cast<Wide>(r2_) * l2_;
    }

    long long top() const { return std::min(ay_, by_) - r_; }
    long long bottom() const { return std::max(ay_, by_) + r_; }

    // An estimate, in doubled coordinates, of the covered x range on the row whose
    // centre is py; false when the row misses the capsule.
    bool rowEstimate(long long py, double& lo, double& hi) const
    {
        lo = std::numeric_limits<double>::infinity();
        hi = -lo;
        auto disc = [&](long long cx, long long cy) {
            const double d = static_cast<double>(py - cy);
            const double h2 = static_cast<double>(r2_) - d * d;
            if (h2 >= 0) {
                const double h = std::sqrt(h2);
                lo = std::min(lo, cx - h);
                hi = std::max(hi, cx + h);
            }
        };
        disc(ax_, ay_);
        disc(bx_, by_);
        if (l2_ > 0) {
            // Along the segment: 0 <= (x - ax) dx + (py - ay) dy <= L2, and
            // across it: |(x - ax) dy - (py - ay) dx| <= r sqrt(L2).
            const double l2 = static_cast<double>(l2_);
            const double oy = static_cast<double>(py - ay_);
            double sLo = -std::numeric_limits<double>::infinity();
            double sHi = std::numeric_limits<double>::infinity();
            bool empty = false;
            auto within = [&](double a, double b, double m, double mm) {
                if (a == 0) {
                    if (b < m || b > mm)
                        empty = true;
                    return;
                }
                double u = (m - b) / a;
                double v = (mm - b) / a;
                if (u > v)
                    std::swap(u, v);
                sLo = std::max(sLo, u);
                sHi = std::min(sHi, v);
            };
            const double ddx = static_cast<double>(dx_);
            const double ddy = static_cast<double>(dy_);
            within(ddx, oy * ddy, 0.0, l2);
            const double reach = r_ * std::sqrt(l2);
            within(ddy, -oy * ddx, -reach, reach);
            if (!empty && sLo <= sHi) {
                lo = std::min(lo, sLo + static_cast<double>(ax_));
                hi = std::max(hi, sHi + static_cast<double>(ax_));
            }
        }
        return lo <= hi;
    }

private:
    long long ax_, ay_, bx_, by_;
    long long r_, r2_;
    long long dx_, dy_;
    Wide l2_;
};

void wideLine(long long x1, long long y1, long long x2, long long y2, int width, const ClipRect& clip,
              std::vector<Span>& out)
{
    const Capsule cap(x1, y1, x2, y2, width);
    // Rows whose centre 2j + 1 lies within the capsule's vertical extent.
    long long j0 = static_cast<long long>(std::ceil((cap.top() - 1) / 2.0));
    long long j1 = static_cast<long long>(std::floor((cap.bottom() - 1) / 2.0));
    j0 = std::max<long long>(j0, clip.y0);
    j1 = std::min<long long>(j1, clip.y1);
    for (long long j = j0; j <= j1; ++j) {
        double lo, hi;
        if (!cap.rowEstimate(2 * j + 1, lo, hi))
            continue;
        // Widen the estimate by one pixel each way, then let the exact test decide.
        long long i0 = static_cast<long long>(std::ceil((lo - 1) / 2)) - 1;
        long long i1 = static_cast<long long>(std::floor((hi - 1) / 2)) + 1;
        i0 = std::max<long long>(i0, clip.x0);
        i1 = std::min<long long>(i1, clip.x1);
        while (i0 <= i1 && !cap.covers(i0, j))
            ++i0;
        while (i1 >= i0 && !cap.covers(i1, j))
            --i1;
        if (i0 <= i1)
            out.push_back(Span{static_cast<int>(j), static_cast<int>(i0), static_cast<int>(i1)});
    }
}

}  // namespace

void segmentSpans(long long x1, long long y1, long long x2, long long y2, int width,
                  const ClipRect& clip, std::vector<Span>& out)
{
    if (clip.x0 > clip.x1 || clip.y0 > clip.y1)
        return;
    if (width <= 1)
        thinLine(x1, y1, x2, y2, clip, out);
    else
        wideLine(x1, y1, x2, y2, width, clip, out);
}

namespace {

// An object rather than a function, so that sorting and merging inline it.
struct SpanBefore {
    bool operator()(const Span& a, const Span& b) const { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; }
};

void joinSorted(std::vector<Span>& spans)
{
    spans.resize(joinNeighbours(spans.data(), spans.data() + spans.size(), takeTouching));
}

}  // namespace

void mergeSpans(std::vector<Span>& spans)
{
    std::sort(spans.begin(), spans.end(), SpanBefore{});
    joinSorted(spans);
}

void mergeSortedRuns(std::vector<Span>& spans, std::vector<std::size_t>& starts)
{
    // A few spans are sorted at once; merging costs a buffer from the heap.
    if (spans.size() <= 64 && starts.size() > 1) {
        std::sort(spans.begin(), spans.end(), SpanBefore{});
        starts.resize(1);
    }
    // Pairs of neighbouring runs merged, round after round.
    while (starts.size() > 1) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < starts.size(); i += 2) {
            if (i + 1 < starts.size()) {
                const std::size_t end = i + 2 < starts.size() ? starts[i + 2] : spans.size();
                std::inplace_merge(spans.begin() + static_cast<std::ptrdiff_t>(starts[i]),
                                   spans.begin() + static_cast<std::ptrdiff_t>(starts[i + 1]),
                                   spans.begin() + static_cast<std::ptrdiff_t>(end), SpanBefore{});
            }
            starts[kept++] = starts[i];
        }
        starts.resize(kept);
    }
    joinSorted(spans);
}

}  // namespace kalidor
