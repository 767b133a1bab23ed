#include "draw/symmetry_options.h"

#include <cmath>

#include "draw/group_guides.h"

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

std::vector<Segment> symmetryGuides(const EditorState& s, int16 mode, int n, bool mirror, float width, float height,
                                    int group, int mirrorAngle)
{
    if (mode == kPattern && group != kP1)
        return groupGuides(wallpaperGroup(group), s.PatternX, s.PatternY, width, height);
    std::vector<Segment> lines;
    if (mode == kCentric && n > 0) {
        const float cx = s.CenterX;
        const float cy = s.CenterY;
        // Long enough to leave the canvas from anywhere the centre can be seen.
        const double reach = std::abs(cx) + std::abs(cy) + width + height;
        for (int i = 0; i < n; ++i) {
            const double a = 2.0 * M_PI * i / n;
            lines.push_back({cx, cy, static_cast<float>(cx + reach * std::sin(a)), static_cast<float>(cy - reach * std::cos(a))});
        }
        if (mirror && mirrorAngle == 0) {
            lines.push_back({cx, 0, cx, height});
        } else if (mirror) {
            const double a = mirrorAngle * M_PI / 180;
            const auto dx = static_cast<float>(reach * std::sin(a)), dy = static_cast<float>(-reach * std::cos(a));
            lines.push_back({cx - dx, cy - dy, cx + dx, cy + dy});
        }
    } else if (mode == kPattern && s.PatternX >= kDensestGrid && s.PatternY >= kDensestGrid) {
        for (int x = 0; x < width; x += s.PatternX)
            lines.push_back({static_cast<float>(x), 0, static_cast<float>(x), height});
        for (int y = 0; y < height; y += s.PatternY)
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
    e.ui.pbBox.SetGuides(symmetryGuides(e.st, drawingMode(e.st), e.ui.slN.Value(), e.mirror, e.ui.pb->ScaleWidth(),
                                        e.ui.pb->ScaleHeight(), e.group, e.mirrorAngle));
}

}  // namespace kalidor
