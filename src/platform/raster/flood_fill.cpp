#include "platform/raster/flood_fill.h"

#include <bit>

#include "platform/raster/pixel_runs.h"

namespace kalidor {

namespace {

// Four pixels at a time where the processor has SSE2: a fill reads every pixel
// of its region once more than it writes it, and a whole 4K canvas is a region.
#if defined(__SSE2__)
inline unsigned equalLanes(const std::uint32_t* p, __m128i four)
{
    const __m128i same = _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), four);
    return static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(same)));
}
#endif

// How many of the n pixels from p on are `value` before the first that is not.
int sameRun(const std::uint32_t* p, int n, std::uint32_t value)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(value));
    for (; i + 4 <= n; i += 4)
        if (const unsigned other = ~equalLanes(p + i, four) & 0xFu; other != 0)
            return i + std::countr_zero(other);
#endif
    while (i < n && p[i] == value)
        ++i;
    return i;
}

// Where among the n pixels from p the first of colour `value` is; n where none is.
int firstOf(const std::uint32_t* p, int n, std::uint32_t value)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(value));
    for (; i + 4 <= n; i += 4)
        if (const unsigned same = equalLanes(p + i, four); same != 0)
            return i + std::countr_zero(same);
#endif
    while (i < n && p[i] != value)
        ++i;
    return i;
}

}  // namespace

bool FloodFill::fill(const PixelPlane& plane, int x, int y, std::uint32_t value, RunSink& sink)
{
    if (x < 0 || y < 0 || x >= plane.width || y >= plane.height)
        return false;
    const std::uint32_t target = plane.row(y)[x];
    if (target == value)
        return false;
    const int last = plane.width - 1;
    // A run is written whole, as far as it reaches along its row; every pixel
    // written takes `value`, no longer the region's colour, so no run is found twice.
    auto write = [&](std::uint32_t* pixels, int ry, int x0, int x1) {
        sink.beforeRun(ry, x0, x1);
        fillRun(pixels + x0, x1 - x0 + 1, value);
    };
    std::uint32_t* row = plane.row(y);
    int from = x;
    while (from > 0 && row[from - 1] == target)
        --from;
    int to = x + sameRun(row + x, last - x + 1, target) - 1;
    write(row, y, from, to);
    stack_.clear();
    stack_.push_back({y, from, to, 1});
    stack_.push_back({y, from, to, -1});
    while (!stack_.empty()) {
        const Pending p = stack_.back();
        stack_.pop_back();
        const int at = p.y + p.dy;
        if (at < 0 || at >= plane.height)
            continue;
        row = plane.row(at);
        for (int i = p.x0; i <= p.x1;) {
            i += firstOf(row + i, p.x1 - i + 1, target);
            if (i > p.x1)
                break;
            // Only a run met at the first pixel looked at can reach further left:
            // any other has a pixel of another colour just before it.
            from = i;
            if (i == p.x0)
                while (from > 0 && row[from - 1] == target)
                    --from;
            to = i + sameRun(row + i, last - i + 1, target) - 1;
            write(row, at, from, to);
            stack_.push_back({at, from, to, p.dy});
            // Where the run reaches past the one it was found from, the row that
            // one lies on is looked at there too; the pixels just past that run
            // are of another colour, or it would have reached them.
            if (from < p.x0 - 1)
                stack_.push_back({at, from, p.x0 - 2, -p.dy});
            if (to > p.x1 + 1)
                stack_.push_back({at, p.x1 + 2, to, -p.dy});
            i = to + 2;
        }
    }
    return true;
}

}  // namespace kalidor
