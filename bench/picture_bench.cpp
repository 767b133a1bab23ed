// Invert and New on a 3840 x 2160 canvas, against QPainter doing the same to
// the whole image and one fill of it.

#include <QPainter>
#include <benchmark/benchmark.h>

#include "bench/bench_window.h"
#include "picture/invert.h"
#include "picture/new_picture.h"

namespace kalidor::bench {
namespace {

constexpr int kW = 3840;
constexpr int kH = 2160;

// A command of the File pop-up or the Invert button, on the real canvas.
void command(benchmark::State& state, void (*click)(Editor&))
{
    Editor& e = windowWithCanvas(kW, kH).editor();
    for (auto _ : state)
        click(e);
}

// QPainter doing the same to the whole image: one rectangle in that mode.
void painterCommand(benchmark::State& state, QPainter::CompositionMode mode, QColor colour)
{
    QImage image(kW, kH, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (auto _ : state) {
        QPainter p(&image);
        p.setCompositionMode(mode);
        p.fillRect(image.rect(), colour);
    }
}

}  // namespace

BENCHMARK_CAPTURE(fillCanvas, big, kW, kH)->Name("fill/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(command, invert, kInvert_Click)->Name("step/Invert/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(painterCommand, invert, QPainter::RasterOp_NotDestination, Qt::black)
    ->Name("qpainter/Invert/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(command, new, mnuNew_Click)->Name("step/New/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(painterCommand, new, QPainter::CompositionMode_SourceOver, Qt::white)
    ->Name("qpainter/New/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace kalidor::bench
