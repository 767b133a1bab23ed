#pragma once
// Reading the pixels of a tile or a picture, for the history's records.

#include <cstddef>
#include <cstdint>
#include <vector>

#include <QImage>
#include <QPainter>
#include <QRect>

#include "platform/raster/pixel_runs.h"

namespace kalidor {

inline std::size_t imageBytes(const QImage& image) { return static_cast<std::size_t>(image.sizeInBytes()); }

// Whether every pixel of `r` is `colour`.
inline bool allOf(const QImage& image, const QRect& r, std::uint32_t colour)
{
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)) + r.left();
        if (!runIsAll(row, r.width(), colour))
            return false;
    }
    return true;
}

inline std::vector<std::uint32_t> copyOf(const QImage& image, const QRect& r)
{
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(r.width()) * r.height());  // not cleared first
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)) + r.left();
        pixels.insert(pixels.end(), row, row + r.width());
    }
    return pixels;
}

// `image` grown to `size`, what it grows by filled with `background`.
inline QImage grownTo(const QImage& image, QSize size, QRgb background)
{
    QImage grown(size, image.format());
    grown.fill(background);
    QPainter(&grown).drawImage(0, 0, image);
    return grown;
}

}  // namespace kalidor
