// The press fills; the moves after it, with a button held, do nothing.
#include "draw/fill_tool.h"

#include <algorithm>
#include <cstdlib>

#include "draw/press_images.h"
#include "editor/tool.h"

namespace kalidor {

namespace {

// The well of the buttons down: as for a drawing press, a second button pressed
// while the first is held names well 3.
const Well* wellOfPress(Editor& e, const MouseArgs& m) { return wellAt(e, m.Held != 0 ? m.Held : m.Button); }

bool withinTolerance(Colour a, Colour b, int tolerance)
{
    for (const int shift : {0, 8, 16})
        if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > tolerance)
            return false;
    return true;
}

void fillRegions(Editor& e, const MouseArgs& m)
{
    const Well* well = wellOfPress(e, m);
    if (!well)
        return;  // the middle button names no well
    Document& picture = *e.ui.picture;
    const int16 x = xr(m);
    const int16 y = yr(m);
    const std::int32_t pressed = picture.Point(x, y);
    const Colour colour = well->BackColor();
    // Off the picture, or that colour already: nothing to fill, and no step.
    if (pressed < 0 || static_cast<Colour>(pressed) == colour)
        return;
    // An image on a line or in another colour's region is not where the user
    // pointed: only images of the pressed colour fill.
    std::vector<PixelPoint> seeds = pressImages(e, x, y);
    // With a tolerance, images within it of the pressed colour fill too.
    const FillReach reach{kFillTolerances[std::clamp(e.fillTolerance, 0, 3)], e.smoothLines};
    std::erase_if(seeds, [&](const PixelPoint& p) {
        const std::int32_t at = picture.Point(static_cast<float>(p.x), static_cast<float>(p.y));
        return at < 0 || !withinTolerance(static_cast<Colour>(at), static_cast<Colour>(pressed), reach.tolerance);
    });
    picture.Fill(seeds, colour, reach);
}

}  // namespace

const Tool kFillTool{fillRegions, noPointer, noPointer, noCancel};

void toggleFill(Editor& e)
{
    e.fill = !e.fill;
    if (e.fill)
        e.shape = ShapeKind::None;
}

}  // namespace kalidor
