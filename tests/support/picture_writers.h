#pragma once
// Pictures written byte by byte, in the kinds Qt cannot write or writes only
// one way: GIFs with any screen, image placement, colour tables, transparency
// and LZW code size; PNGs of every colour type, depth and interlacing; bitmaps
// whose rows are run-length encoded. Used to hold Kalidor's own readers to
// what Qt's reader makes of the same files.

#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QRect>
#include <QRgb>
#include <QSize>

namespace kalidor::test {

struct GifRecipe {
    QSize screen;  // 0 for the image's far edge
    QRect image;
    bool interlaced = false;
    std::vector<QRgb> screenColours;  // none, or 2, 4, ... 256
    int screenBits = 1;               // the table size the header names, even with no table
    std::vector<QRgb> imageColours;   // none, or 2, 4, ... 256
    int background = 0;
    int transparent = -1;
    int codeSize = 8;                 // the LZW minimum code size; values below 1 << codeSize
    std::vector<std::uint8_t> values; // in the order the data holds them
    int clearEvery = 0;               // a clear code every so many codes, besides a full table's
    bool endCode = true;
    int blockSize = 255;
};
QByteArray gifFile(const GifRecipe& recipe);

struct PngRecipe {
    QSize size;
    int colourType = 2;  // 0 grey, 2 colour, 3 palette, 4 grey and alpha, 6 colour and alpha
    int depth = 8;
    bool interlaced = false;
    std::vector<QRgb> palette;              // for type 3, with alpha for tRNS
    bool transparency = false;              // a tRNS chunk: the palette's alphas, or the colour below
    std::uint16_t transparentGrey = 0;      // for types 0 and 2 (red, green, blue alike)
    std::vector<std::uint16_t> samples;     // per pixel per channel, row by row
};
QByteArray pngFile(const PngRecipe& recipe);

// A run-length encoded bitmap (RLE8, or RLE4 with `bits` 4). `runs` are the
// encoded bytes after the colours, as written; the header's image size is theirs.
QByteArray runLengthBitmap(int width, int height, int bits, const std::vector<QRgb>& colours,
                           const std::vector<std::uint8_t>& runs);

}  // namespace kalidor::test
