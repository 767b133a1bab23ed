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

void invert(benchmark::State& state)
{
    Editor& e = windowWithCanvas(kW, kH).editor();
    for (auto _ : state)
        kInvert_Click(e);
}

void invertPainter(benchmark::State& state)
{
    QImage image(kW, kH, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (auto _ : state) {
        QPainter p(&image);
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        p.fillRect(image.rect(), Qt::black);
    }
}

void newPicture(benchmark::State& state)
{
    Editor& e = windowWithCanvas(kW, kH).editor();
    for (auto _ : state)
        mnuNew_Click(e);
}

void newPainter(benchmark::State& state)
{
    QImage image(kW, kH, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        p.fillRect(image.rect(), Qt::white);
    }
}

}  // namespace

BENCHMARK_CAPTURE(fillCanvas, big, kW, kH)->Name("fill/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(invert)->Name("step/Invert/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(invertPainter)->Name("qpainter/Invert/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(newPicture)->Name("step/New/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(newPainter)->Name("qpainter/New/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace kalidor::bench
