// The view of a picture of its own size: a zoom or pan step's repaint on a
// 3840 x 2160 canvas showing a 16384 x 16384 picture, at fit, 100 % and 8 x,
// against one fill of the canvas (fill/3840x2160); and a stroke's step on an
// 8192 x 8192 picture against the same step on a picture the canvas's size.

#include <cmath>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QSlider>
#include <benchmark/benchmark.h>

#include "bench/bench_window.h"
#include "draw/centric.h"
#include "draw/pattern.h"
#include "draw/wallpaper_groups.h"
#include "platform/widgets/surface_widget.h"
#include "platform/widgets/view_zoom.h"

namespace kalidor::bench {
namespace {

constexpr int kW = 3840;
constexpr int kH = 2160;

// A window of its own for the large pictures: a picture never gives back
// the memory it grew to, which would weigh on every case after.
Editor& bigWindow() { return windowWithCanvas(kW - 1, kH).editor(); }

// The canvas showing a picture of that size, with a drawing on it.
SurfaceWidget& canvasOf(Editor& e, int side)
{
    Document& picture = *e.ui.picture;
    if (picture.Width() != side || picture.Height() != side) {
        picture.Resize(side, side, false);
        for (int i = 0; i < side; i += 97)
            e.ui.pb->Line(float(i), 0, float(side - i), float(side - 1), 0x3060C0, Shape::Segment, Corner::Absolute);
    }
    auto* canvas = e.ui.pbBox.box();
    canvas->setFrameMs(0);
    return *canvas;
}

// One view and the next, shown in turn: each iteration a change and its repaint.
void viewStep(benchmark::State& state, int where)
{
    Editor& e = bigWindow();
    SurfaceWidget& canvas = canvasOf(e, 16384);
    ViewTransform a;
    ViewTransform b;
    if (where == 0) {  // fit, and one zoom step down from it
        canvas.fitView();
        a = canvas.view();
        b = zoomedAbout(a, steppedZoom(a.scale, -1), QPointF(kW / 2, kH / 2));
    } else {  // 100 % or 8 x in the middle, and a wheel notch's pan
        a = ViewTransform{where == 1 ? 1.0 : 8.0, QPointF(-5000, -6000)};
        b = a;
        b.origin += QPointF(0, 48);
    }
    // Painted as the window system asks: a pan only what came into view.
    canvas.setView(a);
    QCoreApplication::processEvents();
    bool atA = true;
    for (auto _ : state) {
        atA = !atA;
        canvas.setView(atA ? a : b);
        QCoreApplication::processEvents();
    }
    canvas.setView(ViewTransform{1, QPointF(2, 2)});
}

// A stroke's step, back and forth seven pixels apart, on a picture of `side`
// (0: the canvas's own 3840 x 2160).
void bigStep(benchmark::State& state, int mode, int side)
{
    Editor& e = side > 0 ? bigWindow() : windowWithCanvas(kW, kH).editor();
    if (side > 0)
        canvasOf(e, side);
    e.ui.obMode[mode == 2 ? kPattern : mode].button()->click();
    e.ui.pb->SetDrawWidth(30);
    if (mode == kCentric) {
        e.ui.slN.slider()->setValue(16);
        DefCenterSXY(e, 1921, 1081);
    } else if (mode == 2) {
        e.group = groupIndex("p6m");
        e.st.PatternX = 20;
        e.st.PatternY = 20;
        DefPatternSXY(e, 1921, 1081);
    }
    const int16 xs[2] = {1921, 1928}, ys[2] = {1081, 1085};
    int at = 0;
    for (auto _ : state) {
        at ^= 1;
        if (mode == kCentric)
            CenterDrawLines(e, xs[at], ys[at], 1);
        else if (mode == 2)
            PatternDrawLines(e, xs[at], ys[at], 1);
        else
            e.ui.pb->Line(xs[at ^ 1], ys[at ^ 1], xs[at], ys[at], 0, Shape::Segment, Corner::Absolute);
    }
    e.group = kP1;
    e.ui.obMode[kNormal].button()->click();
}

// The release of a Pattern stroke of `moves` moves on the 8192 x 8192
// picture shown at 100 % from its corner: what the moves owed beyond the view
// is drawn then, so the picture is finished when the step ends.
void bigStroke(benchmark::State& state, int moves)
{
    Editor& e = bigWindow();
    canvasOf(e, 8192);
    e.ui.obMode[kPattern].button()->click();
    e.ui.pb->SetDrawWidth(30);
    e.group = groupIndex("p6m");
    e.st.PatternX = 20;
    e.st.PatternY = 20;
    DefPatternSXY(e, 1921, 1081);
    for (auto _ : state) {
        state.PauseTiming();
        e.ui.pbHistory->BeginStep();
        for (int i = 0; i < moves; ++i)  // a wave across the view, 3 pixels a move
            PatternDrawLines(e, static_cast<int16>(1000 + 3 * i % 1800),
                             static_cast<int16>(1081 + std::lround(200 * std::sin(i / 20.0))), 1);
        state.ResumeTiming();
        e.ui.pbHistory->EndStep();
    }
    e.group = kP1;
    e.ui.obMode[kNormal].button()->click();
}

}  // namespace

BENCHMARK_CAPTURE(viewStep, fit, 0)->Name("view/Zoom-step/fit/16384-on-3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(viewStep, actual, 1)->Name("view/Pan-step/100%/16384-on-3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(viewStep, eight, 2)->Name("view/Pan-step/800%/16384-on-3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(bigStep, normal_4k, kNormal, 0)->Name("big/Normal-width:30/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(bigStep, normal_8k, kNormal, 8192)->Name("big/Normal-width:30/8192x8192")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(bigStep, centric_4k, kCentric, 0)->Name("big/Centric-N:16-width:30/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(bigStep, centric_8k, kCentric, 8192)->Name("big/Centric-N:16-width:30/8192x8192")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(bigStep, p6m_4k, 2, 0)->Name("big/Group-p6m-cells:20-width:30/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(bigStep, p6m_8k, 2, 8192)->Name("big/Group-p6m-cells:20-width:30/8192x8192")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(bigStroke, p6m_125, 125)->Name("release/Group-p6m-cells:20-width:30-moves:125/8192x8192")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK_CAPTURE(bigStroke, p6m_500, 500)->Name("release/Group-p6m-cells:20-width:30-moves:500/8192x8192")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace kalidor::bench
