#pragma once
// What a smooth step draws once and lays many times: each shape's own
// coverage, and each operation's at the quarter-pixel phases its copies take.

#include <cstddef>
#include <deque>
#include <vector>

#include "platform/raster/coverage_raster.h"

namespace kalidor {

constexpr int kPhases = 4;  // places a pixel apart a shape is drawn at

struct SmoothDrawings {
    struct Drawn {
        std::size_t op;
        std::size_t shape;
        int phaseX;
        int phaseY;
        Coverage coverage;
    };
    // Each operation's, at a phase; the shape's own as operation SIZE_MAX.
    // Queues, whose members stay where they are as more come.
    std::deque<Drawn> drawn;
    CoverageTile tile;

    // The drawing of operation `op`'s copy of shape `shape` at phase (px, py)
    // quarters, from its ends `placed`, drawn once; within `limit` where given.
    const Coverage& at(std::size_t op, std::size_t shape, int px, int py, const PointOp::Ends& placed, double width,
                       const int* limit = nullptr);
};

}  // namespace kalidor
