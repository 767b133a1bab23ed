#include "platform/files/gif_frame.h"

#include <cstdint>
#include <vector>

#include <QIODevice>

#include "platform/files/little_endian.h"

namespace kalidor {

namespace {

constexpr QRgb kTransparentWhite = 0x00FFFFFF;

std::optional<std::uint8_t> byteAt(QIODevice& file)
{
    char c = 0;
    if (!file.getChar(&c))
        return std::nullopt;
    return static_cast<std::uint8_t>(c);
}

// A colour table of `entries` colours, with transparent white one past its end.
std::optional<std::vector<QRgb>> readTable(QIODevice& file, int entries)
{
    const QByteArray rgb = file.read(3LL * entries);
    if (rgb.size() != 3LL * entries)
        return std::nullopt;
    std::vector<QRgb> table(static_cast<std::size_t>(entries) + 1, kTransparentWhite);
    for (int i = 0; i < entries; ++i)
        table[static_cast<std::size_t>(i)] = qRgb(static_cast<std::uint8_t>(rgb[3 * i]),
                                                  static_cast<std::uint8_t>(rgb[3 * i + 1]),
                                                  static_cast<std::uint8_t>(rgb[3 * i + 2]));
    return table;
}

bool skipSubBlocks(QIODevice& file)
{
    for (;;) {
        const std::optional<std::uint8_t> length = byteAt(file);
        if (!length)
            return false;
        if (*length == 0)
            return true;
        if (file.skip(*length) != *length)
            return false;
    }
}

// An extension after its introducer: a graphic control extension sets the
// transparent colour (its first block's first and fourth bytes), any other is
// passed over. The reader takes the first block of a graphic control or
// application extension whole, even an empty one; a graphic control block too
// short to hold the colour is refused, as the reader would fill it from what
// it read before.
bool readExtension(QIODevice& file, int& transparent)
{
    const std::optional<std::uint8_t> label = byteAt(file);
    if (!label)
        return false;
    if (*label == 0xF9 || *label == 0xFF) {
        const std::optional<std::uint8_t> length = byteAt(file);
        if (!length)
            return false;
        const QByteArray block = file.read(*length);
        if (block.size() != *length)
            return false;
        if (*label == 0xF9) {
            if (*length < 4)
                return false;
            transparent = block[0] & 1 ? static_cast<std::uint8_t>(block[3]) : -1;
        }
    }
    return skipSubBlocks(file);
}

// The extensions before the first image, up to its descriptor's introducer.
bool passExtensions(QIODevice& file, int& transparent)
{
    for (;;) {
        const std::optional<std::uint8_t> introducer = byteAt(file);
        if (introducer == 0x2C)
            return true;
        // The trailer before any image, or not a block at all.
        if (introducer != 0x21 || !readExtension(file, transparent))
            return false;
    }
}

// What pixel value i shows, as the reader's colour lookup gives it.
std::array<QRgb, 256> colours(const std::vector<QRgb>* table, int entries, int transparent)
{
    std::array<QRgb, 256> shown{};
    for (int i = 0; i < 256; ++i) {
        QRgb c = i > entries ? kTransparentWhite : table ? (*table)[static_cast<std::size_t>(i)] : 0;
        if (i == transparent)
            c &= kTransparentWhite;
        shown[static_cast<std::size_t>(i)] = c;
    }
    return shown;
}

}  // namespace

std::optional<GifFrame> readGifFrame(QIODevice& file)
{
    if (!file.seek(0))
        return std::nullopt;
    const QByteArray head = file.read(13);
    if (head.size() != 13 || !head.startsWith("GIF8"))
        return std::nullopt;
    const auto screenFlags = static_cast<std::uint8_t>(head[10]);
    const int screenEntries = 2 << (screenFlags & 7);
    std::optional<std::vector<QRgb>> screenTable;
    if ((screenFlags & 0x80) && !(screenTable = readTable(file, screenEntries)))
        return std::nullopt;
    const int background = screenTable ? static_cast<std::uint8_t>(head[11]) : -1;
    int transparent = -1;
    if (!passExtensions(file, transparent))
        return std::nullopt;
    const QByteArray descriptor = file.read(9);
    if (descriptor.size() != 9)
        return std::nullopt;
    GifFrame frame;
    frame.image = QRect(static_cast<int>(littleEndian(descriptor, 0, 2)), static_cast<int>(littleEndian(descriptor, 2, 2)),
                        static_cast<int>(littleEndian(descriptor, 4, 2)), static_cast<int>(littleEndian(descriptor, 6, 2)));
    const int headerWidth = static_cast<int>(littleEndian(head, 6, 2));
    const int headerHeight = static_cast<int>(littleEndian(head, 8, 2));
    frame.screenWidth = headerWidth > 0 ? headerWidth : frame.image.left() + frame.image.width();
    frame.screenHeight = headerHeight > 0 ? headerHeight : frame.image.top() + frame.image.height();
    const auto imageFlags = static_cast<std::uint8_t>(descriptor[8]);
    frame.interlaced = imageFlags & 0x40;
    frame.transparent = transparent >= 0;
    std::optional<std::vector<QRgb>> imageTable;
    const int imageEntries = 2 << (imageFlags & 7);
    if ((imageFlags & 0x80) && !(imageTable = readTable(file, imageEntries)))
        return std::nullopt;
    const std::vector<QRgb>* table = imageTable ? &*imageTable : screenTable ? &*screenTable : nullptr;
    frame.colours = colours(table, imageTable ? imageEntries : screenEntries, transparent);
    // The reader fills the screen before it reads the image's own colours and
    // takes whatever memory holds; the image's colours are taken here.
    if (transparent >= 0)
        frame.backdrop = frame.colours[static_cast<std::size_t>(transparent)];
    else if (background >= 0)
        frame.backdrop = frame.colours[static_cast<std::size_t>(background)];
    const std::optional<std::uint8_t> codeSize = byteAt(file);
    if (!codeSize || *codeSize > 12)
        return std::nullopt;
    frame.codeSize = *codeSize;
    return frame;
}

}  // namespace kalidor
