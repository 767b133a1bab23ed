#pragma once
// Where a press stands under the drawing mode's symmetry: the press point and
// its images, found by the same geometry that draws, so that any symmetry a
// mode's stroke hands over has its images here too.

#include <vector>

#include "editor/editor.h"

namespace kalidor {

// What the images depend on besides the stroke state.
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

// The press point (x, y) first, then the end point of every copy of a stroke
// of no length started and stepped there on a scratch copy of the state, `s`:
// in Normal none, in Centric the N turns (and their mirror images with Mirror,
// across the line at its angle), in Pattern every cell of the grid (with Chess
// those of the pointer's colour, with Mirror turned as the quilt turns them),
// or every image under Pattern's wallpaper group of the pixel's centre. Where the copies do not pass
// through the press point (a Pattern cell that Mirror turns over), they are
// taken again through the point one of them stands for. Copies past the
// 16-bit range are left out, and an error in the geometry leaves the press
// point alone. Some images may repeat, or lie off the canvas.
std::vector<PixelPoint> pressImages(EditorState s, const ImageSettings& settings, int16 x, int16 y);

// The same with the editor's mode and controls as they are.
std::vector<PixelPoint> pressImages(const Editor& e, int16 x, int16 y);

}  // namespace kalidor
