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
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    writer_.setShown(QRect(0, 0, width_, height_));
    writer_.grow(QSize(width_, height_), toPixel(back_));
}

std::int32_t PictureDocument::Point(float x, float y) const
{
    const long long px = pixelIndex(x);
    const long long py = pixelIndex(y);
    if (px < 0 || py < 0 || px >= width_ || py >= height_)
        return -1;
    return static_cast<std::int32_t>(fromPixel(kept_.image().pixel(static_cast<int>(px), static_cast<int>(py))));
}

Picture PictureDocument::Image() const
{
    // A copy of an empty rectangle would be the whole kept image.
    if (width_ <= 0 || height_ <= 0)
        return Picture();
    return Picture(kept_.image().copy(0, 0, width_, height_));
}

void PictureDocument::SetPicture(const Picture& picture)
{
    // What the picture does not show yet is kept for when it grows.
    writer_.grow(QSize(picture.width(), picture.height()), toPixel(back_));
    writer_.replaceAll(toPixel(back_), picture.isEmpty() ? nullptr : &picture.image());
}

void PictureDocument::Fill(std::span<const PixelPoint> seeds, Colour c) { writer_.fill(seeds, toPixel(c)); }

void PictureDocument::setBackground(Colour c)
{
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
