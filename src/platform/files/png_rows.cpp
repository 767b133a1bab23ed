#include "platform/files/png_rows.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

#include <QIODevice>
#include <png.h>

namespace kalidor {

namespace {

struct Source {
    QIODevice* file;
    bool atEnd = false;  // reading what follows the pixels
};

void readData(png_structp png, png_bytep out, png_size_t bytes)
{
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    QIODevice& file = *source->file;
    // Qt's reader takes a file whose last chunk lacks its checksum, as some
    // writers leave it; so does this one.
    if (source->atEnd && bytes == 4 && file.size() - file.pos() < 4) {
        const png_byte endChecksum[4] = {0xAE, 0x42, 0x60, 0x82};
        std::memcpy(out, endChecksum, 4);
        file.seek(file.size());
        return;
    }
    if (file.read(reinterpret_cast<char*>(out), static_cast<qint64>(bytes)) != static_cast<qint64>(bytes))
        png_error(png, "cut off");
}

[[noreturn]] void onError(png_structp png, png_const_charp) { std::longjmp(png_jmpbuf(png), 1); }
void onWarning(png_structp, png_const_charp) {}

struct Layout {
    QImage::Format format = QImage::Format_Invalid;
    QList<QRgb> colours;  // for Mono and Indexed8
    int entries = 0;      // pixels past the palette's end show its first colour
};

// A grey PNG as Qt's reader lays it out: black and white as a 1-bit picture,
// 8 and 16 bits as grey, 16 bits with a transparent grey as colour with alpha,
// and the rest as indices into a ramp of greys with the transparent one clear.
void greyLayout(png_structp png, png_infop info, int depth, Layout& l)
{
    png_bytep alphas = nullptr;
    int transparent = 0;
    png_color_16p grey = nullptr;
    const bool hasTransparent = png_get_tRNS(png, info, &alphas, &transparent, &grey) && grey;
    if (depth == 1) {
        png_set_invert_mono(png);
        l.format = QImage::Format_Mono;
        l.colours = {qRgb(255, 255, 255), qRgb(0, 0, 0)};
        if (hasTransparent && grey->gray == 0)
            l.colours[1] = qRgba(0, 0, 0, 0);
        else if (hasTransparent && grey->gray == 1)
            l.colours[0] = qRgba(255, 255, 255, 0);
    } else if (depth == 16) {
        const bool masked = png_get_valid(png, info, PNG_INFO_tRNS);
        if (masked) {
            png_set_expand(png);
            png_set_gray_to_rgb(png);
        }
        l.format = masked ? QImage::Format_RGBA64 : QImage::Format_Grayscale16;
        png_set_swap(png);
    } else if (depth == 8 && !png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_expand(png);
        l.format = QImage::Format_Grayscale8;
    } else {
        if (depth < 8)
            png_set_packing(png);
        const int levels = depth < 8 ? 1 << depth : 256;
        l.format = QImage::Format_Indexed8;
        for (int i = 0; i < levels; ++i)
            l.colours.append(qRgb(i * 255 / (levels - 1), i * 255 / (levels - 1), i * 255 / (levels - 1)));
        if (hasTransparent && grey->gray < levels)
            l.colours[grey->gray] = 0;
    }
}

// A palette PNG: 1-bit as such, deeper as bytes, with the palette's alphas.
void paletteLayout(png_structp png, png_infop info, int depth, png_colorp palette, int entries, Layout& l)
{
    if (depth != 1)
        png_set_packing(png);
    l.format = depth == 1 ? QImage::Format_Mono : QImage::Format_Indexed8;
    png_bytep alphas = nullptr;
    int alphaCount = 0;
    png_color_16p grey = nullptr;
    if (!png_get_tRNS(png, info, &alphas, &alphaCount, &grey) || !alphas)
        alphaCount = 0;
    for (int i = 0; i < entries; ++i)
        l.colours.append(qRgba(palette[i].red, palette[i].green, palette[i].blue, i < alphaCount ? alphas[i] : 0xFF));
    // Qt's reader gives a 1-bit picture two colours, however few the palette has.
    if (l.format == QImage::Format_Mono)
        l.colours.resize(2);
    l.entries = static_cast<int>(l.colours.size());
}

// Colour and grey with alpha: 16 bits as 64-bit colour, 8 bits as 32-bit
// colour, with alpha where the file has it or a transparent colour.
void colourLayout(png_structp png, png_infop info, int depth, int type, Layout& l)
{
    const bool alpha = (type & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    if (depth == 16) {
        if (!alpha)
            png_set_filler(png, 0xFFFF, PNG_FILLER_AFTER);
        if (!(type & PNG_COLOR_MASK_COLOR))
            png_set_gray_to_rgb(png);
        l.format = alpha ? QImage::Format_RGBA64 : QImage::Format_RGBX64;
        png_set_swap(png);
        return;
    }
    png_set_expand(png);
    if (type == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if (!alpha)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    l.format = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    png_set_bgr(png);
}

void qtLayout(png_structp png, png_infop info, Layout& l)
{
    const int depth = png_get_bit_depth(png, info);
    const int type = png_get_color_type(png, info);
    png_colorp palette = nullptr;
    int entries = 0;
    if (type == PNG_COLOR_TYPE_GRAY)
        greyLayout(png, info, depth, l);
    else if (type == PNG_COLOR_TYPE_PALETTE && png_get_PLTE(png, info, &palette, &entries) && entries <= 256)
        paletteLayout(png, info, depth, palette, entries, l);
    else
        colourLayout(png, info, depth, type, l);
}

// Copies the first `bytes` of each kept row in and out of the row libpng
// writes, so that an interlaced pass adds its pixels to the earlier passes'.
void readAllRows(png_structp png, int passes, png_uint_32 height, QImage& image, std::vector<png_byte>& row,
                 std::size_t bytes)
{
    const auto kept = static_cast<png_uint_32>(image.height());
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y) {
            uchar* line = y < kept ? image.scanLine(static_cast<int>(y)) : nullptr;
            if (line)
                std::memcpy(row.data(), line, bytes);
            png_read_row(png, row.data(), nullptr);
            if (line)
                std::memcpy(line, row.data(), bytes);
        }
    }
}

// Pixels past the palette's end show as its first colour, as the reader
// shows them.
void clampIndices(QImage& image, int entries)
{
    for (int y = 0; y < image.height(); ++y) {
        uchar* p = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            if (p[x] >= entries)
                p[x] = 0;
    }
}

// What readRows fills in. Everything the jump back from an error may leave
// half done lives in the caller's objects, so that no destructor is passed over.
struct Read {
    Layout layout;
    QImage image;
    std::vector<png_byte> row;
};

bool readRows(png_structp png, png_infop info, Source& source, QSize keep, int maxSide, Read& read)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, &source, readData);
    png_set_user_limits(png, static_cast<png_uint_32>(maxSide), static_cast<png_uint_32>(maxSide));
#if defined(PNG_SET_OPTION_SUPPORTED) && defined(PNG_MAXIMUM_INFLATE_WINDOW)
    png_set_option(png, PNG_MAXIMUM_INFLATE_WINDOW, PNG_OPTION_ON);  // as Qt's reader, for files some writers make
#endif
    png_read_info(png, info);
    const int passes = png_set_interlace_handling(png);
    qtLayout(png, info, read.layout);
    png_read_update_info(png, info);
    const Layout& layout = read.layout;
    QImage& image = read.image;
    std::vector<png_byte>& row = read.row;
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    image = QImage(std::min(static_cast<int>(width), keep.width()), std::min(static_cast<int>(height), keep.height()),
                   layout.format);
    if (image.isNull())
        return false;
    image.fill(0);
    if (!layout.colours.isEmpty())
        image.setColorTable(layout.colours);
    row.resize(std::max<std::size_t>(png_get_rowbytes(png, info), static_cast<std::size_t>(image.bytesPerLine())));
    const std::size_t keptBytes = std::min<std::size_t>(png_get_rowbytes(png, info),
                                                        (static_cast<std::size_t>(image.width()) * image.depth() + 7) / 8);
    readAllRows(png, passes, height, image, row, keptBytes);
    if (layout.format == QImage::Format_Indexed8 && layout.entries > 0)
        clampIndices(image, layout.entries);
    source.atEnd = true;
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

std::optional<QImage> readPngTopLeft(QIODevice& file, QSize keep, int maxSide)
{
    if (!file.seek(0))
        return std::nullopt;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!png)
        return std::nullopt;
    png_infop info = png_create_info_struct(png);
    Read read;
    Source source{&file};
    const bool done = info && readRows(png, info, source, keep, maxSide, read);
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    if (!done)
        return std::nullopt;
    return std::move(read.image);
}

}  // namespace kalidor
