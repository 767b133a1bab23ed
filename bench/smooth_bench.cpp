// Smooth lines against hard ones: every stroke case drawn as the stroke tool
// draws it, once with hard pixels (hard/...) and once smooth (smooth/...), on
// a 1920 x 1080 canvas; the table holds each smooth step against its twin.

#include <string>

#include <QAbstractButton>
#include <QSlider>
#include <benchmark/benchmark.h>

#include "bench/bench_window.h"
#include "draw/centric.h"
#include "draw/pattern.h"
#include "draw/stroke_tool.h"
#include "draw/wallpaper_groups.h"

namespace kalidor::bench {
namespace {

struct Case {
    int16 mode;
    int n = 16;         // Centric
    bool mirror = false;
    int group = kP1;    // Pattern
    int cell = 200;
    bool chess = false;
    int width = 1;
};

void twinStep(benchmark::State& state, Case c, bool smooth)
{
    Editor& e = windowWithCanvas(1920, 1080).editor();
    e.ui.obMode[c.mode].button()->click();
    e.ui.slN.slider()->setValue(c.n);
    e.mirror = c.mirror;
    e.group = c.group;
    e.st.PatternX = static_cast<int16>(c.cell);
    e.st.PatternY = static_cast<int16>(c.cell);
    e.ui.cbChess.SetValue(c.chess ? 1 : 0);
    e.ui.pb->SetDrawWidth(static_cast<int16>(c.width));
    e.ui.pb->SetSmooth(smooth);
    if (c.mode == kCentric)
        DefCenterSXY(e, 961, 541);
    else if (c.mode == kPattern)
        DefPatternSXY(e, 961, 541);
    strokeStartOn(e, e.st, 961, 541);
    // Back and forth between two points seven pixels apart.
    const float xs[2] = {961, 968}, ys[2] = {541, 545};
    int at = 0;
    for (auto _ : state) {
        at ^= 1;
        paintStep(*e.ui.pb, strokeStepOn(e, e.st, xs[at], ys[at]), kBlack);
    }
    e.ui.pb->SetSmooth(false);
    e.mirror = false;
    e.group = kP1;
    e.ui.cbChess.SetValue(0);
    e.ui.obMode[kNormal].button()->click();
}

void both(const std::string& name, Case c)
{
    for (const bool smooth : {false, true})
        benchmark::RegisterBenchmark(((smooth ? "smooth/" : "hard/") + name).c_str(), twinStep, c, smooth)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MinTime(0.1);
}

[[maybe_unused]] const bool registered = [] {
    for (const int width : {1, 30}) {
        const std::string w = "-width:" + std::to_string(width);
        both("Normal" + w, Case{kNormal, 1, false, kP1, 200, false, width});
        for (const bool mirror : {false, true})
            both(std::string("Centric-N:16") + (mirror ? "-Mirror" : "") + w, Case{kCentric, 16, mirror, kP1, 200, false, width});
    }
    for (int g = 0; g < kGroupCount; ++g)
        for (const bool chess : {false, true})
            for (const int cell : {200, 20, 4})
                for (const int width : {1, 30})
                    both("Group-" + std::string(wallpaperGroup(g).name) + "-cells:" + std::to_string(cell) + "-width:" +
                             std::to_string(width) + (chess ? "-chess" : ""),
                         Case{kPattern, 16, false, g, cell, chess, width});
    return true;
}();

}  // namespace
}  // namespace kalidor::bench
