#pragma once
// A tool's preview drawn as the pen would draw it: the steps a shape will draw
// at its release, painted by the same engine onto a scratch picture of the
// picture's size, shown over the picture in the shape's colour and never part
// of it. A preview with thousands of copies (a tiling of tiny cells) costs
// what the picture's own drawing costs, not a line per copy.

#include <memory>

#include <QImage>
#include <QRegion>

#include "platform/overlay.h"
#include "platform/raster/picture_document.h"
#include "platform/raster/raster_surface.h"
#include "platform/widgets/view_transform.h"

class QPainter;

namespace kalidor {

class PreviewLayer {
public:
    PreviewLayer();
    ~PreviewLayer();
    PreviewLayer(const PreviewLayer&) = delete;
    PreviewLayer& operator=(const PreviewLayer&) = delete;

    // The pen for a new preview over a picture `width` x `height`, its width
    // `drawWidth`; what the last one drew is gone. Draw in `kPreviewInk`.
    Surface& begin(int width, int height, int16 drawWidth);
    // Shows what was drawn since `begin` in `colour`; the area to repaint.
    QRegion show(Colour colour);
    // Hides it; the area to repaint.
    QRegion hide();
    bool shown() const { return shown_; }
    Colour colour() const { return colour_; }
    // Whether the shown preview covers the picture's pixel (x, y).
    bool covers(int x, int y) const;

    // Paints the shown preview's pixels inside `source` (picture pixels) as the view shows them.
    void paint(QPainter& p, const ViewTransform& view, const QRect& source) const;

private:
    void clear();

    PictureDocument scratch_;
    std::unique_ptr<RasterSurface> pen_;
    int listening_ = 0;
    QRegion drawn_;  // scratch pixels in ink
    Colour colour_ = kBlack;
    bool shown_ = false;
};

}  // namespace kalidor
