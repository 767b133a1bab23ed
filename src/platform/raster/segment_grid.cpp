#include "platform/raster/segment_grid.h"

namespace kalidor {

void expandGrid(const SegmentGrid& grid, std::vector<Segment>& out)
{
    for (int r = 0; r < grid.rows; ++r) {
        const float dy = static_cast<float>(static_cast<long long>(r) * grid.stepY);
        for (int c = 0; c < grid.columns; ++c) {
            if (!grid.has(c, r))
                continue;
            const float dx = static_cast<float>(static_cast<long long>(c) * grid.stepX);
            const Segment& f = grid.first;
            out.push_back({f.x1 + dx, f.y1 + dy, f.x2 + dx, f.y2 + dy});
        }
    }
}

void shiftFirst(SegmentGrid& grid, long long dx, long long dy)
{
    const auto fx = static_cast<float>(dx), fy = static_cast<float>(dy);
    Segment& f = grid.first;
    f = {f.x1 + fx, f.y1 + fy, f.x2 + fx, f.y2 + fy};
    if (grid.moved) {
        grid.moved->map.ox += dx;
        grid.moved->map.oy += dy;
    }
}

}  // namespace kalidor
