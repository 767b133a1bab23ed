#pragma once
// Colours at the editor's interface: 0x00BBGGRR, red in the low byte.

#include <cstdint>

namespace kalidor {

using Colour = std::uint32_t;

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;

constexpr Colour rgb(int r, int g, int b)
{
    return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int red(Colour c) { return c & 0xFF; }
constexpr int green(Colour c) { return (c >> 8) & 0xFF; }
constexpr int blue(Colour c) { return (c >> 16) & 0xFF; }

// The pixel format of the rasters (0xFFRRGGBB) and back.
constexpr std::uint32_t toPixel(Colour c)
{
    return 0xFF000000u | (static_cast<std::uint32_t>(red(c)) << 16) |
           (static_cast<std::uint32_t>(green(c)) << 8) | static_cast<std::uint32_t>(blue(c));
}
constexpr Colour fromPixel(std::uint32_t p)
{
    return rgb(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
               static_cast<int>(p & 0xFF));
}

}  // namespace kalidor
