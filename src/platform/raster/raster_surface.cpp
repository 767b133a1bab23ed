#include "platform/raster/raster_surface.h"

#include <algorithm>

#include <QPainter>

#include "platform/raster/grid_tiles.h"
#include "platform/raster/pixel_runs.h"
#include "platform/raster/pixel_index.h"

namespace kalidor {

RasterSurface::RasterSurface(int outerWidth, int outerHeight, int border, Colour back)
    : border_(border), back_(back)
{
    kept_.fill(toPixel(back_));
    setOuterSize(outerWidth, outerHeight);
}

void RasterSurface::setOuterSize(int outerWidth, int outerHeight)
{
    outerWidth_ = outerWidth;
    outerHeight_ = outerHeight;
    width_ = std::max(0, outerWidth - 2 * border_);
    height_ = std::max(0, outerHeight - 2 * border_);
    growKept(QSize(width_, height_));
}

void RasterSurface::growKept(QSize size)
{
    const QSize before = kept_.image().size();
    kept_.growTo(size, toPixel(back_));
    if (history_ && kept_.image().size() != before)
        history_->grown(kept_.image());
}

ClipRect RasterSurface::clip() const
{
    return ClipRect{0, 0, kept_.image().width() - 1, kept_.image().height() - 1};
}

QRect RasterSurface::paint(const std::vector<Span>& spans, Colour c, bool recorded)
{
    if (spans.empty())
        return {};
    const auto pixel = static_cast<QRgb>(toPixel(c));
    int left = spans.front().x0, right = spans.front().x1;
    int top = spans.front().y, bottom = spans.front().y;
    QImage& image = kept_.pixels();
    PixelRows rows(image);
    for (const Span& s : spans) {
        if (history_ && !recorded)
            history_->touchRow(image, s.y, s.x0, s.x1);
        QRgb* row = rows[s.y];
        if (drawMode_ == kInvertPen)
            invertRun(row + s.x0, s.x1 - s.x0 + 1);
        else
            fillRun(row + s.x0, s.x1 - s.x0 + 1, pixel);
        left = std::min(left, s.x0);
        right = std::max(right, s.x1);
        top = std::min(top, s.y);
        bottom = std::max(bottom, s.y);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void RasterSurface::notify(const QRect& r)
{
    const QRect shown = r & QRect(0, 0, width_, height_);
    if (changed_ && !shown.isEmpty())
        changed_(QRegion(shown));
}

void RasterSurface::notify(const ChangedArea& area)
{
    if (!changed_)
        return;
    const QRegion shown = area.region() & QRect(0, 0, width_, height_);
    if (!shown.isEmpty())
        changed_(shown);
}

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
            fillBox(QRect(QPoint(static_cast<int>(left), static_cast<int>(top)),
                          QPoint(static_cast<int>(right), static_cast<int>(bottom))),
                    c);
        return;
    }
    }
    notify(paint(spans_, c));
}

void RasterSurface::fillBox(const QRect& box, Colour c)
{
    // The step says how the history keeps a box: New keeps the picture it
    // replaces (or its colour), Invert just the rectangle; any other, its tiles.
    bool recorded = false;
    if (history_ && stepKind_ == StepKind::New) {
        replacingAll();
        recorded = true;
    } else if (history_ && stepKind_ == StepKind::Invert && drawMode_ == kInvertPen) {
        recorded = history_->inverting(kept_.image(), box);
    }
    if (drawMode_ == kCopyPen && box == kept_.image().rect()) {
        if (history_ && !recorded)
            history_->touchRect(kept_.image(), box);
        kept_.fill(toPixel(c));
        notify(box);
        return;
    }
    spans_.clear();
    for (int y = box.top(); y <= box.bottom(); ++y)
        spans_.push_back(Span{y, box.left(), box.right()});
    notify(paint(spans_, c, recorded));
}

std::int32_t RasterSurface::Point(float x, float y) const
{
    const long long px = pixelIndex(x);
    const long long py = pixelIndex(y);
    if (px < 0 || py < 0 || px >= width_ || py >= height_)
        return -1;
    return static_cast<std::int32_t>(fromPixel(kept_.image().pixel(static_cast<int>(px), static_cast<int>(py))));
}

void RasterSurface::SetBackColor(Colour c)
{
    back_ = c;
    replacingAll();
    kept_.fill(toPixel(back_));
    notify(QRect(0, 0, width_, height_));
}

void RasterSurface::SetPicture(const Picture& picture)
{
    // What the canvas does not show yet is kept for when it grows.
    growKept(QSize(picture.width(), picture.height()));
    replacingAll();
    kept_.fill(toPixel(back_));
    if (!picture.isEmpty())
        QPainter(&kept_.pixels()).drawImage(0, 0, picture.image());  // transparent parts show the background
    notify(QRect(0, 0, width_, height_));
}

Picture RasterSurface::Image() const
{
    // A copy of an empty rectangle would be the whole kept image.
    if (width_ <= 0 || height_ <= 0)
        return Picture();
    return Picture(kept_.image().copy(0, 0, width_, height_));
}

void RasterSurface::replacingAll()
{
    if (!history_)
        return;
    const std::optional<QRgb> plain = kept_.plain();
    history_->replacingAll(kept_.pixels(), plain);
}

void RasterSurface::keepHistory(TileHistory::Limits limits)
{
    history_ = std::make_unique<TileHistory>(toPixel(back_));
    history_->setLimits(limits);
}

void RasterSurface::BeginStep(StepKind kind)
{
    stepKind_ = kind;
    if (history_)
        history_->begin();
}

void RasterSurface::EndStep()
{
    stepKind_ = StepKind::Stroke;
    if (history_)
        history_->end();
}

bool RasterSurface::Undo()
{
    if (!CanUndo())
        return false;
    stepKind_ = StepKind::Stroke;  // the open step, if any, ends first
    return repaint(history_->undo(kept_.pixels()));
}

bool RasterSurface::Redo()
{
    if (!CanRedo())
        return false;
    stepKind_ = StepKind::Stroke;
    return repaint(history_->redo(kept_.pixels()));
}

bool RasterSurface::repaint(const std::vector<QRect>& rects)
{
    ChangedArea changed;
    for (const QRect& r : rects)
        changed.add(r);
    notify(changed);
    return true;
}

Picture drawnPicture(int width, int height, Colour back, const std::function<void(Surface&)>& draw)
{
    RasterSurface surface(width, height, 0, back);
    draw(surface);
    return surface.Image();
}

}  // namespace kalidor
