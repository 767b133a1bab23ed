#pragma once
// What a smooth step draws once and lays many times: each shape's own
// coverage, and each operation's at the quarter-pixel phases its copies take.

#include <cstddef>
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
    std::vector<Coverage> shapes;  // each shape's own
    std::vector<Drawn> drawn;      // each operation's, at a phase
    Coverage moved;

    const Coverage& at(std::size_t op, std::size_t shape, int px, int py, const PointOp::Ends& placed, double width)
    {
        for (const Drawn& d : drawn)
            if (d.op == op && d.shape == shape && d.phaseX == px && d.phaseY == py)
                return d.coverage;
        drawn.push_back(Drawn{op, shape, px, py, {}});
        const double dx = static_cast<double>(px) / kPhases, dy = static_cast<double>(py) / kPhases;
        capsuleCoverage({placed[0] + dx, placed[1] + dy, placed[2] + dx, placed[3] + dy}, width, drawn.back().coverage);
        return drawn.back().coverage;
    }
};

}  // namespace kalidor
