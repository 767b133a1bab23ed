#include "platform/raster/raster_surface.h"

#include <algorithm>

#include "platform/raster/pixel_index.h"

namespace kalidor {

RasterSurface::RasterSurface(int outerWidth, int outerHeight, int border, Colour back)
    : own_(std::make_unique<PictureDocument>(0, 0, back)), picture_(*own_), border_(border)
{
    setOuterSize(outerWidth, outerHeight);
}

RasterSurface::RasterSurface(PictureDocument& picture, int outerWidth, int outerHeight, int border)
    : picture_(picture), outerWidth_(outerWidth), outerHeight_(outerHeight), border_(border)
{
}

void RasterSurface::setOuterSize(int outerWidth, int outerHeight)
{
    outerWidth_ = outerWidth;
    outerHeight_ = outerHeight;
    if (own_)
        own_->SetSize(outerWidth - 2 * border_, outerHeight - 2 * border_);
}

void RasterSurface::setChangedHandler(std::function<void(const QRegion&)> handler)
{
    picture_.forget(handler_);
    handler_ = handler ? picture_.listen(std::move(handler)) : 0;
}

ClipRect RasterSurface::keptClip() const
{
    return ClipRect{0, 0, picture_.KeptWidth() - 1, picture_.KeptHeight() - 1};
}

ClipRect RasterSurface::clip() const { return limit_.value_or(keptClip()); }

void RasterSurface::Line(float x1, float y1, float x2, float y2, Colour c, Shape shape, Corner corner)
{
    const long long ax = pixelIndex(x1);
    const long long ay = pixelIndex(y1);
    long long bx = pixelIndex(x2);
    long long by = pixelIndex(y2);
    if (corner == Corner::Relative) {
        bx += ax;
        by += ay;
    }
    picture_.settle();  // drawn over what is owed, not under it
    spans_.clear();
    const ClipRect cl = clip();
    switch (shape) {
    case Shape::Segment:
        segmentSpans(ax, ay, bx, by, drawWidth_, cl, spans_);
        break;
    case Shape::Box:
        segmentSpans(ax, ay, bx, ay, drawWidth_, cl, spans_);
        segmentSpans(bx, ay, bx, by, drawWidth_, cl, spans_);
        segmentSpans(bx, by, ax, by, drawWidth_, cl, spans_);
        segmentSpans(ax, by, ax, ay, drawWidth_, cl, spans_);
        mergeSpans(spans_);
        break;
    case Shape::FilledBox: {
        const long long left = std::max<long long>(std::min(ax, bx), cl.x0);
        const long long right = std::min<long long>(std::max(ax, bx), cl.x1);
        const long long top = std::max<long long>(std::min(ay, by), cl.y0);
        const long long bottom = std::min<long long>(std::max(ay, by), cl.y1);
        if (left <= right && top <= bottom)
            picture_.writer().box(QRect(QPoint(static_cast<int>(left), static_cast<int>(top)),
                                        QPoint(static_cast<int>(right), static_cast<int>(bottom))),
                                  ink(c));
        return;
    }
    }
    PixelWriter::Call(picture_.writer(), ink(c)).runs(spans_);
}

Picture drawnPicture(int width, int height, Colour back, const std::function<void(Surface&)>& draw)
{
    RasterSurface surface(width, height, 0, back);
    draw(surface);
    return surface.Image();
}

}  // namespace kalidor
