#include "platform/picture_integrity.h"

#include <cstdint>
#include <cstdlib>

#include <QIODevice>

namespace kalidor {

namespace {

std::int64_t le(const QByteArray& b, int at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    if (bytes == 2)
        return static_cast<std::int16_t>(v);
    return static_cast<std::int32_t>(v);
}

// The file must reach the end of the pixel rows its headers describe.
bool bitmapComplete(QIODevice& file)
{
    const QByteArray h = file.read(38);
    if (h.size() < 26 || h[0] != 'B' || h[1] != 'M')
        return false;
    const std::int64_t offset = le(h, 10, 4) & 0xFFFFFFFF;
    const std::int64_t headerSize = le(h, 14, 4);
    std::int64_t width = 0, height = 0, bits = 0, compression = 0, imageSize = 0;
    if (headerSize == 12) {  // the old OS/2 header
        width = le(h, 18, 2);
        height = le(h, 20, 2);
        bits = le(h, 24, 2);
    } else {
        if (h.size() < 38)
            return false;
        width = le(h, 18, 4);
        height = le(h, 22, 4);
        bits = le(h, 28, 2);
        compression = le(h, 30, 4);
        imageSize = le(h, 34, 4) & 0xFFFFFFFF;
    }
    std::int64_t need = 0;
    if (compression == 0 || compression == 3 || compression == 6) {  // plain rows
        const std::int64_t rowBytes = (std::abs(width) * bits + 31) / 32 * 4;
        need = offset + rowBytes * std::abs(height);
    } else if (compression == 1 || compression == 2) {  // run-length encoded
        need = offset + imageSize;
    } else {
        return true;  // left to the decoder
    }
    return file.size() >= need;
}

// After the last scan's start there must be the end-of-image marker. Inside the
// entropy-coded data a 0xFF byte is always followed by 0x00 or a restart marker,
// so neither marker can appear there by chance.
bool jpegComplete(QIODevice& file)
{
    bool endAfterScan = false;
    bool lastWasFF = false;
    QByteArray chunk;
    while (!(chunk = file.read(64 * 1024)).isEmpty()) {
        for (const char c : chunk) {
            const auto b = static_cast<std::uint8_t>(c);
            if (lastWasFF && b == 0xDA)
                endAfterScan = false;
            else if (lastWasFF && b == 0xD9)
                endAfterScan = true;
            lastWasFF = b == 0xFF;
        }
    }
    return endAfterScan;
}

}  // namespace

bool isComplete(QIODevice& file, const QByteArray& format)
{
    if (!file.seek(0))
        return false;
    if (format == "bmp")
        return bitmapComplete(file);
    if (format == "jpeg" || format == "jpg")
        return jpegComplete(file);
    return true;
}

}  // namespace kalidor
