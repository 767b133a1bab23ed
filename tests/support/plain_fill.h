#pragma once
// The fill as plainly as it can be written, to hold the real one against: the
// union of the seeds' regions, each found breadth first, pixel by pixel, in the
// picture as it was.

#include <string>
#include <vector>

#include <QImage>

#include "platform/surface.h"

namespace kalidor::test {

// `before` with the region of every seed that lies on it and has not colour
// `c` already taking colour `c`.
QImage filledPlainly(const QImage& before, const std::vector<PixelPoint>& seeds, Colour c);

// Where the pixels of `after` and `before` differ, they must be a fill in
// colour `c` of the regions of colour `target`: every changed pixel was
// `target` and is `c`, and no pixel left `target` touches one that changed.
// Empty where that holds, else what does not.
std::string checkIsAFill(const QImage& before, const QImage& after, QRgb target, QRgb c);

}  // namespace kalidor::test
