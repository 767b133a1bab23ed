#include "draw/symmetry_options.h"

#include <cmath>

#include "draw/group_guides.h"
#include "draw/lattice_period.h"

namespace kalidor {

namespace {

constexpr int kDensestGrid = 4;  // pixels between grid guides at the least

}  // namespace

void toggleMirror(Editor& e) { e.mirror = !e.mirror; }

void toggleGuides(Editor& e) { e.guides = !e.guides; }

void turnMirror(Editor& e, int degrees)
{
    if (e.mirror && drawingMode(e.st) == kCentric)
        e.mirrorAngle = ((e.mirrorAngle + degrees) % 180 + 180) % 180;
}

std::vector<Segment> symmetryGuides(const CopySettings& c, float width, float height)
{
    if (c.mode == kPattern && c.group != kP1)
        return groupGuides(wallpaperGroup(c.group), c.patternX, c.patternY, width, height);
    std::vector<Segment> lines;
    if (c.mode == kCentric && c.n > 0) {
        const float cx = c.centre.x;
        const float cy = c.centre.y;
        // The rays are the copies of the one straight up from the centre, long
        // enough to leave the canvas from anywhere the centre can be seen.
        const auto reach = static_cast<float>(std::abs(cx) + std::abs(cy) + width + height);
        CopySettings turns = c;
        turns.mirror = false;
        lines = copiesOf(turns, Segment{cx, cy, cx, cy - reach}, Places::Exact).shapes;
        if (c.mirror && c.mirrorAngle == 0) {
            lines.push_back({cx, 0, cx, height});
        } else if (c.mirror) {
            const double a = c.mirrorAngle * M_PI / 180;
            const auto dx = static_cast<float>(reach * std::sin(a)), dy = static_cast<float>(-reach * std::cos(a));
            lines.push_back({cx - dx, cy - dy, cx + dx, cy + dy});
        }
    } else if (c.mode == kPattern && c.patternX >= kDensestGrid && c.patternY >= kDensestGrid) {
        // The edges of the lattice's cells.
        const CellVectors cell = latticePeriod(wallpaperGroup(kP1), c.patternX, c.patternY, false).cell;
        for (double x = 0; x < width; x += cell.ax)
            lines.push_back({static_cast<float>(x), 0, static_cast<float>(x), height});
        for (double y = 0; y < height; y += cell.by)
            lines.push_back({0, static_cast<float>(y), width, static_cast<float>(y)});
    }
    return lines;
}

void refreshGuides(Editor& e)
{
    if (!e.guides) {
        e.ui.pbBox.SetGuides({});
        return;
    }
    // In colour pick, the guides of the mode it returns to.
    e.ui.pbBox.SetGuides(symmetryGuides(modeSettings(e), e.ui.pb->ScaleWidth(), e.ui.pb->ScaleHeight()));
}

}  // namespace kalidor
