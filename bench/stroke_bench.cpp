// One step of a Pattern or Centric stroke on a 1920 x 1080 canvas, against the
// same segments drawn one by one with QPainter and one fill of the canvas.

#include <string>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QSlider>
#include <benchmark/benchmark.h>

#include "bench/bench_window.h"
#include "draw/centric.h"
#include "draw/pattern.h"
#include "platform/widgets/surface_widget.h"

namespace kalidor::bench {
namespace {

constexpr int kW = 1920;
constexpr int kH = 1080;

// A stroke going back and forth between two points seven pixels apart.
struct Stroke {
    int16 x[2] = {961, 968};
    int16 y[2] = {541, 545};
    int at = 0;
    void next(Editor& e, void (*step)(Editor&, int16, int16, int16))
    {
        at ^= 1;
        step(e, x[at], y[at], 1);
    }
};

Editor& patternEditor(int cell, int width, bool chess)
{
    Editor& e = windowWithCanvas(kW, kH).editor();
    e.ui.obMode[kPattern].button()->click();
    e.st.PatternX = static_cast<int16>(cell);
    e.st.PatternY = static_cast<int16>(cell);
    e.ui.cbChess.SetValue(chess ? 1 : 0);
    e.ui.pb->SetDrawWidth(static_cast<int16>(width));
    DefPatternSXY(e, 961, 541);
    return e;
}

Editor& centricEditor(int n, int width)
{
    Editor& e = windowWithCanvas(kW, kH).editor();
    e.ui.obMode[kCentric].button()->click();
    e.ui.slN.slider()->setValue(n);
    e.ui.pb->SetDrawWidth(static_cast<int16>(width));
    DefCenterSXY(e, 961, 541);
    return e;
}

void patternStep(benchmark::State& state, bool mirror)
{
    Editor& e = patternEditor(int(state.range(0)), int(state.range(1)), state.range(2) != 0);
    e.mirror = mirror;
    Stroke stroke;
    for (auto _ : state)
        stroke.next(e, PatternDrawLines);
    e.mirror = false;
}

void patternPainter(benchmark::State& state)
{
    const int width = int(state.range(1));
    Editor& e = patternEditor(int(state.range(0)), width, state.range(2) != 0);
    const auto segments = segmentsOfStep(e, PatternDrawLines, 968, 545);
    QImage image(kW, kH, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (auto _ : state)
        painterLines(image, segments, width, Qt::black);
    state.counters["segments"] = double(segments.size());
}

void centricStep(benchmark::State& state, bool mirror)
{
    Editor& e = centricEditor(int(state.range(0)), int(state.range(1)));
    e.mirror = mirror;
    Stroke stroke;
    for (auto _ : state)
        stroke.next(e, CenterDrawLines);
    e.mirror = false;
}

void centricPainter(benchmark::State& state)
{
    const int width = int(state.range(1));
    Editor& e = centricEditor(int(state.range(0)), width);
    const auto segments = segmentsOfStep(e, CenterDrawLines, 968, 545);
    QImage image(kW, kH, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (auto _ : state)
        painterLines(image, segments, width, Qt::black);
}

// The step and the repaint it causes, as the window system would ask for it.
void repaintAfterStep(benchmark::State& state, bool pattern)
{
    Editor& e = pattern ? patternEditor(200, 30, false) : centricEditor(16, 30);
    // Every step shown, as when moves come slower than the screen's frames.
    qobject_cast<SurfaceWidget*>(e.ui.pbBox.widget())->setFrameMs(0);
    Stroke stroke;
    QCoreApplication::processEvents();
    for (auto _ : state) {
        stroke.next(e, pattern ? PatternDrawLines : CenterDrawLines);
        QCoreApplication::processEvents();
    }
}

// What a repaint of the whole canvas costs, which a step must not need.
void repaintWholeCanvas(benchmark::State& state, bool)
{
    Editor& e = windowWithCanvas(kW, kH).editor();
    QWidget* canvas = e.ui.pbBox.widget();
    for (auto _ : state)
        canvas->repaint();
}

// With KALIDOR_BENCH_ITERATIONS set, each case runs exactly that many steps,
// so that an instruction count over them is one per step
// (scripts/bench-instructions.sh).
void stepCount(benchmark::internal::Benchmark* b)
{
    if (const int n = qEnvironmentVariableIntValue("KALIDOR_BENCH_ITERATIONS"); n > 0)
        b->Iterations(n);
}

void patternCases(benchmark::internal::Benchmark* b)
{
    stepCount(b);
    b->ArgNames({"cells", "width", "chess"});
    for (int chess : {0, 1})
        for (int cell : {200, 20, 4, 1})
            for (int width : {1, 10, 30})
                b->Args({cell, width, chess});
}

// Cell sizes and widths between the named ones, where no other case looks.
void patternSweep(benchmark::internal::Benchmark* b)
{
    stepCount(b);
    b->ArgNames({"cells", "width", "chess"});
    for (int chess : {0, 1})
        for (int cell : {2, 3, 5, 8, 12, 50})
            for (int width : {1, 2, 5, 17})
                b->Args({cell, width, chess});
}

}  // namespace

BENCHMARK_CAPTURE(fillCanvas, full_hd, kW, kH)->Name("fill/1920x1080")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(patternStep, plain, false)->Name("step/Pattern")->Apply(patternCases)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(patternStep, plain, false)->Name("step/Pattern")->Apply(patternSweep)->Unit(benchmark::kMillisecond)->UseRealTime();
// With Mirror: the twin of every case above.
BENCHMARK_CAPTURE(patternStep, mirror, true)->Name("step/Pattern-Mirror")->Apply(patternCases)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(patternStep, mirror, true)->Name("step/Pattern-Mirror")->Apply(patternSweep)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(patternPainter)->Name("qpainter/Pattern")->Apply(patternCases)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(centricStep, plain, false)->Name("step/Centric")->Apply(stepCount)->ArgNames({"N", "width"})->Args({16, 30})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(centricStep, mirror, true)->Name("step/Centric-Mirror")->Apply(stepCount)->ArgNames({"N", "width"})->Args({16, 30})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(centricPainter)->Name("qpainter/Centric")->ArgNames({"N", "width"})->Args({16, 30})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(repaintAfterStep, pattern, true)->Name("step/Repaint/Pattern-cells:200-width:30")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(repaintAfterStep, centric, false)->Name("step/Repaint/Centric-N:16-width:30")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(repaintWholeCanvas, pattern, true)->Name("qpainter/Repaint/Pattern-cells:200-width:30")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(repaintWholeCanvas, centric, false)->Name("qpainter/Repaint/Centric-N:16-width:30")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace kalidor::bench
