#pragma once
// The drawing surface through which the editor's logic draws on the canvas, the
// palette and the window, and reads pixels back: the pen (its width and drawing
// mode) over a picture (document.h). Coordinates are pixels from the top-left
// of the surface's interior; colours are 0x00BBGGRR.

#include <cstdint>
#include <functional>
#include <span>

#include "platform/colour.h"
#include "platform/document.h"
#include "platform/int16.h"
#include "platform/picture.h"
#include "platform/symmetry.h"

namespace kalidor {

// What `Line` draws.
enum class Shape {
    Segment,    // a plain segment
    Box,        // the outline of a box
    FilledBox,  // a box filled with the colour
};

// How `Line` reads its second point.
enum class Corner {
    Absolute,  // (x2, y2) is a point
    Relative,  // (x2, y2) is a width and a height added to the first point
};

// Drawing modes, as the two-operand raster operations of the Windows GDI.
constexpr int16 kCopyPen = 13;
constexpr int16 kInvertPen = 6;

class Surface {
public:
    virtual ~Surface() = default;

    // Boxes include both corners: a box with relative corner (+w, +h) covers
    // (w + 1) x (h + 1) pixels.
    virtual void Line(float x1, float y1, float x2, float y2, Colour c, Shape shape = Shape::Segment,
                      Corner corner = Corner::Absolute) = 0;
    // Every copy of a stroke step (see symmetry.h), in one colour with the
    // current width and mode, in one call: the same pixels as drawing each copy
    // with `Line`, in the symmetry's order.
    virtual void Paint(std::span<const Segment> shapes, const Symmetry& symmetry, Colour c) = 0;

    virtual int16 DrawMode() const = 0;
    virtual void SetDrawMode(int16 mode) = 0;
    virtual int16 DrawWidth() const = 0;
    virtual void SetDrawWidth(int16 width) = 0;
    // Smooth lines: copy-pen copies drawn with soft edges, every copy at its
    // exact place, a stroke one shape. Setting it starts a new stroke.
    virtual void SetSmooth(bool smooth) { (void)smooth; }
    virtual bool Smooth() const { return false; }

    // The colour of the pixel at (x, y), or -1 outside the surface's picture.
    virtual std::int32_t Point(float x, float y) const = 0;

    virtual Colour BackColor() const = 0;
    virtual void SetBackColor(Colour c) = 0;

    // Interior size, in pixels.
    virtual float ScaleWidth() const = 0;
    virtual float ScaleHeight() const = 0;
    // Outer size, border included.
    virtual float Width() const = 0;
    virtual float Height() const = 0;
    // Size of the whole picture the surface keeps: the interior, and beyond it
    // whatever a larger interior once showed and shows again when it grows back.
    virtual float KeptWidth() const = 0;
    virtual float KeptHeight() const = 0;

    // Replaces everything with the background colour and the picture at the
    // top-left corner; the empty picture leaves only the background.
    virtual void SetPicture(const Picture& picture) = 0;
    // Everything drawn so far, at the interior's size.
    virtual Picture Image() const = 0;
};

// A picture `width` x `height` of the colour `back` with what `draw` draws on
// it, for the program's own small pictures.
Picture drawnPicture(int width, int height, Colour back, const std::function<void(Surface&)>& draw);

}  // namespace kalidor
