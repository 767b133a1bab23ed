#include "bench/bench_window.h"

#include <map>

#include <QPainter>

#include "support/recording_surface.h"
#include "support/window_fixture.h"

namespace kalidor::bench {

namespace {

std::map<std::pair<int, int>, std::unique_ptr<MainWindow>> windows;

}  // namespace

MainWindow& windowWithCanvas(int width, int height)
{
    auto& w = windows[{width, height}];
    if (!w) {
        // The canvas takes the client less the controls' column and the status bar.
        w = test::openWindow(width + 114, height + 34);
        Surface& pb = *w->editor().ui.pb;
        if (pb.ScaleWidth() != width || pb.ScaleHeight() != height)
            qFatal("canvas is %gx%g, not %dx%d", pb.ScaleWidth(), pb.ScaleHeight(), width, height);
    }
    return *w;
}

void closeWindows() { windows.clear(); }

std::vector<Segment> segmentsOfStep(Editor& e, void (*step)(Editor&, int16, int16, int16), int16 x, int16 y)
{
    Surface* real = e.ui.pb;
    test::RecordingSurface recorder(*real);
    e.ui.pb = &recorder;
    step(e, x, y, 1);
    e.ui.pb = real;
    std::vector<Segment> out;
    out.reserve(recorder.segments.size());
    for (const auto& s : recorder.segments)
        out.push_back({s.x1, s.y1, s.x2, s.y2});
    return out;
}

void fillCanvas(benchmark::State& state, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(0u);  // the pages are touched before timing starts
    unsigned colour = 0;
    for (auto _ : state) {
        image.fill(++colour & 0xFFFFFF);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void painterLines(QImage& image, std::span<const Segment> segments, int width, QColor colour)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const Segment& s : segments)
        p.drawLine(QPointF(s.x1, s.y1), QPointF(s.x2, s.y2));
}

}  // namespace kalidor::bench
