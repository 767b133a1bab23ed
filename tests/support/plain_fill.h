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

// The largest difference of two pixels in any colour channel.
int farness(QRgb a, QRgb b);

// What a fill with a tolerance may have done: the pixels it changed took
// colour `c` and were within twice the tolerance of `target` (an image within
// it of the pressed colour, a region within it of the image); with `soft`
// edges, others changed lie within three pixels of such a one. Empty where so.
std::string checkReachingFill(const QImage& before, const QImage& after, QRgb target, QRgb c, int tolerance,
                              bool soft);

}  // namespace kalidor::test
