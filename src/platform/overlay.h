#pragma once
// What a view shows over its picture and never draws into it, in picture
// pixels: the guides of the symmetry, and a tool's preview of what it is about
// to draw. Save, colour pick and Fill never see either.

#include <vector>

#include "platform/colour.h"
#include "platform/segment.h"

namespace kalidor {

enum class OverlayLayer {
    Guides,   // thin dashed lines in two contrasting colours, to show on any colour
    Preview,  // lines as the pen would draw them: its colour, its width, round ends
};
constexpr int kOverlayLayers = 2;

// The colour a tool draws its preview in on the preview's own pen
// (PictureBox::BeginPreview); the preview shows it in the colour it is given.
constexpr Colour kPreviewInk = kBlack;

struct OverlayLines {
    std::vector<Segment> lines;
    Colour colour = kBlack;  // a preview's
    int width = 1;           // a preview's, in picture pixels
};

}  // namespace kalidor
