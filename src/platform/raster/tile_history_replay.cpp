// Undoing and redoing the steps the history recorded, and letting the oldest go.
#include "platform/raster/tile_history.h"

#include <algorithm>

#include "platform/raster/tile_pixels.h"

namespace kalidor {

namespace {

void invert(QImage& image, const QRect& r)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        invertRun(reinterpret_cast<std::uint32_t*>(image.scanLine(y)) + r.left(), r.width());
}

}  // namespace

QImage TileHistory::takeSpare(QSize size, QImage::Format format)
{
    QImage next = spare_.size() == size && spare_.format() == format ? std::move(spare_) : QImage(size, format);
    spare_ = QImage();
    return next;
}

void TileHistory::swapPlain(QImage& image, Step& step)
{
    const Plain& before = *step.plainBefore;
    if (step.whole.isNull()) {
        // Undone: the step's picture goes into the record for the redo, and the
        // colour comes back, in what the picture has grown by since as background.
        QImage plain = takeSpare(image.size(), image.format());
        plain.fill(image.size() == before.size ? before.colour : background_);
        for (int y = 0; image.size() != before.size && y < before.size.height(); ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(plain.scanLine(y));
            std::fill(row, row + before.size.width(), before.colour);
        }
        step.whole = std::move(image);
        image = std::move(plain);
        step.bytes += imageBytes(step.whole);
        bytes_ += imageBytes(step.whole);
        return;
    }
    // Redone: the picture of one colour makes a spare buffer.
    const std::size_t kept = imageBytes(step.whole);
    spare_ = std::move(image);
    image = std::move(step.whole);
    step.whole = QImage();
    if (image.size() != spare_.size())
        image = grownTo(image, spare_.size(), background_);
    step.bytes -= kept;
    bytes_ -= kept;
}

void TileHistory::swapWhole(QImage& image, Step& step)
{
    const std::size_t before = imageBytes(step.whole);
    image.swap(step.whole);
    // The picture may have grown since the step: what it grew by was
    // background then and is background now, all later steps being undone.
    if (image.size() != step.whole.size())
        image = grownTo(image, step.whole.size().expandedTo(image.size()), background_);
    const std::size_t after = imageBytes(step.whole);
    step.bytes = step.bytes + after - before;
    bytes_ = bytes_ + after - before;
}

std::vector<QRect> TileHistory::apply(QImage& image, Step& step, bool forward)
{
    std::vector<QRect> changed;
    // The tiles were written last, so they are put back first and done again last.
    auto swapTiles = [&] {
        for (Tile& tile : step.tiles) {
            swapTile(image, tile, step);
            changed.push_back(tile.rect);
        }
    };
    if (!forward)
        swapTiles();
    if (step.plainBefore) {
        swapPlain(image, step);
        changed.push_back(image.rect());
    } else if (!step.whole.isNull()) {
        swapWhole(image, step);
        changed.push_back(image.rect());
    }
    for (std::size_t i = 0; i < step.inverted.size(); ++i) {
        const QRect& r = step.inverted[forward ? i : step.inverted.size() - 1 - i];
        invert(image, r);
        changed.push_back(r);
    }
    refill(image, step, forward, changed);
    if (forward)
        swapTiles();
    if (step.sized)
        size_ = forward ? step.sized->second : step.sized->first;
    return changed;
}

void TileHistory::swapTile(QImage& image, Tile& tile, Step& step)
{
    const QRect& r = tile.rect;
    if (!tile.pixels.empty()) {
        auto* kept = tile.pixels.data();
        for (int y = r.top(); y <= r.bottom(); ++y, kept += r.width()) {
            auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y)) + r.left();
            std::swap_ranges(row, row + r.width(), kept);
        }
        return;
    }
    // A plain tile takes the picture's pixels into the record as it puts its
    // colour back, as a copy where they are not of one colour themselves.
    const std::uint32_t colour = tile.plain;
    tile.plain = reinterpret_cast<const std::uint32_t*>(image.constScanLine(r.top()))[r.left()];
    if (!allOf(image, r, tile.plain)) {
        tile.pixels = copyOf(image, r);
        const std::size_t grew = tile.pixels.size() * sizeof(std::uint32_t);
        step.bytes += grew;
        bytes_ += grew;
    }
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y)) + r.left();
        std::fill(row, row + r.width(), colour);
    }
}

std::vector<QRect> TileHistory::undo(QImage& image)
{
    end();
    if (applied_ == 0)
        return {};
    std::vector<QRect> changed = apply(image, steps_[--applied_], false);
    trim();  // a plain tile undone or redone may keep pixels now
    return changed;
}

std::vector<QRect> TileHistory::redo(QImage& image)
{
    end();
    if (applied_ >= steps_.size())
        return {};
    std::vector<QRect> changed = apply(image, steps_[applied_++], true);
    trim();
    return changed;
}

long long TileHistory::state() const
{
    if (changing())
        return lastId_ + 1;  // changed, and not yet a step
    return applied_ > 0 ? steps_[applied_ - 1].id : baseState_;
}

void TileHistory::drop(Step& step)
{
    if (!step.whole.isNull())
        spare_ = std::move(step.whole);
}

void TileHistory::trim()
{
    // The oldest applied steps go first. With none applied (everything undone,
    // and an undo kept pixels) the furthest redo goes, so that the steps left
    // still redo in turn from the picture as it is.
    while (!steps_.empty() && (steps_.size() > limits_.steps || bytes_ > limits_.bytes)) {
        if (applied_ > 0) {
            baseState_ = steps_.front().id;  // the picture the next step starts from
            --applied_;
            bytes_ -= steps_.front().bytes;
            drop(steps_.front());
            steps_.pop_front();
        } else {
            bytes_ -= steps_.back().bytes;
            drop(steps_.back());
            steps_.pop_back();
        }
    }
}

}  // namespace kalidor
