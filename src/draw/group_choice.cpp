#include "draw/group_choice.h"

#include <array>
#include <cmath>

#include "draw/group_geometry.h"

namespace kalidor {

namespace {

constexpr Colour kSampleInk = 0x402010;  // a dark blue
constexpr int kSampleCell = 20;

}  // namespace

std::string groupCaption(int group)
{
    const WallpaperGroup& g = wallpaperGroup(group);
    return std::string(g.name) + ": " + std::string(g.words);
}

void drawGroupSample(Surface& surface, int group)
{
    const WallpaperGroup& g = wallpaperGroup(group);
    const CellVectors c = cellVectors(g.lattice, kSampleCell, kSampleCell);
    // A flag on its pole, in fractional coordinates of a cell: no mirror or
    // turn keeps it, so every copy shows the operation that made it.
    constexpr std::array<std::array<double, 4>, 3> kFlag{{
        {0.15, 0.2, 0.15, 0.75},
        {0.15, 0.2, 0.55, 0.3},
        {0.55, 0.3, 0.15, 0.42},
    }};
    surface.SetDrawWidth(2);
    const GroupCanvas canvas{static_cast<int>(surface.ScaleWidth()), static_cast<int>(surface.ScaleHeight()), 2};
    for (const auto& f : kFlag) {
        auto at = [&](double x, double y, double& px, double& py) {
            px = std::round(c.ax * (x + 1) + c.bx * (y + 1));
            py = std::round(c.ay * (x + 1) + c.by * (y + 1));
        };
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        at(f[0], f[1], x1, y1);
        at(f[2], f[3], x2, y2);
        const Segment s{static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2)};
        paintStep(surface, groupStep(g, kSampleCell, kSampleCell, false, s, canvas), kSampleInk);
    }
}

void chooseGroup(Editor& e, int group)
{
    e.group = group >= 0 && group < kGroupCount ? group : kP1;
    e.ui.sb.SetPanelText(kGroupPanel, std::string(wallpaperGroup(e.group).name));
}

void showGroupMenu(Editor& e)
{
    for (int i = 0; i < kGroupCount; ++i)
        e.ui.mnuGroup.SetChecked(i, i == e.group);
}

}  // namespace kalidor
