#pragma once
// Prints, after the usual report, every measured case as a ratio to its two
// baselines from the same run: the same drawing done plainly with QPainter, and
// one fill of the whole canvas.

#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace kalidor::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, so that a saved report reads cleanly.
    RatioReporter();
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    struct Measured {
        std::string name;
        double ms;
    };
    double find(const std::string& name) const;
    // The wallpaper groups' steps, against a fill and the p1 step.
    void printGroups() const;
    // Zoom and pan steps against a fill, and steps on a large picture against
    // their twins on one the canvas's size.
    void printViews() const;
    void printSmooth() const;
    std::vector<Measured> measured_;
};

}  // namespace kalidor::bench
