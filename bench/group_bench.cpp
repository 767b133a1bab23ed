// One step of a Pattern stroke under each wallpaper group on a 1920 x 1080
// canvas, against one fill of the canvas and the p1 step on the same cells
// (step/Pattern/..., in stroke_bench.cpp).

#include <string>

#include <QAbstractButton>
#include <benchmark/benchmark.h>

#include "bench/bench_window.h"
#include "draw/pattern.h"
#include "draw/wallpaper_groups.h"

namespace kalidor::bench {
namespace {

void groupStep(benchmark::State& state, int group)
{
    Editor& e = windowWithCanvas(1920, 1080).editor();
    e.ui.obMode[kPattern].button()->click();
    e.st.PatternX = static_cast<int16>(state.range(0));
    e.st.PatternY = static_cast<int16>(state.range(0));
    e.ui.cbChess.SetValue(state.range(2) != 0 ? 1 : 0);
    e.ui.pb->SetDrawWidth(static_cast<int16>(state.range(1)));
    e.group = group;
    DefPatternSXY(e, 961, 541);
    // Back and forth between two points seven pixels apart, as the p1 cases go.
    const int16 xs[2] = {961, 968}, ys[2] = {541, 545};
    int at = 0;
    for (auto _ : state) {
        at ^= 1;
        PatternDrawLines(e, xs[at], ys[at], 1);
    }
    e.group = kP1;
}

void groupCases(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"cells", "width", "chess"});
    for (int chess : {0, 1})
        for (int cell : {200, 20, 4})
            for (int width : {1, 30})
                b->Args({cell, width, chess});
}

// One family of rows a group, named step/Group-<name>/...
[[maybe_unused]] const bool registered = [] {
    for (int g = 1; g < kGroupCount; ++g) {
        const std::string name = "step/Group-" + std::string(wallpaperGroup(g).name);
        benchmark::RegisterBenchmark(name.c_str(), groupStep, g)
            ->Apply(groupCases)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    return true;
}();

}  // namespace
}  // namespace kalidor::bench
