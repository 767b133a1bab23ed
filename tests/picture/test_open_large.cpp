// Open on pictures far larger than any canvas: a 12000 x 9000 photo, PNGs
// plain and interlaced, GIFs plain and interlaced and bitmaps plain and
// run-length encoded, past the limit of pictures read whole, open with their
// top-left part right, keeping what a larger window would show, in the memory
// of a few screen-sized pictures, and so do very wide and very tall ones; a
// JPEG turned by its EXIF mark is cut the right way; a progressive photo,
// which libjpeg gathers whole, still opens.

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include <QElapsedTimer>
#include <QFile>
#include <QtEndian>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <png.h>

#include "picture/open_picture.h"
#include "platform/files/picture_file.h"
#include "support/picture_commands.h"
#include "support/picture_writers.h"
#include "support/sample_pictures.h"
#include "support/window_fixture.h"

using namespace kalidor;
using namespace kalidor::test;

namespace {

// Blocks of 64 pixels, each its own colour, so that JPEG keeps them.
QRgb blockRgb(int x, int y) { return qRgb((x / 64 * 37) % 200 + 28, (y / 64 * 53) % 200 + 28, (x / 64 + y / 64) * 29 % 200 + 28); }
QColor blockAt(int x, int y) { return QColor(blockRgb(x, y)); }

// A little grain, as a photo has, so that the file is as large as a photo's.
int grain(int x, int y) { return static_cast<int>((static_cast<unsigned>(x) * 2654435761u ^ static_cast<unsigned>(y) * 40503u) >> 28) - 8; }

// Every pixel its own: red and green the low bits of x and y, blue the high ones.
QRgb exactRgb(int x, int y) { return qRgb(x & 255, y & 255, ((x >> 8) * 16 + (y >> 8)) & 255); }
QColor exactAt(int x, int y) { return QColor(exactRgb(x, y)); }

long long procStatus(const char* field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::stoll(line.substr(line.find(':') + 1)) * 1024;
    return -1;
}

// Written a row at a time: the test itself must not hold the whole picture.
// Open through the menu, as a user does, timing it and measuring the peak
// resident memory from just before (Linux's clear_refs).
struct Opening {
    qint64 ms = 0;
    long long before = 0, peak = 0;
};
Opening openMeasured(Editor& e)
{
    std::ofstream("/proc/self/clear_refs") << "5";
    Opening o;
    o.before = procStatus("VmRSS");
    QElapsedTimer clock;
    clock.start();
    mnuOpen_Click(e);
    o.ms = clock.elapsed();
    o.peak = procStatus("VmHWM") - o.before;
    return o;
}

bool writePng(const QString& path, int w, int h, bool interlaced = false)
{
    FILE* out = std::fopen(path.toLocal8Bit().constData(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (!out || !png || !info || setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, out);
    png_set_compression_level(png, 1);
    png_set_filter(png, 0, PNG_FILTER_SUB);  // quick to write
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(w) * 3);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const QRgb c = exactRgb(x, y);
                row[x * 3] = png_byte(qRed(c)), row[x * 3 + 1] = png_byte(qGreen(c)), row[x * 3 + 2] = png_byte(qBlue(c));
            }
            png_write_row(png, row.data());
        }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(out) == 0;
}

// 8 bits a pixel through a colour table, written a row at a time.
QRgb tableColour(int i) { return qRgb(i, 255 - i, (i * 7) & 255); }
int indexAt(int x, int y) { return (x + 3 * y) & 255; }

bool writeBmp(const QString& path, int w, int h, bool topDown)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const int stride = (w + 3) / 4 * 4;
    QByteArray head(54 + 1024, '\0');
    auto put = [&](int at, quint32 v) { qToLittleEndian(v, head.data() + at); };
    head[0] = 'B', head[1] = 'M';
    put(2, static_cast<quint32>(head.size() + qint64(stride) * h));
    put(10, static_cast<quint32>(head.size()));
    put(14, 40), put(18, static_cast<quint32>(w)), put(22, static_cast<quint32>(topDown ? -h : h));
    qToLittleEndian<quint16>(1, head.data() + 26), qToLittleEndian<quint16>(8, head.data() + 28);
    for (int i = 0; i < 256; ++i)
        put(54 + 4 * i, tableColour(i) & 0xFFFFFF);
    out.write(head);
    QByteArray row(stride, '\0');
    for (int r = 0; r < h; ++r) {
        const int y = topDown ? r : h - 1 - r;
        for (int x = 0; x < w; ++x)
            row[x] = static_cast<char>(indexAt(x, y));
        out.write(row);
    }
    return out.error() == QFileDevice::NoError;
}

// Blocks of 16 pixels, so that LZW and run-length encoding keep big files small.
int blockIndexAt(int x, int y) { return (x / 16 + 3 * (y / 16)) & 255; }

// The rows as a GIF's data holds them: one after another, or in the four
// interlaced passes, every eighth row from the first, every eighth from the
// fifth, every fourth from the third, every second from the second.
bool writeGif(const QString& path, int w, int h, bool interlaced)
{
    GifRecipe gif;
    gif.screen = QSize(w, h);
    gif.image = QRect(0, 0, w, h);
    gif.interlaced = interlaced;
    for (int i = 0; i < 256; ++i)
        gif.screenColours.push_back(tableColour(i));
    gif.values.reserve(static_cast<std::size_t>(w) * h);
    const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < (interlaced ? 4 : 1); ++pass)
        for (int y = interlaced ? starts[pass] : 0; y < h; y += interlaced ? steps[pass] : 1)
            for (int x = 0; x < w; ++x)
                gif.values.push_back(static_cast<std::uint8_t>(blockIndexAt(x, y)));
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(gifFile(gif)) > 0;
}

// Each row a literal stretch of 5 pixels and runs of the blocks after it,
// from the bottom row up; 4 or 8 bits a pixel.
bool writeRunLength(const QString& path, int w, int h, int bits)
{
    std::vector<QRgb> colours;
    for (int i = 0; i < (1 << bits); ++i)
        colours.push_back(tableColour(i));
    std::vector<std::uint8_t> runs;
    const int mask = (1 << bits) - 1;
    for (int y = h - 1; y >= 0; --y) {
        const int first = std::min(w, 5);
        if (first >= 3) {
            runs.push_back(0);
            runs.push_back(static_cast<std::uint8_t>(first));
            for (int x = 0; x < first; x += bits == 8 ? 1 : 2)
                runs.push_back(static_cast<std::uint8_t>(bits == 8 ? blockIndexAt(x, y) : (blockIndexAt(x, y) & mask) << 4 | (blockIndexAt(x + 1, y) & mask)));
            if ((bits == 8 ? first : (first + 1) / 2) % 2)
                runs.push_back(0);
        }
        for (int x = first >= 3 ? first : 0; x < w;) {
            const int n = std::min(w - x, 16 - x % 16);
            runs.push_back(static_cast<std::uint8_t>(n));
            const int v = blockIndexAt(x, y) & mask;
            runs.push_back(static_cast<std::uint8_t>(bits == 8 ? v : v << 4 | v));
            x += n;
        }
        runs.insert(runs.end(), {0, 0});
    }
    runs.insert(runs.end(), {0, 1});
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(runLengthBitmap(w, h, bits, colours, runs)) > 0;
}

bool writeJpeg(const QString& path, int w, int h, bool progressive = false)
{
    QImage photo(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y) {
        uchar* p = photo.scanLine(y);
        for (int x = 0; x < w; ++x, p += 3) {
            const QRgb c = blockRgb(x, y);
            const int g = grain(x, y);
            p[0] = static_cast<uchar>(qRed(c) + g), p[1] = static_cast<uchar>(qGreen(c) + g), p[2] = static_cast<uchar>(qBlue(c) + g);
        }
    }
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(photo);
}

}  // namespace

class OpenLargeTest : public QObject {
    Q_OBJECT
private slots:
    void bigPicturesOpenInTheMemoryOfAFewScreens()
    {
        QTemporaryDir dir;
        const auto table = [](int x, int y) { return QColor(tableColour(indexAt(x, y))); };
        const auto blocks = [](int x, int y) { return QColor(tableColour(blockIndexAt(x, y))); };
        const struct {
            const char* name;
            QSize size;
            std::function<bool(const QString&)> write;
            std::function<QColor(int, int)> colourAt;
            bool exact;
        } pictures[] = {
            {"photo.jpg", {12000, 9000}, [](const QString& f) { return writeJpeg(f, 12000, 9000); }, blockAt, false},
            {"plan.png", {12000, 9000}, [](const QString& f) { return writePng(f, 12000, 9000); }, exactAt, true},
            {"interlaced.png", {12000, 9000}, [](const QString& f) { return writePng(f, 12000, 9000, true); }, exactAt, true},
            {"tall.png", {300, 20000}, [](const QString& f) { return writePng(f, 300, 20000, true); }, exactAt, true},
            {"interlaced.gif", {12000, 9000}, [](const QString& f) { return writeGif(f, 12000, 9000, true); }, blocks, true},
            {"wide.gif", {20000, 300}, [](const QString& f) { return writeGif(f, 20000, 300, false); }, blocks, true},
            {"tall.gif", {300, 20000}, [](const QString& f) { return writeGif(f, 300, 20000, true); }, blocks, true},
            {"scan.bmp", {12000, 9000}, [](const QString& f) { return writeBmp(f, 12000, 9000, false); }, table, true},
            {"topdown.bmp", {20000, 3400}, [](const QString& f) { return writeBmp(f, 20000, 3400, true); }, table, true},
            {"runs.bmp", {12000, 9000}, [](const QString& f) { return writeRunLength(f, 12000, 9000, 8); }, blocks, true},
            {"wide_runs.bmp", {20000, 300}, [](const QString& f) { return writeRunLength(f, 20000, 300, 4); },
             [](int x, int y) { return QColor(tableColour(blockIndexAt(x, y) & 15)); }, true},
        };
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        const long long bound = 3LL * screen.width() * screen.height() * 4 + 64LL * 1024 * 1024;
        for (const auto& picture : pictures) {
            const char* name = picture.name;
            const QString path = dir.filePath(name);
            QElapsedTimer writing;
            writing.start();
            QVERIFY2(picture.write(path), name);
            qInfo("written in %lld ms", static_cast<long long>(writing.elapsed()));
            auto w = openWindow(612, 658);
            Editor& e = w->editor();
            Answers answers(e);
            answers.name = path.toStdString();
            const auto [ms, before, peak] = openMeasured(e);
            qInfo("%s (%lld bytes): %lld ms, peak %.1f MB over the %.1f MB before (bound %.1f MB)", name,
                  static_cast<long long>(QFileInfo(path).size()), ms, peak / 1048576.0, before / 1048576.0,
                  bound / 1048576.0);
            QFile::remove(path);
            QVERIFY2(answers.messages.empty(), answers.messages.empty() ? "" : answers.messages[0].c_str());
            QVERIFY2(before > 0 && peak < bound, name);
            // Right up to the corner the canvas shows, and past it once the
            // window grows to the screen; white beyond a narrow picture.
            w->form().widget()->resize(screen);
            const int right = static_cast<int>(e.ui.pb->ScaleWidth()) - 1;
            const int bottom = static_cast<int>(e.ui.pb->ScaleHeight()) - 1;
            QVERIFY(right > 612 - 110);
            for (const QPoint p : {QPoint(0, 0), QPoint(1, 1), QPoint(300, 200), QPoint(right, 10), QPoint(right, bottom),
                                   QPoint(10, bottom)}) {
                const std::int32_t got = e.ui.pb->Point(p.x(), p.y());
                const bool inside = QRect(QPoint(0, 0), picture.size).contains(p);
                const QColor want = inside ? picture.colourAt(p.x(), p.y()) : QColor(Qt::white);
                QVERIFY2(picture.exact || !inside ? got == static_cast<std::int32_t>(fromPixel(want.rgb())) : near(got, want),
                         qPrintable(QString("%1 at %2,%3: %4").arg(name).arg(p.x()).arg(p.y()).arg(got, 6, 16, QChar('0'))));
            }
        }
    }

    // libjpeg gathers all of a progressive photo's coefficients before it
    // gives a row: it opens, in the memory of those.
    void aProgressivePhotoStillOpens()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("progressive.jpg");
        QVERIFY(writeJpeg(path, 12000, 9000, true));
        auto w = openWindow(612, 658);
        Editor& e = w->editor();
        Answers answers(e);
        answers.name = path.toStdString();
        const Opening o = openMeasured(e);
        qInfo("progressive.jpg (%lld bytes): %lld ms, peak %.1f MB", static_cast<long long>(QFileInfo(path).size()),
              static_cast<long long>(o.ms), o.peak / 1048576.0);
        QVERIFY2(answers.messages.empty(), answers.messages.empty() ? "" : answers.messages[0].c_str());
        for (const QPoint p : {QPoint(0, 0), QPoint(300, 200)})
            QVERIFY(near(e.ui.pb->Point(p.x(), p.y()), blockAt(p.x(), p.y())));
    }

    void aTurnedPhotoIsCutWhereItShowsUpright()
    {
        QTemporaryDir dir;
        QImage photo(640, 480, QImage::Format_RGB32);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                photo.setPixelColor(x, y, blockAt(x * 4, y * 4));
        for (int orientation = 2; orientation <= 8; ++orientation) {
            const QString path = dir.filePath(QString("turned%1.jpg").arg(orientation));
            QVERIFY(photo.save(path, "JPEG", 95));
            writeBytes(path, withOrientation(bytesOf(path), orientation));
            QVERIFY(QImageReader(path).transformation() != QImageIOHandler::TransformationNone);
            const std::optional<Picture> whole = LoadPicture(path.toStdString());
            const LoadedPicture part = ReadPicture(path.toStdString(), LoadLimits{200, 150});
            QVERIFY(whole && part.picture);
            QCOMPARE(part.picture->image().size(), QSize(200, 150));
            const QImage want = whole->image().copy(0, 0, 200, 150);
            for (int y = 5; y < 150; y += 16)
                for (int x = 5; x < 200; x += 16)
                    QVERIFY2(near(static_cast<std::int32_t>(fromPixel(part.picture->image().pixel(x, y))), want.pixelColor(x, y)),
                             qPrintable(QString("orientation %1 at %2,%3").arg(orientation).arg(x).arg(y)));
        }
    }
};

QTEST_MAIN(OpenLargeTest)
#include "test_open_large.moc"
