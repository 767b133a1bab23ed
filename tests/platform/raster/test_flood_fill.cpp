// The fill on the raster surface against a plain breadth-first fill on random
// pictures, its history and repaint, and a spiral one pixel wide over a 4K
// canvas, which a fill recursing per pixel or per run would not survive.

#include <algorithm>
#include <array>
#include <optional>
#include <random>
#include <vector>

#include <QImage>
#include <QTest>

#include "platform/raster/raster_surface.h"
#include "support/plain_fill.h"

using namespace kalidor;
using test::filledPlainly;

namespace {

constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlue = 0xFF0000;
constexpr Colour kGreen = 0x00FF00;

// A random picture: strokes of a few colours and widths, many of them ending
// at or beyond the edges, some side by side a pixel or two apart, so that
// regions meet through gaps one pixel wide and touch the picture's edges.
void drawRandomPicture(RasterSurface& s, std::mt19937& random)
{
    const Colour colours[] = {kBlack, kRed, kBlue, kWhite};
    auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const int w = static_cast<int>(s.ScaleWidth()), h = static_cast<int>(s.ScaleHeight());
    for (int strokes = any(0, 12); strokes > 0; --strokes) {
        s.SetDrawWidth(static_cast<int16>(any(0, 3) == 0 ? any(2, 5) : 1));
        const Colour c = colours[any(0, 3)];
        const float x1 = any(-5, w + 5), y1 = any(-5, h + 5), x2 = any(-5, w + 5), y2 = any(-5, h + 5);
        s.Line(x1, y1, x2, y2, c);
        if (any(0, 2) == 0) {
            const float gap = any(2, 3);  // a parallel line with a thin gap between
            s.Line(x1 + gap, y1, x2 + gap, y2, c);
        }
        if (any(0, 5) == 0)
            s.Line(x1, y1, x1 + any(1, 20), y1 + any(1, 20), c, Shape::Box);
    }
}

std::vector<PixelPoint> randomSeeds(std::mt19937& random, int w, int h)
{
    auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    std::vector<PixelPoint> seeds;
    for (int n = any(1, 5); n > 0; --n)
        seeds.push_back(any(0, 9) == 0 ? PixelPoint{any(-3, w + 3), any(-3, h + 3)}  // now and then off the picture
                                       : PixelPoint{any(0, w - 1), any(0, h - 1)});
    if (any(0, 3) == 0)
        seeds.push_back(seeds.front());  // the same seed twice fills once
    return seeds;
}

// A 1-pixel corridor winding in a rectangular spiral from (1, 1) to the
// middle, between walls one pixel thick, on a black picture; the corridor
// white. Returns how many pixels it has.
long long carveSpiral(QImage& image)
{
    image.fill(toPixel(kBlack));
    long long carved = 0;
    auto carve = [&](int x, int y) {
        if (image.pixel(x, y) != toPixel(kWhite)) {
            image.setPixel(x, y, toPixel(kWhite));
            ++carved;
        }
    };
    int l = 1, t = 1, r = image.width() - 2, b = image.height() - 2, start = 1;
    while (l <= r && t <= b) {
        for (int x = start; x <= r; ++x)
            carve(x, t);
        for (int y = t; y <= b; ++y)
            carve(r, y);
        for (int x = r; x >= l; --x)
            carve(x, b);
        for (int y = b; y >= t + 2; --y)
            carve(l, y);
        start = l;
        l += 2;
        t += 2;
        r -= 2;
        b -= 2;
    }
    return carved;
}

// Fills the seeds in a step, now and then between strokes drawn in the same
// step, and checks the fill against the plain one, what it reported to
// repaint, and that the step undoes and redoes exactly.
void fillAndUndo(RasterSurface& s, const std::vector<PixelPoint>& seeds, Colour c, int round)
{
    const QString where = QString("round %1").arg(round);
    const QImage before = s.backing().copy();
    const long long state = s.PictureState();
    s.BeginStep();
    if (round % 5 == 3)
        s.Line(0, 0, s.ScaleWidth(), s.ScaleHeight() / 2, kBlue);  // tiles kept first
    const QImage beforeFill = s.backing().copy();
    QRegion reported;
    s.setChangedHandler([&](const QRegion& r) { reported += r; });
    s.Fill(seeds, c);
    s.setChangedHandler(nullptr);
    const QImage want = filledPlainly(beforeFill, seeds, c);
    QVERIFY2(s.backing() == want, qPrintable(where));
    std::optional<QPoint> unshown;
    for (int y = 0; y < want.height() && !unshown; ++y)
        for (int x = 0; x < want.width() && !unshown; ++x)
            if (want.pixel(x, y) != beforeFill.pixel(x, y) && !reported.contains(QPoint(x, y)))
                unshown = QPoint(x, y);
    QVERIFY2(!unshown, qPrintable(where + QString(": (%1, %2) not repainted").arg(unshown ? unshown->x() : 0).arg(unshown ? unshown->y() : 0)));
    QVERIFY2(want != beforeFill || reported.isEmpty(), qPrintable(where));
    if (round % 5 == 4)
        s.Line(s.ScaleWidth(), 0, 0, s.ScaleHeight(), kBlue);  // tiles kept after the runs
    s.EndStep();
    const QImage after = s.backing().copy();
    if (after == before) {
        QCOMPARE(s.PictureState(), state);  // a step that changed nothing is none
        return;
    }
    QVERIFY(s.Undo());
    QVERIFY2(s.backing() == before, qPrintable(where + ": the undo"));
    QVERIFY(s.Redo());
    QVERIFY2(s.backing() == after, qPrintable(where + ": the redo"));
}

}  // namespace

class FloodFillTest : public QObject {
    Q_OBJECT
private slots:
    void aFillIsTheUnionOfTheSeedsRegionsInThePictureBefore()
    {
        // Seeds of different regions and colours, filled in turn: each region is
        // the one of the picture before the fill, whatever the earlier seeds
        // filled. Seeded, so that a failure repeats.
        std::mt19937 random(2602);
        for (int round = 0; round < 400; ++round) {
            const int w = std::uniform_int_distribution<int>(1, 90)(random);
            const int h = std::uniform_int_distribution<int>(1, 70)(random);
            RasterSurface s(w, h, 0, kWhite);
            s.keepHistory();
            drawRandomPicture(s, random);
            s.EndStep();
            fillAndUndo(s, randomSeeds(random, w, h), std::array{kBlack, kRed, kGreen, kWhite}[round % 4], round);
        }
    }

    void regionsOfOneShapeFillAtOnceAndTheOthersOneByOne()
    {
        // A tile repeated over the picture, as a Pattern drawing is, a few
        // strokes across it here and there, and a seed at the same place in
        // every tile, among others: the regions that are the same region moved
        // are found at once, the others filled one by one, all as plainly.
        std::mt19937 random(2626);
        auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        for (int round = 0; round < 120; ++round) {
            const int tw = any(4, 30), th = any(4, 30);
            RasterSurface tile(tw, th, 0, kWhite);
            drawRandomPicture(tile, random);
            const int w = any(60, 300), h = any(60, 200);
            QImage picture(w, h, QImage::Format_RGB32);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    picture.setPixel(x, y, tile.backing().pixel(x % tw, y % th));
            RasterSurface s(w, h, 0, kWhite);
            s.keepHistory();
            s.SetPicture(Picture(picture));
            if (round % 2 == 1)
                for (int strokes = any(1, 4); strokes > 0; --strokes)
                    s.Line(any(0, w), any(0, h), any(0, w), any(0, h), round % 4 == 1 ? kWhite : kBlack);
            s.EndStep();
            const int px = any(0, tw - 1), py = any(0, th - 1);
            std::vector<PixelPoint> seeds{{px + any(0, w / tw - 1) * tw, py}};
            for (int y = py; y < h; y += th)
                for (int x = px; x < w; x += tw)
                    seeds.push_back({x, y});
            if (round % 3 == 2)
                std::shuffle(seeds.begin() + 1, seeds.end(), random);  // in no order
            for (int extra = any(0, 3); extra > 0; --extra)
                seeds.push_back({any(0, w - 1), any(0, h - 1)});
            fillAndUndo(s, seeds, std::array{kRed, kBlack, kGreen}[round % 3], round);
        }
    }

    void aFillThatChangesNothingMakesNoStep()
    {
        RasterSurface s(200, 100, 0, kWhite);
        s.keepHistory();
        s.Line(10, 10, 150, 80, kRed);
        s.EndStep();
        const long long state = s.PictureState();
        QRegion reported;
        s.setChangedHandler([&](const QRegion& r) { reported += r; });
        const std::vector<PixelPoint> nothing{{10, 10}, {-1, 5}, {200, 0}, {0, 100}};  // red already, and off the picture
        s.BeginStep();
        s.Fill(nothing, kRed);
        s.EndStep();
        QCOMPARE(s.PictureState(), state);
        QVERIFY(reported.isEmpty());
        QVERIFY(s.Undo());
        QCOMPARE(s.Point(10, 10), 0xFFFFFF);
    }

    void aSmallFillRepaintsLittleAndKeepsOnlyItsTiles()
    {
        // A 20 x 20 box on a drawn 4K canvas: the repaint is a block or four,
        // and the history keeps the tiles it lies in, not the picture.
        RasterSurface s(3840, 2160, 0, kWhite);
        s.keepHistory();
        s.SetDrawWidth(3);
        for (int x = 0; x < 3840; x += 50)
            s.Line(x, 0, x + 500, 2159, kBlue);
        s.SetDrawWidth(1);
        s.Line(2000, 1000, 2020, 1020, kBlack, Shape::Box);
        s.EndStep();
        QVERIFY(s.Point(2010, 1010) == 0xFFFFFF);
        const QImage before = s.backing().copy();
        const std::size_t bytes = s.history()->bytes();
        QRegion reported;
        s.setChangedHandler([&](const QRegion& r) { reported += r; });
        const PixelPoint inside[] = {{2010, 1010}};
        s.BeginStep();
        s.Fill(inside, kRed);
        s.EndStep();
        QCOMPARE(s.Point(2001, 1001), 0x0000FF);
        QCOMPARE(s.Point(2019, 1019), 0x0000FF);
        QCOMPARE(s.Point(2000, 1000), 0);
        QVERIFY(reported.contains(QRect(2001, 1001, 19, 19)));
        long long area = 0;
        for (const QRect& r : reported)
            area += static_cast<long long>(r.width()) * r.height();
        QVERIFY2(area <= 64 * 64, qPrintable(QString::number(area)));
        QVERIFY(s.history()->bytes() - bytes <= 4 * (64 * 64 * 4 + 64));
        QVERIFY(s.Undo());
        QVERIFY(s.backing() == before);
    }

    void aOnePixelSpiralOverA4KCanvasFillsWholeAndUndoes()
    {
        // Millions of pixels in one corridor, turning more than two thousand
        // times: the fill keeps its runs on the heap, and the sanitized build's
        // stack checks would catch a recursion.
        QImage spiral(3840, 2160, QImage::Format_RGB32);
        const long long corridor = carveSpiral(spiral);
        QVERIFY(corridor > 4'000'000);
        RasterSurface s(3840, 2160, 0, kWhite);
        s.keepHistory();
        s.SetPicture(Picture(spiral));
        s.EndStep();
        const QImage before = s.backing().copy();
        const PixelPoint start[] = {{1, 1}};
        s.BeginStep();
        s.Fill(start, kRed);
        s.EndStep();
        // Every corridor pixel red, every wall as it was.
        const QImage& after = s.backing();
        long long red = 0, wrong = 0;
        for (int y = 0; y < after.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(after.constScanLine(y));
            const auto* was = reinterpret_cast<const QRgb*>(before.constScanLine(y));
            for (int x = 0; x < after.width(); ++x) {
                if (row[x] == toPixel(kRed))
                    red += was[x] == toPixel(kWhite);
                else
                    wrong += row[x] != toPixel(kBlack) || was[x] != toPixel(kBlack);
            }
        }
        QCOMPARE(wrong, 0LL);
        QCOMPARE(red, corridor);
        QVERIFY(s.Undo());
        QVERIFY(s.backing() == before);
    }

    void theWholePictureKeptFillsBeyondTheInterior()
    {
        // A canvas made smaller keeps what it no longer shows: a region reaching
        // there is filled there too, so that growing again shows it whole.
        RasterSurface s(300, 200, 0, kWhite);
        s.keepHistory();
        s.Line(0, 100, 299, 100, kBlack);
        s.setOuterSize(100, 50);
        const PixelPoint seed[] = {{10, 10}};
        s.Fill(seed, kGreen);
        s.setOuterSize(300, 200);
        QCOMPARE(s.Point(299, 99), 0x00FF00);
        QCOMPARE(s.Point(299, 101), 0xFFFFFF);
    }
};

QTEST_MAIN(FloodFillTest)
#include "test_flood_fill.moc"
