#pragma once
// The surface's picture, and whether every pixel of it is known to be one
// colour (a blank canvas, one just made New), in which case the history need
// not keep its pixels. Every write goes through `pixels`, which forgets the
// colour, or `fill`, which sets it: no other place keeps it. Where another
// thread may be reading the pixels (the recovery copy), every write first
// waits for it through the write gate.

#include <functional>
#include <optional>

#include <QImage>

#include "platform/raster/tile_pixels.h"

namespace kalidor {

class KeptImage {
public:
    const QImage& image() const { return image_; }
    std::optional<QRgb> plain() const { return plain_; }

    // Called before every write.
    void setWriteGate(std::function<void()> gate) { gate_ = std::move(gate); }

    // The pixels, to be written.
    QImage& pixels()
    {
        waitToWrite();
        plain_.reset();
        return image_;
    }
    void fill(QRgb colour)
    {
        waitToWrite();
        image_.fill(colour);
        plain_ = colour;
    }
    // Grown to at least `size`, what it grows by filled with `background`.
    void growTo(QSize size, QRgb background)
    {
        if (size.width() <= image_.width() && size.height() <= image_.height())
            return;
        waitToWrite();
        image_ = grownTo(image_, size.expandedTo(image_.size()), background);
        if (plain_ != background)
            plain_.reset();
    }

private:
    void waitToWrite() const
    {
        if (gate_)
            gate_();
    }

    QImage image_{1, 1, QImage::Format_RGB32};
    std::function<void()> gate_;
    std::optional<QRgb> plain_;
};

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

}  // namespace kalidor
