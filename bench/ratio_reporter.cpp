#include "bench/ratio_reporter.h"

#include <algorithm>
#include <cstdio>

#include "draw/wallpaper_groups.h"

#include <unistd.h>

namespace kalidor::bench {

namespace {

bool startsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

// The limits a step must keep to on this machine, where one applies.
std::string target(const std::string& name, double ms, double fillMs, double plainMs)
{
    // A Mirror twin draws twice the copies: a Pattern step within half as much
    // again of its plain twin, a Centric step within the plain one's limit.
    if (startsWith(name, "step/Pattern-Mirror/"))
        return plainMs > 0 && ms <= 1.5 * plainMs ? "ok" : "OVER";
    if (startsWith(name, "step/Pattern/")) {
        const bool defaultGrid = name.find("cells:200/width:30/") != std::string::npos;
        const bool ok = ms <= 8.0 && ms <= 10.0 * fillMs && (!defaultGrid || ms <= 0.2);
        return ok ? "ok" : "OVER";
    }
    if (startsWith(name, "step/Centric/") || startsWith(name, "step/Centric-Mirror/"))
        return ms <= 0.2 ? "ok" : "OVER";
    // A fill press, in fills of the whole canvas: the blank canvas at most 2,
    // a Pattern tiling's tens of thousands of regions 3, sixteen small rings 0.05.
    if (startsWith(name, "step/Fill/blank/"))
        return fillMs > 0 && ms <= 2.0 * fillMs ? "ok" : "OVER";
    if (startsWith(name, "step/Fill/Pattern-cells:20/"))
        return fillMs > 0 && ms <= 3.0 * fillMs ? "ok" : "OVER";
    if (startsWith(name, "step/Fill/Centric-"))
        return fillMs > 0 && ms <= 0.05 * fillMs ? "ok" : "OVER";
    if (startsWith(name, "step/Undo/") || startsWith(name, "step/Redo/"))
        return ms <= 10.0 ? "ok" : "OVER";
    return "";
}

// A wallpaper group's step: at most two fills at any cells, and on 200-pixel
// cells at most the p1 step times the group's operations, and a fifth again.
std::string groupTarget(const std::string& name, double ms, double fillMs, double p1Ms)
{
    const auto from = std::string("step/Group-").size();
    const WallpaperGroup& g = wallpaperGroup(groupIndex(name.substr(from, name.find('/', from) - from)));
    const auto ops = static_cast<double>(g.ops.size() * (g.lattice == LatticeShape::Centred ? 2 : 1));
    const bool big = name.find("cells:200/") != std::string::npos;
    return ms <= 2 * fillMs && (!big || (p1Ms > 0 && ms <= p1Ms * ops * 1.2)) ? "ok" : "OVER";
}

}  // namespace

RatioReporter::RatioReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    // With repetitions, the best of them: the others only add what else the
    // machine was doing.
    for (const Run& r : runs) {
        if (r.run_type != Run::RT_Iteration || r.error_occurred)
            continue;
        const double ms = r.GetAdjustedRealTime() * 1e3 / benchmark::GetTimeUnitMultiplier(r.time_unit);
        auto same = std::find_if(measured_.begin(), measured_.end(),
                                 [&](const Measured& m) { return m.name == r.benchmark_name(); });
        if (same == measured_.end())
            measured_.push_back({r.benchmark_name(), ms});
        else
            same->ms = std::min(same->ms, ms);
    }
}

double RatioReporter::find(const std::string& name) const
{
    for (const Measured& m : measured_)
        if (m.name == name)
            return m.ms;
    return 0;
}

void RatioReporter::Finalize()
{
    ConsoleReporter::Finalize();
    std::printf("\n%-52s %10s %12s %10s %7s\n", "case", "ms", "÷ QPainter", "÷ fill", "target");
    for (const Measured& m : measured_) {
        if (!startsWith(m.name, "step/") || startsWith(m.name, "step/Group-"))
            continue;
        // A Mirror twin is measured against the plain case's baselines and the plain case.
        std::string plainName = m.name;
        if (const auto at = plainName.find("-Mirror/"); at != std::string::npos)
            plainName.erase(at, 7);
        const double painter = find("qpainter/" + plainName.substr(5));
        const double plain = plainName != m.name ? find(plainName) : 0.0;
        const bool big = m.name.find("3840x2160") != std::string::npos;
        const double fill = find(big ? "fill/3840x2160/real_time" : "fill/1920x1080/real_time");
        auto ratio = [&](double base) { return base > 0 ? m.ms / base : 0.0; };
        std::printf("%-52s %10.4f %12.4f %10.3f %7s\n", m.name.c_str(), m.ms, ratio(painter), ratio(fill),
                    target(m.name, m.ms, fill, plain).c_str());
    }
    std::printf("(a ratio of 0 means its baseline was not run)\n");
    printGroups();
    printViews();
    printSmooth();
}

void RatioReporter::printSmooth() const
{
    // Each smooth step within twice its hard twin.
    bool header = false;
    for (const Measured& m : measured_) {
        if (!startsWith(m.name, "smooth/"))
            continue;
        if (!header) {
            std::printf("\n%-52s %10s %10s %10s %7s\n", "case", "ms", "hard ms", "÷ hard", "target");
            header = true;
        }
        const double hard = find("hard/" + m.name.substr(7));
        const double r = hard > 0 ? m.ms / hard : 0.0;
        std::printf("%-52s %10.4f %10.4f %10.2f %7s\n", m.name.c_str(), m.ms, hard, r, hard > 0 && r <= 2 ? "ok" : "OVER");
    }
}

void RatioReporter::printViews() const
{
    // A zoom or pan step: at most two fills of the view. A step on a large
    // picture: within a fifth more than on one the view's size; a lattice's,
    // whose copies beyond the view wait for the release, at most 8 ms, and
    // the release that draws them at most a second.
    const double fill = find("fill/3840x2160/real_time");
    bool header = false;
    for (const Measured& m : measured_) {
        const bool view = startsWith(m.name, "view/");
        const bool big = startsWith(m.name, "big/") && m.name.find("/8192") != std::string::npos;
        const bool release = startsWith(m.name, "release/");
        if (!view && !big && !release)
            continue;
        if (!header) {
            std::printf("\n%-52s %10s %10s %10s %7s\n", "case", "ms", "÷ fill", "÷ 4K", "target");
            header = true;
        }
        const std::string small = view || release ? "" : m.name.substr(0, m.name.find("/8192")) + "/3840x2160/real_time";
        const double base = view ? 0 : find(small);
        auto ratio = [&](double b) { return b > 0 ? m.ms / b : 0.0; };
        const bool lattice = m.name.find("Group-") != std::string::npos;
        const bool ok = release   ? m.ms <= 1000
                        : view    ? fill > 0 && m.ms <= 2 * fill
                        : lattice ? m.ms <= 8
                                  : base > 0 && m.ms <= 1.2 * base;
        std::printf("%-52s %10.4f %10.3f %10.2f %7s\n", m.name.c_str(), m.ms, ratio(fill), ratio(base),
                    ok ? "ok" : "OVER");
    }
}

void RatioReporter::printGroups() const
{
    const double fill = find("fill/1920x1080/real_time");
    bool any = false;
    for (const Measured& m : measured_) {
        if (!startsWith(m.name, "step/Group-"))
            continue;
        if (!any)
            std::printf("\n%-52s %10s %10s %10s %7s\n", "case", "ms", "÷ fill", "÷ p1", "target");
        any = true;
        // The p1 step on the same cells, width and Chess.
        const double p1 = find("step/Pattern" + m.name.substr(m.name.find('/', 5)));
        auto ratio = [&](double base) { return base > 0 ? m.ms / base : 0.0; };
        std::printf("%-52s %10.4f %10.3f %10.2f %7s\n", m.name.c_str(), m.ms, ratio(fill), ratio(p1),
                    groupTarget(m.name, m.ms, fill, p1).c_str());
    }
}

}  // namespace kalidor::bench
