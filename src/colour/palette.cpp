#include "colour/palette.h"

#include <stdexcept>

namespace kalidor {

namespace {

constexpr int16 kRandomRows = 14;
constexpr int16 kFixedRow = 14;
constexpr int16 kSwatchSide = 18;
constexpr int16 kFrameSide = 20;

// 0..255 from a value in [0, 1): the nearest whole number, ties to even, so the
// two ends come up half as often as the values between them.
int channel(float r) { return static_cast<int>(i16::roundHalfEven(static_cast<double>(r) * 255.0)); }

// Top-left pixel of the grid line around swatch (col, row).
int16 gridLine(int16 index) { return i16::add(i16::mul(kSwatchPitch, index), 1); }

void drawFrame(Surface& pal, int16 col, int16 row, Colour c)
{
    pal.Line(gridLine(col), gridLine(row), kFrameSide - 1, kFrameSide - 1, c, Shape::Box, Corner::Relative);
}

// Column or row under a palette position: the swatch with the grid line left
// of (or above) it, and 0 also for the palette's edge at 0.
int16 gridIndex(float v)
{
    return i16::fromInt(i16::round32(static_cast<double>(v) - 1.0) / kSwatchPitch);
}

}  // namespace

Colour randomColour(RandomGenerator& random)
{
    const int r = channel(random.Rnd());
    const int g = channel(random.Rnd());
    const int b = channel(random.Rnd());
    return rgb(r, g, b);
}

void AddColor(Editor& e, int16 col, int16 row, Colour colour)
{
    if (col < 0 || col >= kPaletteColumns || row < 0 || row >= kPaletteRows)
        throw std::out_of_range("no such palette swatch");
    e.st.Colors[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)] = colour;
    e.ui.pbPal->Line(gridLine(col) + 1, gridLine(row) + 1, kSwatchSide - 1, kSwatchSide - 1, colour,
                     Shape::FilledBox, Corner::Relative);
}

void FillPalette(Editor& e)
{
    RandomGenerator& random = programRandom();
    random.Randomize(e.services->Timer());
    for (int16 row = 0; row < kRandomRows; ++row)
        for (int16 col = 0; col < kPaletteColumns; ++col)
            AddColor(e, col, row, randomColour(random));
    AddColor(e, 0, kFixedRow, 0x000000);
    AddColor(e, 1, kFixedRow, 0xFFFFFF);
    AddColor(e, 2, kFixedRow, 0x404040);
    AddColor(e, 3, kFixedRow, 0xC0C0C0);
}

void pbPal_MouseDown(Editor& e, const MouseArgs& m)
{
    const int16 col = gridIndex(m.X);
    const int16 row = gridIndex(m.Y);
    Well* well = wellAt(e, m.Shift > 0 ? 3 : m.Button);
    // Off the grid, or the middle button alone: no well, no frame.
    if (!well || col < 0 || col >= kPaletteColumns || row < 0 || row >= kPaletteRows)
        return;
    well->SetBackColor(e.st.Colors[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)]);
    // The old frame goes first, so a grid line it shares with the new one ends black.
    Surface& pal = *e.ui.pbPal;
    drawFrame(pal, e.st.PalSelX, e.st.PalSelY, pal.BackColor());
    drawFrame(pal, col, row, kBlack);
    e.st.PalSelX = col;
    e.st.PalSelY = row;
    e.ui.pbPalBox.SetAccessibleDescription("Selected: " + describeColour(well->BackColor()));
}

}  // namespace kalidor
