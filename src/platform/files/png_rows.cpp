#include "platform/files/png_rows.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

#include <QIODevice>
#include <png.h>

namespace kalidor {

namespace {

void readData(png_structp png, png_bytep out, png_size_t bytes)
{
    auto* file = static_cast<QIODevice*>(png_get_io_ptr(png));
    if (file->read(reinterpret_cast<char*>(out), static_cast<qint64>(bytes)) != static_cast<qint64>(bytes))
        png_error(png, "cut off");
}

[[noreturn]] void onError(png_structp png, png_const_charp) { std::longjmp(png_jmpbuf(png), 1); }
void onWarning(png_structp, png_const_charp) {}

// Everything the jump back from an error may leave half done lives in the
// caller's objects, so that no destructor is passed over.
bool readRows(png_structp png, png_infop info, QIODevice& file, QSize keep, int maxSide, QImage& image,
              std::vector<png_byte>& row)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, &file, readData);
    png_set_user_limits(png, static_cast<png_uint_32>(maxSide), static_cast<png_uint_32>(maxSide));
    png_read_info(png, info);
    if (png_get_interlace_type(png, info) != PNG_INTERLACE_NONE)
        return false;
    // Whatever the file holds comes out as 8-bit blue, green, red, alpha: the
    // bytes of QImage's ARGB32 on a little-endian machine.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4)
        return false;
    image = QImage(std::min(static_cast<int>(width), keep.width()), std::min(static_cast<int>(height), keep.height()),
                   QImage::Format_ARGB32);
    if (image.isNull())
        return false;
    row.resize(static_cast<std::size_t>(width) * 4);
    const auto kept = static_cast<png_uint_32>(image.height());
    const auto keptBytes = static_cast<std::size_t>(image.width()) * 4;
    for (png_uint_32 y = 0; y < height; ++y) {
        png_read_row(png, row.data(), nullptr);
        if (y < kept)
            std::memcpy(image.scanLine(static_cast<int>(y)), row.data(), keptBytes);
    }
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

bool pngInterlaced(QIODevice& file)
{
    // Signature, IHDR's length and type, width, height, depth, colour type,
    // compression, filter, interlace.
    if (!file.seek(0))
        return false;
    const QByteArray head = file.read(29);
    return head.size() == 29 && head[28] != 0;
}

std::optional<QImage> readPngTopLeft(QIODevice& file, QSize keep, int maxSide)
{
    if (!file.seek(0))
        return std::nullopt;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!png)
        return std::nullopt;
    png_infop info = png_create_info_struct(png);
    QImage image;
    std::vector<png_byte> row;
    const bool read = info && readRows(png, info, file, keep, maxSide, image, row);
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    if (!read)
        return std::nullopt;
    return image;
}

}  // namespace kalidor
