// Open on pictures far larger than any canvas: a 12000 x 9000 photo, a PNG and
// a bitmap past the limit of pictures read whole open with their top-left part right,
// keeping what a larger window would show, in the memory of a few
// screen-sized pictures; a JPEG turned by its EXIF mark is cut the right way.

#include <cstdio>
#include <fstream>
#include <string>

#include <QElapsedTimer>
#include <QFile>
#include <QtEndian>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <png.h>

#include "picture/open_picture.h"
#include "platform/files/picture_file.h"
#include "support/picture_commands.h"
#include "support/sample_pictures.h"
#include "support/window_fixture.h"

using namespace kalidor;
using namespace kalidor::test;

namespace {

// Blocks of 64 pixels, each its own colour, so that JPEG keeps them.
QColor blockAt(int x, int y) { return QColor((x / 64 * 37) % 200 + 28, (y / 64 * 53) % 200 + 28, (x / 64 + y / 64) * 29 % 200 + 28); }

// A little grain, as a photo has, so that the file is as large as a photo's.
int grain(int x, int y) { return static_cast<int>((static_cast<unsigned>(x) * 2654435761u ^ static_cast<unsigned>(y) * 40503u) >> 28) - 8; }

// Every pixel its own: red and green the low bits of x and y, blue the high ones.
QColor exactAt(int x, int y) { return QColor(x & 255, y & 255, ((x >> 8) * 16 + (y >> 8)) & 255); }

long long procStatus(const char* field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::stoll(line.substr(line.find(':') + 1)) * 1024;
    return -1;
}

// Written a row at a time: the test itself must not hold the whole picture.
bool writePng(const QString& path, int w, int h)
{
    FILE* out = std::fopen(path.toLocal8Bit().constData(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (!out || !png || !info || setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, out);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(w) * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QColor c = exactAt(x, y);
            row[x * 3] = c.red(), row[x * 3 + 1] = c.green(), row[x * 3 + 2] = c.blue();
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

bool writeJpeg(const QString& path, int w, int h)
{
    QImage photo(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QColor c = blockAt(x, y);
            uchar* p = photo.scanLine(y) + x * 3;
            const int g = grain(x, y);
            p[0] = static_cast<uchar>(c.red() + g), p[1] = static_cast<uchar>(c.green() + g), p[2] = static_cast<uchar>(c.blue() + g);
        }
    return photo.save(path, "JPEG", 90);
}

}  // namespace

class OpenLargeTest : public QObject {
    Q_OBJECT
private slots:
    void bigPicturesOpenInTheMemoryOfAFewScreens()
    {
        QTemporaryDir dir;
        QVERIFY(writeJpeg(dir.filePath("photo.jpg"), 12000, 9000));
        QVERIFY(writePng(dir.filePath("plan.png"), 12000, 9000));
        QVERIFY(writeBmp(dir.filePath("scan.bmp"), 12000, 9000, false));
        QVERIFY(writeBmp(dir.filePath("topdown.bmp"), 2000, 1500, true));
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        const long long bound = 3LL * screen.width() * screen.height() * 4 + 64LL * 1024 * 1024;
        for (const char* name : {"photo.jpg", "plan.png", "scan.bmp", "topdown.bmp"}) {
            auto w = openWindow(612, 658);
            Editor& e = w->editor();
            Answers answers(e);
            answers.name = dir.filePath(name).toStdString();
            // The peak resident memory counts from here (Linux's clear_refs).
            std::ofstream("/proc/self/clear_refs") << "5";
            const long long before = procStatus("VmRSS");
            QElapsedTimer clock;
            clock.start();
            mnuOpen_Click(e);
            const qint64 ms = clock.elapsed();
            const long long peak = procStatus("VmHWM") - before;
            qInfo("%s (%lld bytes): %lld ms, peak %.1f MB over the %.1f MB before (bound %.1f MB)", name, static_cast<long long>(QFileInfo(dir.filePath(name)).size()), ms, peak / 1048576.0,
                  before / 1048576.0, bound / 1048576.0);
            QVERIFY2(answers.messages.empty(), answers.messages.empty() ? "" : answers.messages[0].c_str());
            QVERIFY2(before > 0 && peak < bound, name);
            // Right up to the corner the canvas shows, and past it once the
            // window grows to the screen.
            const bool bitmap = QByteArray(name).endsWith(".bmp");
            const bool exact = bitmap || QByteArray(name).endsWith(".png");
            w->form().widget()->resize(screen);
            const int right = static_cast<int>(e.ui.pb->ScaleWidth()) - 1;
            const int bottom = static_cast<int>(e.ui.pb->ScaleHeight()) - 1;
            QVERIFY(right > 612 - 110);
            for (const QPoint p : {QPoint(0, 0), QPoint(300, 200), QPoint(right, 10), QPoint(right, bottom), QPoint(10, bottom)}) {
                const std::int32_t got = e.ui.pb->Point(p.x(), p.y());
                const QColor want = bitmap ? QColor(tableColour(indexAt(p.x(), p.y())))
                                    : exact ? exactAt(p.x(), p.y()) : blockAt(p.x(), p.y());
                QVERIFY2(exact ? got == static_cast<std::int32_t>(fromPixel(want.rgb())) : near(got, want),
                         qPrintable(QString("%1 at %2,%3: %4").arg(name).arg(p.x()).arg(p.y()).arg(got, 6, 16, QChar('0'))));
            }
        }
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
