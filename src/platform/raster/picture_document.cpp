#include "platform/raster/picture_document.h"

#include <algorithm>

#include "platform/raster/pixel_index.h"

namespace kalidor {

PictureDocument::PictureDocument(int width, int height, Colour back)
    : back_(back), writer_(kept_, [this](const QRegion& area) { changed(area); })
{
    kept_.fill(toPixel(back_));
    SetSize(width, height);
}

PictureDocument::~PictureDocument() = default;

void PictureDocument::SetSize(int width, int height)
{
    settle();
    const QSize before(width_, height_);
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    shown_ = shown_.expandedTo(QSize(width_, height_));
    writer_.setShown(QRect(0, 0, width_, height_));
    writer_.setReach(ownSize_ ? std::optional<QSize>(QSize(width_, height_)) : std::nullopt);
    writer_.grow(QSize(width_, height_), toPixel(back_));
    // No pixel changed, but the views lay themselves out again.
    if (QSize(width_, height_) != before)
        changed(QRegion());
}

void PictureDocument::Resize(int width, int height, bool clearNew)
{
    settle();
    ownSize_ = true;
    writer_.setReach(QSize(width_, height_));
    const QSize before(width_, height_);
    const QSize after(std::max(0, width), std::max(0, height));
    if (after == before)
        return;
    if (history_)
        history_->resized(before, after);
    const QRect keptBefore = kept_.image().rect();
    SetSize(after.width(), after.height());
    if (!clearNew)
        return;
    // What the kept image held beyond the old edges is no part of this picture;
    // what it grows by is the background already.
    const Ink white{Blend::CopyPen, toPixel(back_)};
    const QRect across = QRect(before.width(), 0, after.width() - before.width(), after.height()) & keptBefore;
    const QRect down =
        QRect(0, before.height(), std::min(before.width(), after.width()), after.height() - before.height()) & keptBefore;
    for (const QRect& r : {across, down})
        if (!r.isEmpty())
            writer_.box(r, white);
    changed(QRect(0, 0, width_, height_));
}

bool PictureDocument::sizedBack(bool done)
{
    if (const std::optional<QSize> size = history_ ? history_->takeSize() : std::nullopt) {
        ownSize_ = true;
        SetSize(size->width(), size->height());
        changed(QRect(0, 0, width_, height_));
    }
    return done;
}

std::int32_t PictureDocument::Point(float x, float y) const
{
    settle();
    const long long px = pixelIndex(x);
    const long long py = pixelIndex(y);
    if (px < 0 || py < 0 || px >= width_ || py >= height_)
        return -1;
    return static_cast<std::int32_t>(fromPixel(kept_.image().pixel(static_cast<int>(px), static_cast<int>(py))));
}

Picture PictureDocument::Image() const
{
    settle();
    // A copy of an empty rectangle would be the whole kept image.
    if (width_ <= 0 || height_ <= 0)
        return Picture();
    return Picture(kept_.image().copy(0, 0, width_, height_));
}

Picture PictureDocument::WholeImage() const
{
    settle();
    // A size of its own cut off what lies beyond it.
    if (ownSize_)
        return Image();
    // Beyond the edges the kept image is the background colour but where a
    // larger size showed a drawing.
    const QImage& kept = kept_.image();
    const QRgb back = toPixel(back_);
    const int across = std::min(shown_.width(), kept.width());
    const int down = std::min(shown_.height(), kept.height());
    int right = width_;
    int bottom = height_;
    for (int y = 0; y < down; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(kept.constScanLine(y));
        const int from = y < height_ ? width_ : 0;
        for (int x = across - 1; x >= from && x >= right; --x)
            if (row[x] != back) {
                right = x + 1;
                break;
            }
        if (y >= bottom)
            for (int x = 0; x < across; ++x)
                if (row[x] != back) {
                    bottom = y + 1;
                    break;
                }
    }
    if (right <= 0 || bottom <= 0)
        return Picture();
    return Picture(kept.copy(0, 0, right, bottom));
}

void PictureDocument::SetPicture(const Picture& picture)
{
    settle();
    shown_ = QSize(width_, height_);
    // What the picture does not show yet is kept for when it grows.
    writer_.grow(QSize(picture.width(), picture.height()), toPixel(back_));
    writer_.replaceAll(toPixel(back_), picture.isEmpty() ? nullptr : &picture.image());
}

void PictureDocument::Fill(std::span<const PixelPoint> seeds, Colour c, FillReach reach)
{
    settle();
    if (reach.plain())
        writer_.fill(seeds, toPixel(c));
    else
        writer_.fillReaching(seeds, toPixel(c), reach);
}

void PictureDocument::setBackground(Colour c)
{
    settle();
    back_ = c;
    writer_.replaceAll(toPixel(back_));
}

void PictureDocument::keepHistory(TileHistory::Limits limits)
{
    history_ = std::make_unique<TileHistory>(toPixel(back_));
    history_->setLimits(limits);
    writer_.setHistory(history_.get());
}

void PictureDocument::BeginStep(StepKind kind)
{
    writer_.setStepKind(kind);
    if (history_)
        history_->begin();
}

void PictureDocument::EndStep()
{
    settle();
    writer_.setStepKind(StepKind::Stroke);
    if (history_)
        history_->end();
}

int PictureDocument::listen(Listener listener)
{
    listeners_.emplace_back(++lastListener_, std::move(listener));
    return lastListener_;
}

void PictureDocument::forget(int id)
{
    std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

void PictureDocument::changed(const QRegion& area)
{
    for (const auto& [id, listener] : listeners_)
        listener(area);
}

}  // namespace kalidor
