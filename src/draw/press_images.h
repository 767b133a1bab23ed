#pragma once
// Where a press stands under the drawing mode's symmetry: the press point and
// its images, the copies of a point under the mode (mode_copies.h), so that
// any symmetry a mode's stroke hands over has its images here too.

#include <vector>

#include "draw/mode_copies.h"
#include "editor/editor.h"

namespace kalidor {

// The press point (x, y) first, then the end point of every copy of the point
// under `settings`: in Normal none, in Centric the N turns (and their mirror
// images with Mirror, across the line at its angle), in Pattern every cell of
// the loop a stroke started there on a canvas of that outer size would have
// (with Chess those of the pointer's colour, with Mirror turned as the quilt
// turns them), or every image under Pattern's wallpaper group of the pixel's
// centre. Where the copies do not pass through the press point (a Pattern
// cell that Mirror turns over), they are taken again through the point one of
// them stands for. Copies past the 16-bit range are left out, and an error in
// the geometry leaves the press point alone. Some images may repeat, or lie
// off the canvas.
std::vector<PixelPoint> pressImages(CopySettings settings, float canvasWidth, float canvasHeight, int16 x, int16 y);

// What the images depend on besides the control point.
struct ImageSettings {
    int16 mode = kNormal;
    int16 n = 1;              // Centric's copies
    bool chess = false;
    bool mirror = false;
    float canvasWidth = 0;    // the canvas's outer size, which measures Pattern's grid
    float canvasHeight = 0;
    int group = 0;            // Pattern's wallpaper group
    int mirrorAngle = 0;      // Centric's mirror line
    int keptWidth = 0;        // the picture a group's copies reach
    int keptHeight = 0;
};

// The same with the centre and the pattern point of `s`.
std::vector<PixelPoint> pressImages(const EditorState& s, const ImageSettings& settings, int16 x, int16 y);

// The same with the editor's mode and controls as they are.
std::vector<PixelPoint> pressImages(const Editor& e, int16 x, int16 y);

}  // namespace kalidor
