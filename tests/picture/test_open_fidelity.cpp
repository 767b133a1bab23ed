// File > Open shows pictures faithfully: 16-bit bitmaps at full range, and
// JPEGs turned as their EXIF orientation says.

#include <cmath>
#include <cstdlib>

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

#include "picture/open_picture.h"
#include "support/picture_commands.h"
#include "support/sample_pictures.h"
#include "support/window_fixture.h"

using namespace kalidor;
using namespace kalidor::test;

class OpenFidelityTest : public QObject {
    Q_OBJECT
private slots:
    void sixteenBitBitmapsOpenAtFullRange()
    {
        auto w = test::openWindow(300, 200);
        Editor& e = w->editor();
        // Every level of every channel, along x; 64 columns cover six bits.
        auto levels = [](int shiftR, int maxR, int shiftG, int maxG, int shiftB, int maxB) {
            return [=](int x, int y) {
                return quint16((x % (maxR + 1)) << shiftR | ((x + y) % (maxG + 1)) << shiftG |
                               ((63 - x) % (maxB + 1)) << shiftB);
            };
        };
        const struct {
            const char* what;
            QByteArray file;
            int maxR, maxG, maxB;
            int shiftR, shiftG, shiftB;
        } table[] = {
            {"5-5-5, plain rows", test::bitmap16(64, 3, levels(10, 31, 5, 31, 0, 31)), 31, 31, 31, 10, 5, 0},
            {"5-6-5, bit fields, top down",
             test::bitmap16(64, 3, levels(11, 31, 5, 63, 0, 31), {0xF800, 0x07E0, 0x001F}, 40, true),
             31, 63, 31, 11, 5, 0},
            {"4-4-4, bit fields in a 124-byte header",
             test::bitmap16(63, 2, levels(8, 15, 4, 15, 0, 15), {0x0F00, 0x00F0, 0x000F}, 124), 15, 15, 15, 8, 4, 0},
            {"3-7-6, odd masks", test::bitmap16(64, 2, levels(13, 7, 6, 127, 0, 63), {0xE000, 0x1FC0, 0x003F}),
             7, 127, 63, 13, 6, 0},
        };
        QTemporaryDir dir;
        Answers answers(e);
        for (const auto& row : table) {
            writeBytes(dir.filePath("16.bmp"), row.file);
            drawSomething(e);
            answers.name = dir.filePath("16.bmp").toStdString();
            mnuOpen_Click(e);
            for (int y = 0; y < 2; ++y) {
                for (int x = 0; x < 63; ++x) {
                    const int v = levels(row.shiftR, row.maxR, row.shiftG, row.maxG, row.shiftB, row.maxB)(x, y);
                    const Colour got = static_cast<Colour>(e.ui.pb->Point(x, y));
                    const auto exact = [&](int shift, int max) {
                        return std::lround(((v >> shift) & max) * 255.0 / max);
                    };
                    QVERIFY2(std::abs(red(got) - exact(row.shiftR, row.maxR)) <= 1 &&
                                 std::abs(green(got) - exact(row.shiftG, row.maxG)) <= 1 &&
                                 std::abs(blue(got) - exact(row.shiftB, row.maxB)) <= 1,
                             qPrintable(QString("%1: (%2, %3) is %4").arg(row.what).arg(x).arg(y).arg(got, 6, 16)));
                }
            }
            QVERIFY2(e.ui.pb->Point(64, 0) == 0xFFFFFF && e.ui.pb->Point(0, 3) == 0xFFFFFF, row.what);
        }
        // White is white; an alpha channel is widened alike, so an opaque 4-bit
        // alpha of 15 shows the colour itself, not a blend with the white canvas.
        writeBytes(dir.filePath("white.bmp"), test::bitmap16(2, 1, [](int, int) { return quint16(0x7FFF); }));
        answers.name = dir.filePath("white.bmp").toStdString();
        drawSomething(e);
        mnuOpen_Click(e);
        QCOMPARE(e.ui.pb->Point(1, 0), 0xFFFFFF);
        // Row 0 opaque black and red, row 1 transparent green.
        auto alphaRows = [](int x, int y) { return quint16(y == 0 ? 0xF000 | x * 0x0F00 : 0x00F0); };
        writeBytes(dir.filePath("alpha.bmp"), test::bitmap16(2, 2, alphaRows, {0x0F00, 0x00F0, 0x000F, 0xF000}, 124));
        answers.name = dir.filePath("alpha.bmp").toStdString();
        mnuOpen_Click(e);
        QCOMPARE(e.ui.pb->Point(0, 0), 0x000000);
        QCOMPARE(static_cast<Colour>(e.ui.pb->Point(1, 0)), rgb(255, 0, 0));
        QCOMPARE(e.ui.pb->Point(0, 1), 0xFFFFFF);  // alpha 0: the canvas's white
    }

    void aPhotoMarkedAsTurnedOpensUpright()
    {
        auto w = test::openWindow(300, 200);
        Editor& e = w->editor();
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(marked(48, 32).save(&buffer, "JPEG", 95));
        QTemporaryDir dir;
        writeBytes(dir.filePath("turned.jpg"), test::withOrientation(buffer.data(), 6));
        Answers answers(e);
        answers.name = dir.filePath("turned.jpg").toStdString();
        drawSomething(e);
        mnuOpen_Click(e);
        // A quarter turn clockwise: 32 wide and 48 high, the top-left red corner
        // now at the top right, the bottom-right blue one at the bottom left.
        QVERIFY(near(e.ui.pb->Point(24, 8), Qt::red));
        QVERIFY(near(e.ui.pb->Point(8, 40), Qt::blue));
        QVERIFY(near(e.ui.pb->Point(8, 8), Qt::green));
        QVERIFY(near(e.ui.pb->Point(31, 47), Qt::green));
        QCOMPARE(e.ui.pb->Point(32, 0), 0xFFFFFF);
        QCOMPARE(e.ui.pb->Point(0, 48), 0xFFFFFF);
    }
};

QTEST_MAIN(OpenFidelityTest)
#include "test_open_fidelity.moc"
