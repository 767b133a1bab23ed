#include "support/sample_pictures.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include "support/picture_writers.h"

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

// Wider than the fuzzer's canvas, read in part by Kalidor's own readers: an
// interlaced GIF with a transparent colour, an interlaced PNG with a palette,
// a run-length bitmap; blocks of 16 pixels keep them small.
int block(int x, int y) { return (x / 16 + 3 * (y / 16)) % 13; }

QByteArray wideGif()
{
    GifRecipe g;
    g.screen = QSize(520, 400);
    g.image = QRect(0, 0, 520, 400);
    g.interlaced = true;
    for (int i = 0; i < 16; ++i)
        g.screenColours.push_back(qRgb(i * 16, 255 - i * 16, i * 40 % 256));
    g.transparent = 5;
    g.codeSize = 4;
    const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = starts[pass]; y < 400; y += steps[pass])
            for (int x = 0; x < 520; ++x)
                g.values.push_back(std::uint8_t(block(x, y)));
    return gifFile(g);
}

QByteArray widePng()
{
    PngRecipe p{{520, 400}, 3, 4, true};
    for (int i = 0; i < 13; ++i)
        p.palette.push_back(qRgba(i * 19, 200 - i * 15, 90, 255 - i * 10));
    p.transparency = true;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 520; ++x)
            p.samples.push_back(std::uint16_t(block(x, y)));
    return pngFile(p);
}

QByteArray wideRunLength()
{
    std::vector<QRgb> colours;
    for (int i = 0; i < 13; ++i)
        colours.push_back(qRgb(255 - i * 19, i * 15, 120));
    std::vector<std::uint8_t> runs;
    for (int y = 399; y >= 0; --y) {
        runs.insert(runs.end(), {0, 3, std::uint8_t(block(0, y)), 1, 2, 0});  // a literal stretch, padded
        for (int x = 3; x < 520; x += 16 - x % 16)
            runs.insert(runs.end(), {std::uint8_t(std::min(520 - x, 16 - x % 16)), std::uint8_t(block(x, y))});
        runs.insert(runs.end(), {0, 0});
    }
    runs.insert(runs.end(), {0, 1});
    return runLengthBitmap(520, 400, 8, colours, runs);
}

void put16(QByteArray& b, quint32 v)
{
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}

void put32(QByteArray& b, quint32 v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

}  // namespace

QByteArray bitmap16(int w, int h, const std::function<quint16(int, int)>& value, const std::vector<quint32>& masks,
                    int headerSize, bool topDown)
{
    const int stride = (w * 16 + 31) / 32 * 4;
    const int offset = 14 + headerSize + (headerSize == 40 ? int(masks.size()) * 4 : 0);
    QByteArray b("BM");
    put32(b, quint32(offset + stride * h));
    put32(b, 0);
    put32(b, quint32(offset));
    put32(b, quint32(headerSize));
    put32(b, quint32(w));
    put32(b, topDown ? quint32(-h) : quint32(h));
    put16(b, 1);
    put16(b, 16);
    put32(b, masks.empty() ? 0 : 3);  // plain rows, or bit fields
    put32(b, quint32(stride * h));
    for (quint32 v : {2835, 2835, 0, 0})  // 72 dpi, no colour table
        put32(b, v);
    for (std::size_t i = 0; i < (headerSize == 40 ? masks.size() : 4); ++i)
        put32(b, i < masks.size() ? masks[i] : 0);
    if (headerSize > 40)
        put32(b, 0x73524742);  // sRGB
    b.append(QByteArray(offset - int(b.size()), '\0'));
    for (int row = 0; row < h; ++row) {
        const int y = topDown ? row : h - 1 - row;
        for (int x = 0; x < w; ++x)
            put16(b, value(x, y));
        b.append(QByteArray(stride - 2 * w, '\0'));
    }
    return b;
}

QByteArray withOrientation(const QByteArray& jpeg, int orientation)
{
    // "Exif", then a big-endian TIFF header and one directory of one entry:
    // tag 0x0112 (orientation), a short, one of them.
    QByteArray exif = QByteArray("Exif", 4) + QByteArray(2, '\0') +
                      QByteArray::fromHex("4d4d002a00000008" "0001" "011200030000000100");
    exif.append(char(orientation)).append(QByteArray(2 + 4, '\0'));
    QByteArray segment = QByteArray::fromHex("ffe1");
    segment.append(char((exif.size() + 2) >> 8)).append(char((exif.size() + 2) & 0xFF)).append(exif);
    return jpeg.left(2) + segment + jpeg.mid(2);  // right after the start-of-image marker
}

std::vector<SamplePicture> samplePictures()
{
    return {
        {"rgb.bmp", written(stripes(7, 5, QImage::Format_RGB32), "bmp"), {7, 5}},
        {"indexed.bmp", written(stripes(9, 3, QImage::Format_Indexed8), "bmp"), {9, 3}},
        {"mono.bmp", written(stripes(11, 4, QImage::Format_Mono), "bmp"), {11, 4}},
        {"565.bmp", bitmap16(5, 3, [](int x, int y) { return quint16(x * 0x1234 + y * 0x0841); },
                             {0xF800, 0x07E0, 0x001F}), {5, 3}},
        {"icon.ico", written(stripes(16, 16, QImage::Format_ARGB32), "ico"), {16, 16}},
        {"photo.jpg", written(stripes(16, 8, QImage::Format_RGB32), "jpeg"), {16, 8}},
        {"progressive.jpg", written(stripes(16, 8, QImage::Format_RGB32), "jpeg", true), {16, 8}},
        {"turned.jpg", withOrientation(written(stripes(16, 8, QImage::Format_RGB32), "jpeg"), 6), {8, 16}},
        {"rgb.png", written(stripes(6, 5, QImage::Format_ARGB32), "png"), {6, 5}},
        {"indexed.png", written(stripes(5, 6, QImage::Format_Indexed8), "png"), {5, 6}},
        // Wider than the fuzzer's canvas, so that they are read in part.
        {"wide.jpg", written(stripes(520, 400, QImage::Format_RGB32), "jpeg"), {520, 400}},
        {"wide.png", written(stripes(520, 400, QImage::Format_RGB32), "png"), {520, 400}},
        {"wide.gif", wideGif(), {520, 400}},
        {"interlaced.png", widePng(), {520, 400}},
        {"runs.bmp", wideRunLength(), {520, 400}},
        {"plain.gif", gif(false), {2, 2}},
        {"interlaced.gif", gif(true), {2, 2}},
    };
}

}  // namespace kalidor::test
