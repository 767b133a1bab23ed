#include "platform/files/bitmap_part.h"

#include <cstdint>
#include <cstdlib>

#include <QIODevice>

#include "platform/files/little_endian.h"

namespace kalidor {

namespace {

struct Layout {
    std::int64_t offset;  // where the rows start
    std::int32_t width;
    std::int32_t height;  // negative: rows from the top down
    int bits;
};

std::optional<Layout> plainLayout(QIODevice& file)
{
    if (!file.seek(0))
        return std::nullopt;
    const QByteArray h = file.read(54);
    if (h.size() < 54 || h[0] != 'B' || h[1] != 'M')
        return std::nullopt;
    const std::uint32_t headerSize = littleEndian(h, 14, 4);
    const std::uint32_t compression = littleEndian(h, 30, 4);
    const auto bits = static_cast<int>(littleEndian(h, 28, 2));
    // The common headers; plain rows, with or without bit fields.
    if ((headerSize != 40 && headerSize != 108 && headerSize != 124) || (compression != 0 && compression != 3))
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return std::nullopt;
    const auto width = static_cast<std::int32_t>(littleEndian(h, 18, 4));
    const auto height = static_cast<std::int32_t>(littleEndian(h, 22, 4));
    if (width <= 0 || height == 0 || height == INT32_MIN)
        return std::nullopt;
    // Rows that start where the file says: the decoder takes them from after the
    // colours where the file points before them.
    const std::uint32_t colours = littleEndian(h, 46, 4);
    const std::int64_t table = bits <= 8 ? 4LL * (colours != 0 ? colours : 1U << bits) : 0;
    const std::int64_t masks = compression == 3 && headerSize < 108 ? 12 : 0;
    const std::int64_t offset = littleEndian(h, 10, 4);
    if (offset < 14 + headerSize + masks + table)
        return std::nullopt;
    return Layout{offset, width, height, bits};
}

void putLittleEndian(QByteArray& b, int at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::int64_t rowBytes(std::int64_t width, int bits) { return (width * bits + 31) / 32 * 4; }

}  // namespace

bool bitmapRowsPlain(QIODevice& file) { return plainLayout(file).has_value(); }

std::optional<QByteArray> bitmapTopLeft(QIODevice& file, QSize keep)
{
    const std::optional<Layout> l = plainLayout(file);
    if (!l || keep.width() > l->width || keep.height() > std::abs(l->height) || keep.isEmpty())
        return std::nullopt;
    const std::int64_t rows = std::abs(l->height);
    const std::int64_t stride = rowBytes(l->width, l->bits);
    const std::int64_t kept = rowBytes(keep.width(), l->bits);
    // Everything up to the rows as it is: the headers, masks and colours.
    if (!file.seek(0))
        return std::nullopt;
    QByteArray part = file.read(l->offset);
    if (part.size() != l->offset)
        return std::nullopt;
    putLittleEndian(part, 18, static_cast<std::uint32_t>(keep.width()));
    putLittleEndian(part, 22, static_cast<std::uint32_t>(l->height < 0 ? -keep.height() : keep.height()));
    putLittleEndian(part, 34, static_cast<std::uint32_t>(kept * keep.height()));
    part.reserve(static_cast<qsizetype>(l->offset + kept * keep.height()));
    // Stored from the bottom up, the top rows are the file's last ones.
    const std::int64_t first = l->height > 0 ? rows - keep.height() : 0;
    for (std::int64_t r = first; r < first + keep.height(); ++r) {
        if (!file.seek(l->offset + r * stride))
            return std::nullopt;
        const QByteArray row = file.read(kept);
        if (row.size() != kept)
            return std::nullopt;
        part.append(row);
    }
    putLittleEndian(part, 2, static_cast<std::uint32_t>(part.size()));
    return part;
}

}  // namespace kalidor
