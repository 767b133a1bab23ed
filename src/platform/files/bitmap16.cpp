#include "platform/files/bitmap16.h"

#include <array>
#include <bit>
#include <cstdint>

#include <QIODevice>

#include "platform/files/little_endian.h"

namespace kalidor {

namespace {

std::uint32_t le(const QByteArray& b, qsizetype at, int bytes) { return littleEndian(b, at, bytes); }

// One channel of a pixel: its mask, and a table from its raw value to 0..255.
// A channel without a mask is `absent` throughout.
class Channel {
public:
    Channel(std::uint32_t mask, std::uint8_t absent) : mask_(mask & 0xFFFF), absent_(absent)
    {
        if (mask_ == 0)
            return;
        shift_ = std::countr_zero(mask_);
        const std::uint32_t max = mask_ >> shift_;
        levels_.resize(static_cast<qsizetype>(max) + 1);
        for (std::uint32_t v = 0; v <= max; ++v)
            levels_[static_cast<qsizetype>(v)] = static_cast<char>((v * 255 + max / 2) / max);
    }

    std::uint8_t of(std::uint32_t pixel) const
    {
        if (mask_ == 0)
            return absent_;
        return static_cast<std::uint8_t>(levels_[static_cast<qsizetype>((pixel & mask_) >> shift_)]);
    }

private:
    std::uint32_t mask_;
    std::uint8_t absent_;
    int shift_ = 0;
    QByteArray levels_;
};

}  // namespace

std::optional<QImage> fullRangeBitmap16(QIODevice& device, const QImage& decoded)
{
    // Only a 16-bit bitmap is read whole a second time.
    if (!device.seek(0))
        return std::nullopt;
    const QByteArray header = device.peek(34);
    if (header.size() < 34 || !header.startsWith("BM") || le(header, 28, 2) != 16)
        return std::nullopt;
    const QByteArray file = device.readAll();
    if (file.size() < 54)
        return std::nullopt;
    const std::uint32_t headerSize = le(file, 14, 4);
    // The headers Qt reads these fields from; any other size is the old OS/2
    // one, which has no 16-bit pixels.
    if (headerSize != 40 && headerSize != 108 && headerSize != 124)
        return std::nullopt;
    const auto width = static_cast<std::int32_t>(le(file, 18, 4));
    const auto height = static_cast<std::int32_t>(le(file, 22, 4));
    const std::uint32_t bits = le(file, 28, 2);
    const std::uint32_t compression = le(file, 30, 4);
    if (bits != 16 || (compression != 0 && compression != 3))
        return std::nullopt;
    const qsizetype w = width;
    const qsizetype h = height < 0 ? -static_cast<qsizetype>(height) : height;
    if (decoded.isNull() || decoded.width() != w || decoded.height() != h)
        return std::nullopt;

    // Plain rows are 5-5-5; bit-field masks follow the 40-byte header or stand
    // in the larger ones at the same place, the alpha mask only in those.
    std::array<std::uint32_t, 4> masks{0x7C00, 0x03E0, 0x001F, 0};
    const qsizetype maskBytes = compression == 3 && headerSize == 40 ? 12 : 0;
    if (compression == 3) {
        if (file.size() < 66)
            return std::nullopt;
        for (int i = 0; i < 3; ++i)
            masks[static_cast<std::size_t>(i)] = le(file, 54 + 4 * i, 4);
        if (headerSize >= 108 && decoded.hasAlphaChannel())
            masks[3] = le(file, 66, 4);
    }
    // As Qt does, the rows start where the file header says, but never inside
    // the headers.
    const qsizetype start = std::max<qsizetype>(le(file, 10, 4), 14 + headerSize + maskBytes);
    const qsizetype rowBytes = (w * 16 + 31) / 32 * 4;
    if (start > file.size() || (file.size() - start) / rowBytes < h)
        return std::nullopt;

    const Channel red(masks[0], 0), green(masks[1], 0), blue(masks[2], 0), alpha(masks[3], 255);
    QImage image(static_cast<int>(w), static_cast<int>(h),
                 decoded.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file.constData());
    for (qsizetype y = 0; y < h; ++y) {
        const std::uint8_t* row = bytes + start + rowBytes * (height < 0 ? y : h - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
        for (qsizetype x = 0; x < w; ++x) {
            const std::uint32_t p = row[2 * x] | (row[2 * x + 1] << 8);
            out[x] = qRgba(red.of(p), green.of(p), blue.of(p), alpha.of(p));
        }
    }
    return image;
}

}  // namespace kalidor
