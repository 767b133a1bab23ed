#include "platform/files/picture_integrity.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <QIODevice>

#include "platform/files/bitmap_rle.h"
#include "platform/files/little_endian.h"

namespace kalidor {

namespace {

// Signed, as the bitmap header's fields are read.
std::int64_t le(const QByteArray& b, int at, int bytes)
{
    const std::uint32_t v = littleEndian(b, at, bytes);
    if (bytes == 2)
        return static_cast<std::int16_t>(v);
    return static_cast<std::int32_t>(v);
}

// The file must reach the end of the pixel rows its headers describe.
bool bitmapComplete(QIODevice& file)
{
    const QByteArray h = file.read(50);
    if (h.size() < 26 || h[0] != 'B' || h[1] != 'M')
        return false;
    const std::int64_t offset = le(h, 10, 4) & 0xFFFFFFFF;
    const std::int64_t headerSize = le(h, 14, 4);
    if (headerSize < 12)
        return false;
    std::int64_t width = 0, height = 0, bits = 0, compression = 0, imageSize = 0, colours = 0;
    if (headerSize != 40 && headerSize != 64 && headerSize != 108 && headerSize != 124) {
        width = le(h, 18, 2);  // the old OS/2 header, as the decoder reads any other size
        height = le(h, 20, 2);
        bits = le(h, 24, 2);
    } else {
        if (h.size() < 50)
            return false;
        width = le(h, 18, 4);
        height = le(h, 22, 4);
        bits = le(h, 28, 2);
        compression = le(h, 30, 4);
        imageSize = le(h, 34, 4) & 0xFFFFFFFF;
        colours = le(h, 46, 4) & 0xFFFFFFFF;
    }
    if (bits < 1 || bits > 32)
        return false;  // no bitmap has such pixels
    // The decoder reads the colour masks and the colour table after the headers
    // and takes the pixels from there on when the file header points before.
    const std::int64_t masks = compression == 3 && headerSize < 108 ? 12 : 0;
    const std::int64_t entries = bits <= 8 ? (colours != 0 ? colours : 1LL << bits) : 0;
    const std::int64_t start = std::max(offset, 14 + headerSize + masks + entries * (headerSize == 12 ? 3 : 4));
    if (file.size() < start)
        return false;
    if (compression == 0 || compression == 3 || compression == 6) {  // plain rows
        // Divided, as rows times their length may not fit in 64 bits.
        const std::int64_t rowBytes = (std::abs(width) * bits + 31) / 32 * 4;
        return rowBytes == 0 || (file.size() - start) / rowBytes >= std::abs(height);
    }
    if (compression == 1 || compression == 2)  // run-length encoded: the runs must reach their end too
        return file.size() - start >= imageSize && runLengthComplete(file);
    return true;  // left to the decoder
}

// Whether libjpeg reads a length after the marker and passes over that many
// bytes: frames, tables, scans, restart intervals, applications' segments and
// comments. It takes any other marker alone, or refuses it.
bool segmentFollows(std::uint8_t marker)
{
    return (marker >= 0xC0 && marker <= 0xCF) || (marker >= 0xDA && marker <= 0xDD) ||
           (marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE;
}

// The markers must lead to the end-of-image marker, found as libjpeg finds
// it. Segments carry their length and may hold any bytes, markers among them
// (an EXIF thumbnail is a whole JPEG), so they are passed over by it. Between
// them, and in the entropy-coded data after a scan's header, libjpeg looks for
// the next marker: a 0xFF byte followed by 0x00 is data, not a marker, as are
// the restart markers within a scan, and a marker without a segment is taken
// alone. A check that read a length after such bytes would land elsewhere
// than the decoder, and could take bytes it passes over for the end.
class JpegWalk {
public:
    // Takes the next byte; true once it ends the picture.
    bool step(std::uint8_t b)
    {
        if (at_ == At::DataFF) {
            if (b == 0x00 || (b >= 0xD0 && b <= 0xD7))
                at_ = At::Data;
            else if (b != 0xFF)
                at_ = At::Code;  // a marker: read below
        }
        switch (at_) {
        case At::Marker:  // the decoder passes over stray bytes before one
        case At::Data:
            if (b == 0xFF)
                at_ = at_ == At::Data ? At::DataFF : At::Code;
            break;
        case At::Code:
            return marker(b);
        case At::LengthHigh:
            left_ = b << 8;
            at_ = At::LengthLow;
            break;
        case At::LengthLow:
            // The length counts its own two bytes; the decoder passes over
            // nothing for a shorter one.
            left_ = std::max<std::int64_t>((left_ | b) - 2, 0);
            at_ = left_ > 0 ? At::Segment : scan_ ? At::Data : At::Marker;
            break;
        case At::Segment:
            if (--left_ == 0)
                at_ = scan_ ? At::Data : At::Marker;
            break;
        case At::DataFF:
            break;
        }
        return false;
    }

private:
    enum class At { Marker, Code, LengthHigh, LengthLow, Segment, Data, DataFF };

    bool marker(std::uint8_t b)
    {
        if (b == 0xD9)
            return true;
        if (segmentFollows(b)) {
            scan_ = b == 0xDA;
            at_ = At::LengthHigh;
        } else if (b != 0xFF) {  // 0xFF pads before a marker
            at_ = At::Marker;
        }
        return false;
    }

    At at_ = At::Marker;
    bool scan_ = false;
    std::int64_t left_ = 0;
};

bool jpegComplete(QIODevice& file)
{
    JpegWalk walk;
    std::vector<char> chunk(64 * 1024);
    for (qint64 read = 0; (read = file.read(chunk.data(), static_cast<qint64>(chunk.size()))) > 0;)
        for (qint64 i = 0; i < read; ++i)
            if (walk.step(static_cast<std::uint8_t>(chunk[static_cast<std::size_t>(i)])))
                return true;
    return false;
}

// One block, led by its length.
bool skipBlock(QIODevice& file, std::uint8_t& length)
{
    char c = 0;
    if (!file.getChar(&c))
        return false;
    length = static_cast<std::uint8_t>(c);
    return file.skip(length) == length;
}

// Blocks up to the empty one that ends them.
bool skipSubBlocks(QIODevice& file)
{
    std::uint8_t length = 0;
    do {
        if (!skipBlock(file, length))
            return false;
    } while (length != 0);
    return true;
}

// A colour table follows a descriptor whose flags byte says so.
bool skipColourTable(QIODevice& file, char flags)
{
    if (!(flags & 0x80))
        return true;
    const qint64 bytes = 3 << ((flags & 7) + 1);
    return file.skip(bytes) == bytes;
}

// The first image, the one shown, must reach the end of its data: the
// extensions before it and its own data are chains of sub-blocks.
bool gifComplete(QIODevice& file)
{
    const QByteArray screen = file.read(13);
    if (screen.size() < 13 || !skipColourTable(file, screen[10]))
        return false;
    char block = 0, byte = 0;
    while (file.getChar(&block)) {
        if (block == 0x21) {  // an extension: its label, then its data
            if (!file.getChar(&byte))
                return false;
            // The decoder reads the first block of a graphic control or application
            // extension whole, even an empty one.
            std::uint8_t first = 0;
            if ((byte == '\xF9' || byte == '\xFF') && !skipBlock(file, first))
                return false;
            if (!skipSubBlocks(file))
                return false;
        } else if (block == 0x2C) {  // the image: descriptor, colours, code size, data
            const QByteArray image = file.read(9);
            return image.size() == 9 && skipColourTable(file, image[8]) && file.getChar(&byte) &&
                   skipSubBlocks(file);
        } else {
            return true;  // left to the decoder
        }
    }
    return false;
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
    if (format == "gif")
        return gifComplete(file);
    return true;
}

}  // namespace kalidor
