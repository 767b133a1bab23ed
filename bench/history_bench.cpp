// Undo and redo of one whole-canvas step on 3840 x 2160: a Pattern stroke with
// 1-pixel cells (kept in tiles), New (the old picture kept whole, or over a
// blank one just its colour) and Invert (nothing kept but the rectangle),
// against one fill of the canvas.

#include <QAbstractButton>
#include <benchmark/benchmark.h>

#include "bench/bench_window.h"
#include "draw/pattern.h"
#include "picture/invert.h"
#include "picture/new_picture.h"

namespace kalidor::bench {
namespace {

constexpr int kW = 3840;
constexpr int kH = 2160;

// A Pattern stroke whose copies cover every pixel: one step of tiles.
void tinyCellStroke(Editor& e)
{
    e.ui.obMode[kPattern].button()->click();
    e.st.PatternX = 1;
    e.st.PatternY = 1;
    e.ui.pb->SetDrawWidth(2);
    e.ui.pbHistory->BeginStep();
    DefPatternSXY(e, 961, 541);
    PatternDrawLines(e, 968, 545, 1);
    e.ui.pbHistory->EndStep();
    e.ui.obMode[kNormal].button()->click();
}

// New over a drawing, whose picture is kept whole (over a blank one, just its colour).
void newOverADrawing(Editor& e)
{
    e.ui.pb->Line(100, 100, 3000, 2000, kBlack);
    mnuNew_Click(e);
}

// New over a blank canvas, which keeps just the colour: undoing it fills the
// canvas again.
void newOverBlank(Editor& e)
{
    mnuNew_Click(e);
    mnuNew_Click(e);
}

// Times the undo, or the redo, of the last step, putting it back untimed.
void undoRedo(benchmark::State& state, void (*makeStep)(Editor&), bool undo)
{
    Editor& e = windowWithCanvas(kW, kH).editor();
    makeStep(e);
    History& history = *e.ui.pbHistory;
    for (auto _ : state) {
        if (!undo) {
            state.PauseTiming();
            history.Undo();
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(undo ? history.Undo() : history.Redo());
        if (undo) {
            state.PauseTiming();
            history.Redo();
            state.ResumeTiming();
        }
    }
}

}  // namespace

#define KALIDOR_UNDO_REDO(name, make)                                                                       \
    BENCHMARK_CAPTURE(undoRedo, name##_undo, make, true)                                                    \
        ->Name("step/Undo/" #name "/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();              \
    BENCHMARK_CAPTURE(undoRedo, name##_redo, make, false)                                                   \
        ->Name("step/Redo/" #name "/3840x2160")->Unit(benchmark::kMillisecond)->UseRealTime();

KALIDOR_UNDO_REDO(Pattern-cells:1, tinyCellStroke)
KALIDOR_UNDO_REDO(New, newOverADrawing)
KALIDOR_UNDO_REDO(New-blank, newOverBlank)
KALIDOR_UNDO_REDO(Invert, kInvert_Click)

}  // namespace kalidor::bench
