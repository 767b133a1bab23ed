#include "support/sample_pictures.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

namespace kalidor::test {

namespace {

// Stripes of four colours; odd sizes give bitmap rows that need padding.
QImage stripes(int w, int h, QImage::Format format)
{
    QImage image(w, h, QImage::Format_ARGB32);
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 160, 0), qRgba(0, 0, 255, 128), qRgb(0, 0, 0)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, colours[(x + y) % 4]);
    return image.convertToFormat(format);
}

QByteArray written(const QImage& image, const char* format, bool progressive = false)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image) ? buffer.data() : QByteArray();
}

// Qt writes no GIF: a 2 x 2 one by hand, with a four-colour table, a
// transparent colour, and a clear code before each row so that every LZW code
// stays three bits wide.
QByteArray gif(bool interlaced)
{
    QByteArray b = QByteArray("GIF89a") + QByteArray::fromHex("02000200f10000");
    b += QByteArray::fromHex("ff000000ff000000ff000000");           // red, green, blue, black
    b += QByteArray::fromHex("21f9040100000000");                    // colour 0 is transparent
    b += QByteArray::fromHex("2c000000000200020000");               // the image, whole screen
    b[b.size() - 1] = interlaced ? char(0x40) : char(0);
    // Codes clear, 0, 1, clear, 2, 3, end, packed from the lowest bit up.
    return b + QByteArray::fromHex("020344a81500") + ';';
}

}  // namespace

std::vector<SamplePicture> samplePictures()
{
    return {
        {"rgb.bmp", written(stripes(7, 5, QImage::Format_RGB32), "bmp"), {7, 5}},
        {"indexed.bmp", written(stripes(9, 3, QImage::Format_Indexed8), "bmp"), {9, 3}},
        {"mono.bmp", written(stripes(11, 4, QImage::Format_Mono), "bmp"), {11, 4}},
        {"icon.ico", written(stripes(16, 16, QImage::Format_ARGB32), "ico"), {16, 16}},
        {"photo.jpg", written(stripes(16, 8, QImage::Format_RGB32), "jpeg"), {16, 8}},
        {"progressive.jpg", written(stripes(16, 8, QImage::Format_RGB32), "jpeg", true), {16, 8}},
        {"rgb.png", written(stripes(6, 5, QImage::Format_ARGB32), "png"), {6, 5}},
        {"indexed.png", written(stripes(5, 6, QImage::Format_Indexed8), "png"), {5, 6}},
        {"plain.gif", gif(false), {2, 2}},
        {"interlaced.gif", gif(true), {2, 2}},
    };
}

}  // namespace kalidor::test
