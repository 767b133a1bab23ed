#pragma once
// The real editor, offscreen, with a canvas of a chosen size, and the plain
// QPainter drawing the fast paths are measured against.

#include <memory>
#include <span>
#include <vector>

#include <QImage>
#include <benchmark/benchmark.h>

#include "app/main_window.h"

namespace kalidor::bench {

// A window whose canvas interior is exactly width x height, kept for the whole run.
MainWindow& windowWithCanvas(int width, int height);
// Closes them all, while the application still runs.
void closeWindows();

// The segments one step hands to the canvas, caught without drawing them.
std::vector<Segment> segmentsOfStep(Editor& e, void (*step)(Editor&, int16, int16, int16), int16 x, int16 y);

// The memory floor: one fill of a whole image of that size.
void fillCanvas(benchmark::State& state, int width, int height);

// Each segment drawn on its own by QPainter: round caps, no antialiasing.
void painterLines(QImage& image, std::span<const Segment> segments, int width, QColor colour);

}  // namespace kalidor::bench
