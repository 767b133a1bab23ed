#include "platform/raster/tile_history.h"

#include <algorithm>

#include "platform/raster/tile_pixels.h"

namespace kalidor {

void TileHistory::setLimits(Limits limits)
{
    limits_ = limits;
    trim();
}

void TileHistory::begin()
{
    end();
    open_ = true;
}

void TileHistory::touchTiles(const QImage& image, int y, int x0, int x1)
{
    const int ty = y / kTileSide;
    if (!wholeKept())
        for (int tx = x0 / kTileSide, last = x1 / kTileSide; tx <= last; ++tx)
            if (!isTouched(tx, ty))
                keep(image, tx, ty);
    lastTileRow_ = ty;
    lastFrom_ = wholeKept() ? 0 : x0 / kTileSide * kTileSide;
    lastTo_ = wholeKept() ? image.width() - 1 : (x1 / kTileSide + 1) * kTileSide - 1;
}

void TileHistory::touchSpans(const QImage& image, int y, std::span<const Span> spans)
{
    if (wholeKept())
        return;
    const int ty = y / kTileSide;
    for (const Span& s : spans)
        for (int tx = s.x0 / kTileSide, last = s.x1 / kTileSide; tx <= last; ++tx)
            if (!isTouched(tx, ty))
                keep(image, tx, ty);
}

void TileHistory::touchTiles(const QImage& image, int tileRow, std::span<const int> tileColumns)
{
    if (wholeKept())
        return;
    for (const int tx : tileColumns)
        if (!isTouched(tx, tileRow))
            keep(image, tx, tileRow);
}

void TileHistory::end()
{
    if (!open_)
        return;
    open_ = false;
    forgetLastRow();
    for (const Tile& t : current_.tiles)
        touched_[static_cast<std::size_t>(t.rect.top() / kTileSide) * stride_ +
                 static_cast<std::size_t>(t.rect.left() / kTileSide)] = 0;
    if (current_.empty())
        return;
    // A new step drops the undone ones.
    while (steps_.size() > applied_) {
        bytes_ -= steps_.back().bytes;
        drop(steps_.back());
        steps_.pop_back();
    }
    current_.id = ++lastId_;
    bytes_ += current_.bytes;
    steps_.push_back(std::move(current_));
    current_ = Step{};
    applied_ = steps_.size();
    trim();
}

void TileHistory::resized(QSize before, QSize after)
{
    open_ = true;
    if (current_.sized)
        current_.sized->second = after;
    else
        current_.sized.emplace(before, after);
}

void TileHistory::touchRect(const QImage& image, const QRect& r)
{
    const QRect within = r & image.rect();
    if (within.isEmpty())
        return;
    for (int y = within.top(); y <= within.bottom(); y += kTileSide - y % kTileSide)
        touchRow(image, y, within.left(), within.right());
}

void TileHistory::replacingAll(QImage& image, std::optional<QRgb> plain)
{
    if (!open_)
        begin();
    if (!current_.empty()) {
        touchRect(image, image.rect());
        return;
    }
    if (plain) {
        // The buffer is drawn on again, and stays warm: New after New costs one fill.
        current_.plainBefore = Plain{*plain, image.size()};
        current_.bytes += sizeof(Plain);
        return;
    }
    QImage next = takeSpare(image.size(), image.format());
    current_.bytes += imageBytes(image);
    current_.whole = std::move(image);
    image = std::move(next);
}

bool TileHistory::inverting(const QImage& image, const QRect& r)
{
    if (!open_)
        begin();
    if (current_.tiles.empty() && current_.fills.empty() && !wholeKept()) {
        const QRect within = r & image.rect();
        if (!within.isEmpty()) {
            current_.inverted.push_back(within);
            current_.bytes += sizeof(QRect);
        }
        return true;
    }
    touchRect(image, r);
    return false;
}

void TileHistory::markTouched(int tx, int ty)
{
    const auto x = static_cast<std::size_t>(tx);
    const auto y = static_cast<std::size_t>(ty);
    if (x >= stride_) {
        // A wider picture than before: lay the marks out again for the new width.
        const std::size_t stride = std::max<std::size_t>(x + 1, stride_ * 2);
        std::vector<std::uint8_t> wider(touched_.size() / std::max<std::size_t>(stride_, 1) * stride, 0);
        for (std::size_t row = 0; stride_ > 0 && row < touched_.size() / stride_; ++row)
            std::copy_n(touched_.begin() + static_cast<std::ptrdiff_t>(row * stride_), stride_,
                        wider.begin() + static_cast<std::ptrdiff_t>(row * stride));
        touched_ = std::move(wider);
        stride_ = stride;
    }
    if ((y + 1) * stride_ > touched_.size())
        touched_.resize((y + 1) * stride_, 0);
    touched_[y * stride_ + x] = 1;
}

void TileHistory::keep(const QImage& image, int tx, int ty)
{
    if (!open_)
        begin();  // drawing outside a step is a step of its own
    const QRect rect = QRect(tx * kTileSide, ty * kTileSide, kTileSide, kTileSide) & image.rect();
    if (rect.isEmpty())
        return;
    markTouched(tx, ty);
    Tile tile{rect, {}, reinterpret_cast<const std::uint32_t*>(image.constScanLine(rect.top()))[rect.left()]};
    if (!allOf(image, rect, tile.plain))
        tile.pixels = copyOf(image, rect);
    current_.bytes += tile.pixels.size() * sizeof(std::uint32_t) + sizeof(Tile);
    current_.tiles.push_back(std::move(tile));
}

void TileHistory::grown(const QImage& image)
{
    if (!open_)
        return;
    if (!current_.whole.isNull() && current_.whole.size() != image.size()) {
        // What the picture has grown by was background before the step.
        QImage whole = grownTo(current_.whole, image.size(), background_);
        current_.bytes += imageBytes(whole) - imageBytes(current_.whole);
        current_.whole = std::move(whole);
    }
    for (Tile& tile : current_.tiles) {
        const QRect full = QRect(tile.rect.topLeft(), QSize(kTileSide, kTileSide)) & image.rect();
        if (full == tile.rect)
            continue;
        if (tile.pixels.empty()) {
            tile.pixels.assign(static_cast<std::size_t>(tile.rect.width()) * tile.rect.height(), tile.plain);
            current_.bytes += tile.pixels.size() * sizeof(std::uint32_t);
        }
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(full.width()) * full.height());
        for (int y = full.top(); y <= full.bottom(); ++y) {
            auto* out = pixels.data() + static_cast<std::size_t>(y - full.top()) * full.width();
            const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)) + full.left();
            std::copy_n(row, full.width(), out);
            if (y <= tile.rect.bottom()) {
                const auto* kept = tile.pixels.data() + static_cast<std::size_t>(y - tile.rect.top()) * tile.rect.width();
                std::copy_n(kept, tile.rect.width(), out);
            }
        }
        current_.bytes += (pixels.size() - tile.pixels.size()) * sizeof(std::uint32_t);
        tile.rect = full;
        tile.pixels = std::move(pixels);
    }
}

}  // namespace kalidor
