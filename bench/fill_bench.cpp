// A fill press on a 3840 x 2160 canvas, as the editor takes it (the images of
// the press, the fill, the history's step), against one fill of the canvas:
// the whole blank canvas; the insides of a drawn tiling of 20-pixel Pattern
// cells, tens of thousands of regions, and the background around them; and
// sixteen small rings in Centric.

#include <cmath>

#include <QAbstractButton>
#include <QSlider>
#include <benchmark/benchmark.h>

#include "bench/bench_window.h"
#include "draw/canvas_input.h"
#include "draw/centric.h"
#include "draw/pattern.h"
#include "picture/new_picture.h"

namespace kalidor::bench {
namespace {

constexpr int kW = 3840;
constexpr int kH = 2160;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlue = 0xFF0000;

// A stroke through the points, as the canvas delivers it.
void stroke(Editor& e, std::initializer_list<std::pair<float, float>> points)
{
    auto at = points.begin();
    pb_MouseDown(e, MouseArgs{kLeftButton, 0, at->first, at->second, kLeftButton});
    for (++at; at != points.end(); ++at)
        pb_MouseMove(e, MouseArgs{kLeftButton, 0, at->first, at->second});
    pb_MouseUp(e, MouseArgs{0, 0, 0, 0});
}

// A circle of radius r about (x, y) as one closed stroke.
void circle(Editor& e, float x, float y, float r)
{
    constexpr int kMoves = 48;
    pb_MouseDown(e, MouseArgs{kLeftButton, 0, x + r, y, kLeftButton});
    for (int i = 1; i <= kMoves; ++i) {
        const double a = 2 * M_PI * i / kMoves;
        pb_MouseMove(e, MouseArgs{kLeftButton, 0, static_cast<float>(x + r * std::cos(a)), static_cast<float>(y + r * std::sin(a))});
    }
    pb_MouseUp(e, MouseArgs{0, 0, 0, 0});
}

// Fill presses at (x, y), in red and blue by turns, so that each fills the
// regions the one before filled.
void fillPresses(benchmark::State& state, Editor& e, float x, float y)
{
    e.fill = true;
    bool red = false;
    for (auto _ : state) {
        red = !red;
        e.ui.pbColor[1].SetBackColor(red ? kRed : kBlue);
        pb_MouseDown(e, MouseArgs{kLeftButton, 0, x, y, kLeftButton});
        pb_MouseUp(e, MouseArgs{0, 0, 0, 0});
    }
    // The window is shared with the other cases: left as they expect it.
    e.fill = false;
    e.smoothLines = false;
    e.ui.pbColor[1].SetBackColor(kBlack);
    e.ui.obMode[kNormal].button()->click();
    mnuNew_Click(e);
}

void blankCanvas(benchmark::State& state, bool smooth)
{
    Editor& e = windowWithCanvas(kW, kH).editor();
    e.smoothLines = smooth;
    mnuNew_Click(e);
    fillPresses(state, e, 1000, 700);
}

// Squares 11 pixels a side, one in every 20 x 20 cell: the press inside one, or
// on the background between them.
void patternTiling(benchmark::State& state, bool inside, bool smooth = false)
{
    Editor& e = windowWithCanvas(kW, kH).editor();
    e.smoothLines = smooth;
    mnuNew_Click(e);
    e.ui.obMode[kPattern].button()->click();
    e.st.PatternX = 20;
    e.st.PatternY = 20;
    stroke(e, {{5, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 5}});
    fillPresses(state, e, inside ? 1010 : 1002, inside ? 1010 : 1002);
}

// Two circles of radius 15 and 25 drawn 16 times about the middle: the press
// between them fills 16 rings 50 pixels across.
void centricRings(benchmark::State& state, bool smooth)
{
    Editor& e = windowWithCanvas(kW, kH).editor();
    e.smoothLines = smooth;  // the rings drawn smooth, the fill under their soft edges
    mnuNew_Click(e);
    e.ui.obMode[kCentric].button()->click();
    e.ui.slN.slider()->setValue(16);
    e.st.CenterX = kW / 2;
    e.st.CenterY = kH / 2;
    circle(e, kW / 2 + 600, kH / 2, 25);
    circle(e, kW / 2 + 600, kH / 2, 15);
    fillPresses(state, e, kW / 2 + 620, kH / 2);
    e.ui.slN.slider()->setValue(5);
}

}  // namespace

BENCHMARK_CAPTURE(blankCanvas, hard, false)->Name("step/Fill/blank/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
// With smooth lines on: Fill paints soft edges again.
BENCHMARK_CAPTURE(blankCanvas, smooth, true)->Name("step/Fill/smooth-blank/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(patternTiling, inside, true)->Name("step/Fill/Pattern-cells:20/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(patternTiling, background, false)
    ->Name("step/Fill/Pattern-cells:20-background/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(centricRings, hard, false)->Name("step/Fill/Centric-N:16-ring/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(centricRings, smooth, true)
    ->Name("step/Fill/smooth-Centric-N:16-ring/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(patternTiling, smooth, false, true)
    ->Name("step/Fill/smooth-Pattern-cells:20-background/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace kalidor::bench
