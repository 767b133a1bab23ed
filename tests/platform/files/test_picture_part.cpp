// A picture read in part by Kalidor's own readers is what Qt's reader makes of
// the whole file, cut to that part, as the canvas shows it: GIFs of any screen,
// image placement, colour tables, transparency, code size and interlacing;
// PNGs of every colour type, depth and interlacing; run-length bitmaps whose
// runs overrun their rows. Seeded random pictures, each read with a part
// smaller than it; a failure names the kind and the seed. The same files cut
// short are refused.

#include <functional>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include "platform/files/picture_file.h"
#include "support/picture_writers.h"

using namespace kalidor;
using namespace kalidor::test;

namespace {

constexpr int kPictures = 400;

// On white, as the canvas shows a picture.
QImage shown(const QImage& image)
{
    QImage canvas(image.size(), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter(&canvas).drawImage(0, 0, image);
    return canvas;
}

QImage qtWhole(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

LoadedPicture inPart(const QByteArray& bytes, QSize keep)
{
    return ReadPicture(std::as_bytes(std::span(bytes.constData(), std::size_t(bytes.size()))),
                       LoadLimits{keep.width(), keep.height()});
}

// Empty when the part matches the whole cut, else what differs.
QString partDiffers(const QByteArray& file, QRandomGenerator& random)
{
    const QImage whole = qtWhole(file);
    if (whole.isNull())
        return "Qt's reader refuses it";
    // Smaller than the picture one way at least, so that the part is read alone.
    QSize keep(int(random.bounded(1, whole.width() + 1)), int(random.bounded(1, whole.height() + 1)));
    if (keep == whole.size())
        (random.bounded(2) && keep.width() > 1 ? keep.rwidth() : keep.rheight()) -= 1;
    if (keep.isEmpty())
        return {};  // a picture of one pixel has no smaller part
    const LoadedPicture part = inPart(file, keep);
    if (!part.picture)
        return QString("refused (%1) in part %2x%3").arg(int(part.failure)).arg(keep.width()).arg(keep.height());
    if (QSize(part.width, part.height) != whole.size())
        return QString("size %1x%2, Qt's %3x%4").arg(part.width).arg(part.height).arg(whole.width()).arg(whole.height());
    const QImage got = shown(part.picture->image());
    const QImage want = shown(whole.copy(QRect(QPoint(0, 0), keep)));
    if (got.size() != want.size())
        return QString("part %1x%2 of %3x%4").arg(got.width()).arg(got.height()).arg(keep.width()).arg(keep.height());
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            if (got.pixel(x, y) != want.pixel(x, y))
                return QString("at %1,%2 of %3x%4 (part %5x%6): %7, Qt %8")
                    .arg(x).arg(y).arg(whole.width()).arg(whole.height()).arg(keep.width()).arg(keep.height())
                    .arg(got.pixel(x, y), 8, 16).arg(want.pixel(x, y), 8, 16);
    return {};
}

// Cut before its last `tail` bytes, the file is refused when read in part.
bool cutIsRefused(const QByteArray& file, int tail, QRandomGenerator& random)
{
    const QByteArray cut = file.left(qsizetype(random.bounded(qint64(file.size() - tail))));
    const QImage whole = qtWhole(file);
    return !inPart(cut, QSize(std::max(1, whole.width() - 1), std::max(1, whole.height() - 1))).picture;
}

std::vector<QRgb> randomColours(QRandomGenerator& random, int count, bool alpha)
{
    std::vector<QRgb> colours(std::size_t(count), 0);
    for (QRgb& c : colours)
        c = alpha ? random.generate() : random.generate() | 0xFF000000;
    return colours;
}

// Values in runs, as pictures have them, so that LZW finds strings to reuse.
std::vector<std::uint8_t> runsOfValues(QRandomGenerator& random, int count, int below)
{
    std::vector<std::uint8_t> values;
    while (int(values.size()) < count) {
        const auto v = std::uint8_t(random.bounded(below));
        values.insert(values.end(), std::size_t(random.bounded(1, 12)), v);
    }
    values.resize(std::size_t(count));
    return values;
}

GifRecipe randomGif(QRandomGenerator& random)
{
    GifRecipe g;
    const int w = int(random.bounded(1, 40)), h = int(random.bounded(1, 40));
    g.image = QRect(int(random.bounded(w / 2 + 1)) * int(random.bounded(2)), int(random.bounded(h / 2 + 1)) * int(random.bounded(2)),
                    int(random.bounded(1, w + 6)), int(random.bounded(1, h + 6)));
    // A screen of 0 takes the image's far edge; now and then the image is wider
    // or taller than its screen, or starts beyond it.
    g.screen = random.bounded(8) == 0 ? QSize(0, 0) : QSize(w, h);
    g.interlaced = random.bounded(2);
    if (random.bounded(5))
        g.screenColours = randomColours(random, 2 << random.bounded(8), false);
    g.screenBits = int(random.bounded(1, 9));
    const bool covers = g.image.topLeft() == QPoint(0, 0) && g.image.width() >= w && g.image.height() >= h;
    g.transparent = random.bounded(2) ? int(random.bounded(256)) % (random.bounded(2) ? 4 : 256) : -1;
    // Qt's reader fills an image that does not cover its screen before it reads
    // the image's own colours, from memory it never set: only where the fill is
    // transparent is that not seen.
    if (random.bounded(3) == 0 && (covers || g.transparent >= 0 || g.screenColours.empty()))
        g.imageColours = randomColours(random, 2 << random.bounded(8), false);
    g.background = int(random.bounded(256)) % (random.bounded(2) ? 4 : 256);
    g.codeSize = random.bounded(10) == 0 ? 1 : int(random.bounded(2, 9));
    const int pixels = g.image.width() * g.image.height();
    // Most carry exactly their pixels; some fewer, as a reader must take, some more.
    const int count = random.bounded(4) ? pixels : int(random.bounded(pixels * 2 + 1));
    const int tables = int(std::max(g.screenColours.size(), g.imageColours.size()));
    g.values = runsOfValues(random, count, std::min(1 << g.codeSize, tables > 0 ? tables + 2 : 8));
    g.clearEvery = random.bounded(3) ? 0 : int(random.bounded(1, 300));
    g.endCode = random.bounded(8) != 0;
    g.blockSize = int(random.bounded(1, 256));
    return g;
}

PngRecipe randomPng(QRandomGenerator& random)
{
    PngRecipe p;
    p.size = QSize(int(random.bounded(1, 40)), int(random.bounded(1, 40)));
    const int types[] = {0, 2, 3, 4, 6};
    p.colourType = types[random.bounded(5)];
    const std::vector<int> depths = p.colourType == 0 ? std::vector<int>{1, 2, 4, 8, 16}
                                    : p.colourType == 3 ? std::vector<int>{1, 2, 4, 8}
                                                        : std::vector<int>{8, 16};
    p.depth = depths[random.bounded(int(depths.size()))];
    p.interlaced = random.bounded(2);
    const int top = (1 << p.depth) - 1;
    // Qt's reader gives 16-bit colour with a transparent colour no alpha
    // channel to read it into: it shows memory it never set.
    p.transparency = random.bounded(3) == 0 && !(p.colourType == 2 && p.depth == 16) && p.colourType < 4;
    if (p.colourType == 3)
        p.palette = randomColours(random, int(random.bounded(1, top + 2)), p.transparency);
    p.transparentGrey = std::uint16_t(random.bounded(top + 1));
    const int channels = p.colourType == 2 ? 3 : p.colourType == 4 ? 2 : p.colourType == 6 ? 4 : 1;
    for (int i = 0; i < p.size.width() * p.size.height(); ++i) {
        const bool clear = p.transparency && random.bounded(4) == 0;
        for (int c = 0; c < channels; ++c)
            p.samples.push_back(clear ? p.transparentGrey : std::uint16_t(random.bounded(top + 1)));
    }
    return p;
}

// Rows of runs and literal stretches, each row filled (and some overrun into
// the next row in memory) before its end; the last row's end, or the end
// marker, ends them. Literal stretches never reach past the first row's end,
// where the reader cuts them short and reads the rest as runs.
QByteArray randomRunLength(QRandomGenerator& random)
{
    const int bits = random.bounded(2) ? 8 : 4;
    const int w = int(random.bounded(1, 40)), h = int(random.bounded(1, 30));
    const std::vector<QRgb> colours = randomColours(random, int(random.bounded(1, (1 << bits) + 1)), false);
    const int stride = (w + 3) / 4 * 4;
    const long long end = (h - 1LL) * stride + w;
    std::vector<std::uint8_t> runs;
    // Within the colours: past them, Qt draws what lies beyond its colour table.
    auto value = [&] { return int(random.bounded(int(colours.size()))); };
    for (int y = 0; y < h; ++y) {
        long long at = (h - 1LL - y) * stride;
        int x = 0;
        while (x < w) {
            const int n = int(random.bounded(1, std::min(255, w + 8) + 1));
            const long long room = end - at;
            if (random.bounded(3) == 0 && n >= 3 && n <= room) {
                runs.push_back(0);
                runs.push_back(std::uint8_t(n));
                const int bytes = bits == 8 ? n : (n + 1) / 2;
                for (int i = 0; i < bytes; ++i)
                    runs.push_back(std::uint8_t(bits == 8 ? value() : value() << 4 | value()));
                if (bytes % 2)
                    runs.push_back(0);
            } else {
                runs.push_back(std::uint8_t(n));
                runs.push_back(std::uint8_t(bits == 8 ? value() : value() << 4 | value()));
            }
            at += std::min<long long>(n, room);
            x += n;
            // Now and then a jump of nothing, which moves the run back within the row.
            if (random.bounded(6) == 0) {
                runs.insert(runs.end(), {0, 2, 0, 0});
                x = std::min(x, w - 1);
                at = (h - 1LL - y) * stride + x;
            }
        }
        if (y < h - 1 || random.bounded(2))
            runs.insert(runs.end(), {0, 0});
        else
            runs.insert(runs.end(), {0, 1});
    }
    // Some say their rows run from the top down: the reader then turns the picture over.
    return runLengthBitmap(w, random.bounded(5) ? h : -h, bits, colours, runs);
}

void checkKind(const char* kind, const std::function<QByteArray(QRandomGenerator&)>& make, int tail)
{
    for (int seed = 1; seed <= kPictures; ++seed) {
        QRandomGenerator random{quint32(seed)};
        const QByteArray file = make(random);
        const QString differs = partDiffers(file, random);
        if (!differs.isEmpty() && qEnvironmentVariableIsSet("DUMP")) { QFile f(QString("/tmp/scratch/fail-%1-%2").arg(kind).arg(seed)); f.open(QIODevice::WriteOnly); f.write(file); }
        QVERIFY2(differs.isEmpty(), qPrintable(QString("%1 seed %2: %3").arg(kind).arg(seed).arg(differs)));
        QVERIFY2(cutIsRefused(file, tail, random), qPrintable(QString("%1 seed %2 cut off").arg(kind).arg(seed)));
    }
}

}  // namespace

class PicturePartTest : public QObject {
    Q_OBJECT
private slots:
    void gifPartsAreQtsPixels()
    {
        // Cut before the empty block and the trailer, which nothing needs.
        checkKind("GIF", [](QRandomGenerator& r) { return gifFile(randomGif(r)); }, 2);
    }

    void pngPartsAreQtsPixels()
    {
        // Cut before the end chunk, whose checksum Qt's reader does without.
        checkKind("PNG", [](QRandomGenerator& r) { return pngFile(randomPng(r)); }, 12);
    }

    void runLengthPartsAreQtsPixels() { checkKind("RLE bitmap", randomRunLength, 2); }
};

QTEST_MAIN(PicturePartTest)
#include "test_picture_part.moc"
