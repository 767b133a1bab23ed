#include "platform/raster/raster_surface.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "platform/raster/grid_raster.h"
#include "platform/raster/pixel_runs.h"

namespace kalidor {

namespace {

// Positions far outside any screen are pulled in, which keeps the pixel loops
// bounded; the visible pixels of a segment that long are not affected in practice.
constexpr double kFar = 1 << 20;

long long pixelIndex(float v)
{
    const double d = std::isnan(v) ? 0.0 : std::clamp(static_cast<double>(v), -kFar, kFar);
    return static_cast<long long>(i16::roundHalfEven(d));
}

// A row whose runs and gaps average under this many pixels is painted through
// a mask: with a bit a pixel, a masked row costs about what a plain fill does,
// and less than a call for each run from about this length down.
constexpr std::size_t kDenseRun = 32;
// A row of more copies than this keeps the tiles across all of them at once.
constexpr std::size_t kFewCopies = 32;

// The rows of an image to write, found without asking the image each time
// whether it is shared: a step writes thousands of short runs.
class PixelRows {
public:
    explicit PixelRows(QImage& image) : bits_(image.bits()), stride_(image.bytesPerLine()) {}
    QRgb* operator[](int y) const { return reinterpret_cast<QRgb*>(bits_ + y * stride_); }

private:
    uchar* bits_;
    qsizetype stride_;
};

// Whether every copy of the grid lies on whole pixels within reach, where
// moving a segment by whole pixels moves its pixels exactly.
bool onWholePixels(const SegmentGrid& g)
{
    const Segment& f = g.first;
    const double lastX = static_cast<double>(g.columns - 1) * g.stepX;
    const double lastY = static_cast<double>(g.rows - 1) * g.stepY;
    for (const float v : {f.x1, f.x2}) {
        if (v != std::floor(v) || std::abs(v) > kFar || std::abs(v + lastX) > kFar)
            return false;
    }
    for (const float v : {f.y1, f.y2}) {
        if (v != std::floor(v) || std::abs(v) > kFar || std::abs(v + lastY) > kFar)
            return false;
    }
    return true;
}

// About how many copies of the grids fall on a canvas of that size.
long long copiesInView(std::span<const SegmentGrid> grids, int width, int height)
{
    long long copies = 0;
    for (const SegmentGrid& g : grids) {
        const long long columns = std::min<long long>(g.columns, width / std::max(1, std::abs(g.stepX)) + 2);
        const long long rows = std::min<long long>(g.rows, height / std::max(1, std::abs(g.stepY)) + 2);
        copies += std::max<long long>(columns, 0) * std::max<long long>(rows, 0) / (g.chess ? 2 : 1);
    }
    return copies;
}

}  // namespace

RasterSurface::RasterSurface(int outerWidth, int outerHeight, int border, Colour back)
    : border_(border), back_(back)
{
    image_ = QImage(1, 1, QImage::Format_RGB32);
    image_.fill(toPixel(back_));
    plain_ = toPixel(back_);
    setOuterSize(outerWidth, outerHeight);
}

void RasterSurface::setOuterSize(int outerWidth, int outerHeight)
{
    outerWidth_ = outerWidth;
    outerHeight_ = outerHeight;
    width_ = std::max(0, outerWidth - 2 * border_);
    height_ = std::max(0, outerHeight - 2 * border_);
    if (width_ > image_.width() || height_ > image_.height()) {
        QImage grown(std::max(width_, image_.width()), std::max(height_, image_.height()),
                     QImage::Format_RGB32);
        grown.fill(toPixel(back_));
        QPainter p(&grown);
        p.drawImage(0, 0, image_);
        image_ = std::move(grown);
        if (plain_ != toPixel(back_))
            plain_.reset();
        if (history_)
            history_->grown(image_);
    }
}

ClipRect RasterSurface::clip() const
{
    return ClipRect{0, 0, image_.width() - 1, image_.height() - 1};
}

QRect RasterSurface::paint(const std::vector<Span>& spans, Colour c, bool recorded)
{
    if (spans.empty())
        return {};
    plain_.reset();
    const auto pixel = static_cast<QRgb>(toPixel(c));
    int left = spans.front().x0, right = spans.front().x1;
    int top = spans.front().y, bottom = spans.front().y;
    PixelRows rows(image_);
    for (const Span& s : spans) {
        if (history_ && !recorded)
            history_->touchRow(image_, s.y, s.x0, s.x1);
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
    bool recorded = false;
    bool everyPixel = false;
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
        if (history_ && left <= right && top <= bottom) {
            // New and Invert: the history keeps the whole picture, or just the rectangle.
            const QRect box(QPoint(static_cast<int>(left), static_cast<int>(top)),
                            QPoint(static_cast<int>(right), static_cast<int>(bottom)));
            if (drawMode_ == kInvertPen)
                recorded = history_->inverting(image_, box);
            else if (box == image_.rect())
                replacingAll();
        }
        everyPixel = drawMode_ == kCopyPen && left == 0 && top == 0 && right == image_.width() - 1 &&
                     bottom == image_.height() - 1;
        if (left <= right)
            for (long long y = top; y <= bottom; ++y)
                spans_.push_back(Span{static_cast<int>(y), static_cast<int>(left), static_cast<int>(right)});
        break;
    }
    }
    notify(paint(spans_, c, recorded));
    if (everyPixel)
        plain_ = static_cast<QRgb>(toPixel(c));
}

void RasterSurface::notify(const ChangedArea& area)
{
    if (!changed_)
        return;
    const QRegion shown = area.region() & QRect(0, 0, width_, height_);
    if (!shown.isEmpty())
        changed_(shown);
}

void RasterSurface::Lines(std::span<const Segment> segments, Colour c)
{
    ChangedArea changed;
    const ClipRect cl = clip();
    for (const Segment& s : segments) {
        spans_.clear();
        segmentSpans(pixelIndex(s.x1), pixelIndex(s.y1), pixelIndex(s.x2), pixelIndex(s.y2), drawWidth_, cl, spans_);
        changed.add(paint(spans_, c));
    }
    notify(changed);
}

void RasterSurface::GridLines(std::span<const SegmentGrid> grids, Colour c)
{
    // In copy pen the copies' order and overlaps do not matter, so the union of
    // their pixels is painted once; inverting needs every copy in turn.
    plain_.reset();
    const bool whole = std::all_of(grids.begin(), grids.end(), [](const SegmentGrid& g) { return onWholePixels(g); });
    if (drawMode_ != kCopyPen || !whole) {
        Surface::GridLines(grids, c);
        return;
    }
    const auto pixel = static_cast<QRgb>(toPixel(c));
    ChangedArea changed;
    // Rows of many short runs (the tiniest cells) are painted through a mask of
    // their form, made once and laid over every row of that form.
    std::vector<std::vector<std::uint16_t>> masks;
    int lastForm = -1;
    std::vector<std::uint64_t> formTiles;  // by form: the tiles its rows lie in
    if (copiesInView(grids, width_, height_) > static_cast<long long>(ChangedArea::kMostRects))
        changed.byBands();
    PixelRows rows(image_);
    gridSpans(grids, drawWidth_, clip(), [&](const GridRow& row) {
        const int x0 = row.spans.front().x0;
        const int length = row.spans.back().x1 - x0 + 1;
        const bool dense = row.spans.size() * kDenseRun > static_cast<std::size_t>(length);
        if (history_) {
            // A few copies far apart keep their own tiles only, not those between them.
            if (dense || row.spans.size() > kFewCopies)
                history_->touchRow(image_, row.y, x0, x0 + length - 1);
            else if (row.form >= 0) {
                if (formTiles.size() <= static_cast<std::size_t>(row.form))  // grown by halves, not a form at a time
                    formTiles.resize(std::max(static_cast<std::size_t>(row.form) + 1, 2 * formTiles.size()), 0);
                history_->touchSpans(image_, row.y, row.spans, row.form == lastForm,
                                     &formTiles[static_cast<std::size_t>(row.form)]);
            } else
                history_->touchSpans(image_, row.y, row.spans, false);
            lastForm = row.form;
        }
        QRgb* line = rows[row.y];
        changed.addRow(row.y, row.spans, row.form);
        if (row.form >= 0 && dense) {
            if (masks.size() <= static_cast<std::size_t>(row.form))
                masks.resize(static_cast<std::size_t>(row.form) + 1);
            auto& mask = masks[static_cast<std::size_t>(row.form)];
            if (mask.empty()) {
                mask.assign(static_cast<std::size_t>(length + 15) / 16, 0);
                for (const Span& s : row.spans)
                    setMaskBits(mask.data(), s.x0 - x0, s.x1 - x0);
            }
            maskedFillRun(line + x0, mask.data(), length, pixel);
            return;
        }
        for (const Span& s : row.spans)
            fillRun(line + s.x0, s.x1 - s.x0 + 1, pixel);
    });
    notify(changed);
}

std::int32_t RasterSurface::Point(float x, float y) const
{
    const long long px = pixelIndex(x);
    const long long py = pixelIndex(y);
    if (px < 0 || py < 0 || px >= width_ || py >= height_)
        return -1;
    return static_cast<std::int32_t>(fromPixel(image_.pixel(static_cast<int>(px), static_cast<int>(py))));
}

void RasterSurface::SetBackColor(Colour c)
{
    back_ = c;
    replacingAll();
    image_.fill(toPixel(back_));
    plain_ = toPixel(back_);
    notify(QRect(0, 0, width_, height_));
}

void RasterSurface::SetPicture(const Picture& picture)
{
    replacingAll();
    image_.fill(toPixel(back_));
    plain_ = picture.isEmpty() ? std::optional<QRgb>(toPixel(back_)) : std::nullopt;
    if (!picture.isEmpty()) {
        QPainter p(&image_);
        p.drawImage(0, 0, picture.image());  // transparent parts show the background
    }
    notify(QRect(0, 0, width_, height_));
}

Picture RasterSurface::Image() const
{
    return Picture(image_.copy(0, 0, width_, height_));
}

void RasterSurface::replacingAll()
{
    if (history_)
        history_->replacingAll(image_, plain_);
    plain_.reset();
}

void RasterSurface::keepHistory(TileHistory::Limits limits)
{
    history_ = std::make_unique<TileHistory>(toPixel(back_));
    history_->setLimits(limits);
}

void RasterSurface::BeginStep()
{
    if (history_)
        history_->begin();
}

void RasterSurface::EndStep()
{
    if (history_)
        history_->end();
}

bool RasterSurface::Undo()
{
    if (!CanUndo())
        return false;
    plain_.reset();
    return repaint(history_->undo(image_));
}

bool RasterSurface::Redo()
{
    if (!CanRedo())
        return false;
    plain_.reset();
    return repaint(history_->redo(image_));
}

bool RasterSurface::repaint(const std::vector<QRect>& rects)
{
    ChangedArea changed;
    for (const QRect& r : rects)
        changed.add(r);
    notify(changed);
    return true;
}

}  // namespace kalidor
