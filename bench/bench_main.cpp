// Runs every benchmark with the real editor offscreen, then the ratio table.

#include <QApplication>
#include <benchmark/benchmark.h>

#include "bench/bench_window.h"
#include "bench/ratio_reporter.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    kalidor::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    kalidor::bench::closeWindows();
    benchmark::Shutdown();
    return 0;
}
