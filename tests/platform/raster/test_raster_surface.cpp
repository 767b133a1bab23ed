// The persistent drawing surface: the shapes of Line, copy and invert modes,
// colours, reading pixels back, pictures, resizing and the repainted rectangle,
// and the history of steps kept in tiles.

#include <cmath>
#include <random>
#include <vector>

#include <QImage>
#include <QTest>

#include "platform/raster/pixel_runs.h"
#include "platform/raster/raster_surface.h"

using namespace kalidor;

namespace {

constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlue = 0xFF0000;

int countColour(const RasterSurface& s, Colour c)
{
    int n = 0;
    for (int y = 0; y < s.ScaleHeight(); ++y)
        for (int x = 0; x < s.ScaleWidth(); ++x)
            n += s.Point(x, y) == static_cast<std::int32_t>(c);
    return n;
}

}  // namespace

class RasterSurfaceTest : public QObject {
    Q_OBJECT
private slots:
    void sizesCountTheBorderInTheOuterSizeOnly()
    {
        RasterSurface s(451, 441, 2, kWhite);
        QCOMPARE(s.Width(), 451.0f);
        QCOMPARE(s.Height(), 441.0f);
        QCOMPARE(s.ScaleWidth(), 447.0f);
        QCOMPARE(s.ScaleHeight(), 437.0f);
        s.setOuterSize(3, 1);  // smaller than its border
        QCOMPARE(s.ScaleWidth(), 0.0f);
        QCOMPARE(s.Width(), 3.0f);
    }

    void coloursKeepRedInTheLowByte()
    {
        RasterSurface s(20, 20, 0, kWhite);
        s.Line(1, 1, 1, 1, rgb(255, 0, 0));
        QCOMPARE(s.Point(1, 1), 0x0000FF);
        const QRgb pixel = s.Image().image().pixel(1, 1);
        QCOMPARE(qRed(pixel), 255);
        QCOMPARE(qBlue(pixel), 0);
        QCOMPARE(s.Point(0, 0), 0xFFFFFF);
    }

    void boxesIncludeBothCorners()
    {
        RasterSurface s(40, 40, 0, kWhite);
        s.Line(5, 5, 7, 8, kBlack, Shape::FilledBox, Corner::Absolute);
        QCOMPARE(countColour(s, kBlack), 3 * 4);
        s.Line(20, 20, 2, 3, 0x00FF00, Shape::FilledBox, Corner::Relative);
        QCOMPARE(countColour(s, 0x00FF00), 3 * 4);
        QCOMPARE(s.Point(22, 23), 0x00FF00);
        QCOMPARE(s.Point(23, 23), 0xFFFFFF);
        // An outline with relative corner (+19, +19) is 20 x 20 pixels round.
        s.Line(1, 10, 19, 19, 0x0000FF, Shape::Box, Corner::Relative);
        QCOMPARE(countColour(s, 0x0000FF), 4 * 19);
        QCOMPARE(s.Point(1, 10), 0x0000FF);
        QCOMPARE(s.Point(20, 29), 0x0000FF);
        QCOMPARE(s.Point(2, 11), 0xFFFFFF);
    }

    void invertTouchesEveryCoveredPixelOnce()
    {
        RasterSurface s(60, 60, 0, rgb(18, 52, 86));
        s.SetDrawMode(kInvertPen);
        s.Line(0, 0, s.ScaleWidth(), s.ScaleHeight(), kBlack, Shape::FilledBox);
        QCOMPARE(s.Point(0, 0), static_cast<std::int32_t>(rgb(237, 203, 169)));
        QCOMPARE(s.Point(59, 59), static_cast<std::int32_t>(rgb(237, 203, 169)));
        s.Line(0, 0, s.ScaleWidth(), s.ScaleHeight(), kBlack, Shape::FilledBox);
        QCOMPARE(countColour(s, rgb(18, 52, 86)), 60 * 60);

        // The corners of an outline and the body of a wide line are inverted once.
        s.SetBackColor(kWhite);
        s.Line(10, 10, 30, 30, kBlack, Shape::Box, Corner::Absolute);
        QCOMPARE(s.Point(10, 10), 0);
        QCOMPARE(s.Point(30, 30), 0);
        RasterSurface copy(60, 60, 0, kWhite);
        copy.SetDrawWidth(10);
        copy.Line(5, 40, 50, 45, kBlack);
        s.SetBackColor(kWhite);
        s.SetDrawWidth(10);
        s.Line(5, 40, 50, 45, 0x123456);  // the colour plays no part
        QCOMPARE(s.Image().image(), copy.Image().image());
    }

    void pointOutsideThePictureIsMinusOne()
    {
        RasterSurface s(30, 20, 2, kWhite);
        QCOMPARE(s.Point(25, 10), 0xFFFFFF);
        QCOMPARE(s.Point(26, 10), -1);
        QCOMPARE(s.Point(-1, 0), -1);
        QCOMPARE(s.Point(0, 16), -1);
        QCOMPARE(s.Point(25.4f, 15.4f), 0xFFFFFF);
    }

    void resizingNeverLosesTheDrawing()
    {
        RasterSurface s(404, 404, 2, kWhite);
        s.SetDrawWidth(5);
        s.Line(300, 300, 350, 300, kBlack);
        s.setOuterSize(204, 204);
        QCOMPARE(s.Point(320, 300), -1);
        s.setOuterSize(804, 604);
        QCOMPARE(s.Point(320, 300), 0);
        QCOMPARE(s.Point(700, 500), 0xFFFFFF);  // new area shows the background
        QCOMPARE(s.Image().width(), 800);
        QCOMPARE(s.Image().height(), 600);
        // Shrunk to no interior at all, it shows no picture, not the kept one.
        s.setOuterSize(4, 300);
        QVERIFY(s.Image().isEmpty());
        QCOMPARE(s.KeptWidth(), 800.0f);
    }

    void aPictureReplacesEverything()
    {
        RasterSurface s(104, 84, 2, kWhite);
        s.Line(50, 50, 90, 70, kBlack);
        QImage red(10, 120, QImage::Format_RGB32);
        red.fill(QColor(255, 0, 0));
        s.SetPicture(Picture(red));
        QCOMPARE(s.Point(9, 79), 0x0000FF);   // cut at the bottom edge
        QCOMPARE(s.Point(10, 0), 0xFFFFFF);
        QCOMPARE(countColour(s, kBlack), 0);
        s.SetPicture(Picture());
        QCOMPARE(countColour(s, kWhite), 100 * 80);
    }

    void aPictureOfOneColourIsKeptAsItsColour()
    {
        // Filling over a blank canvas, or over the last fill, keeps no copy of
        // the picture: its colour is enough. Undoing brings back that colour,
        // with what the canvas has grown by since as background.
        RasterSurface s(204, 104, 2, kWhite);
        s.keepHistory();
        s.BeginStep(StepKind::New);
        s.Line(0, 0, 200, 100, kRed, Shape::FilledBox);
        s.EndStep();
        s.BeginStep(StepKind::New);
        s.Line(0, 0, 200, 100, kBlue, Shape::FilledBox);
        s.Line(20, 20, 60, 20, kBlack);  // the same step draws on: the colour kept covers it
        s.SetDrawMode(kInvertPen);
        s.Line(100, 10, 120, 30, kBlack, Shape::FilledBox);
        s.SetDrawMode(kCopyPen);
        s.EndStep();
        QVERIFY2(s.history()->bytes() < 1024, qPrintable(QString::number(s.history()->bytes())));
        const QImage drawn = s.backing().copy();
        s.setOuterSize(304, 124);
        QVERIFY(s.Undo());
        QCOMPARE(countColour(s, kRed), 200 * 100);
        QCOMPARE(s.Point(250, 50), 0xFFFFFF);
        QCOMPARE(s.Point(100, 110), 0xFFFFFF);
        s.setOuterSize(404, 144);  // grown again while undone
        for (int round = 0; round < 2; ++round) {  // the second time on the spare buffer
            QVERIFY(s.Redo());
            QVERIFY(s.backing().copy(0, 0, 200, 100) == drawn);
            QCOMPARE(countColour(s, kWhite), 400 * 140 - 200 * 100);
            QVERIFY(s.Undo());
            QCOMPARE(countColour(s, kRed), 200 * 100);
        }
        QVERIFY(s.Undo());
        QCOMPARE(countColour(s, kWhite), 400 * 140);
        QVERIFY(s.Redo() && s.Redo());
        QVERIFY(s.backing().copy(0, 0, 200, 100) == drawn);
        // A picture drawn on is kept whole.
        s.BeginStep(StepKind::New);
        s.Line(0, 0, 400, 140, kRed, Shape::FilledBox);
        s.EndStep();
        QVERIFY(s.history()->bytes() >= std::size_t{400 * 140 * 4});
        QVERIFY(s.Undo());
        QVERIFY(s.backing().copy(0, 0, 200, 100) == drawn);
    }

    void onlyTheChangedRectangleIsReported()
    {
        RasterSurface s(1004, 804, 2, kWhite);
        QList<QRect> changed;
        s.setChangedHandler([&](const QRegion& r) { changed.append(QList<QRect>(r.begin(), r.end())); });
        s.Line(100, 100, 110, 104, kBlack);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0], QRect(100, 100, 11, 5));
        s.SetDrawWidth(9);
        const Segment steps[] = {{10, 10, 20, 10}, {500, 500, 500, 510}};
        s.Lines(steps, kBlack);  // far apart: each repaints only its own box
        QCOMPARE(changed.size(), 3);
        QCOMPARE(changed[1], QRect(6, 6, 19, 9));
        QCOMPARE(changed[2], QRect(496, 496, 9, 19));
        s.Line(-500, -500, -400, -400, kBlack);  // nothing visible changes
        QCOMPARE(changed.size(), 3);
    }

    void copiesFarApartRepaintAndKeepOnlyTheirOwnPlaces()
    {
        RasterSurface s(3844, 2164, 2, kWhite);
        s.keepHistory();
        QRegion reported;
        s.setChangedHandler([&](const QRegion& r) { reported += r; });
        s.SetDrawWidth(5);
        // 32 small segments on a ring, as a mirrored Centric step draws them:
        // their own boxes, not one box around them all.
        std::vector<Segment> ring;
        for (int i = 0; i < 32; ++i)
            ring.push_back({float(1900 + 900 * std::cos(i * 0.196)), float(1080 + 900 * std::sin(i * 0.196)),
                            float(1904 + 900 * std::cos(i * 0.196)), float(1080 + 900 * std::sin(i * 0.196))});
        s.Lines(ring, kBlack);
        QVERIFY(!reported.contains(QPoint(1900, 1080)));
        QVERIFY(reported.contains(QPoint(2800, 1080)));
        // Two copies of a grid 3000 pixels apart in a row keep their own tiles
        // in the history, not the 47 between them, which a red line makes
        // worth copying; the rows below, of the same form, keep theirs too.
        s.Line(0, 120, 3839, 120, kRed);
        const QImage picture = s.backing().copy();
        const std::size_t before = s.history()->bytes();
        s.BeginStep();
        SegmentGrid g;
        g.first = {100, 100, 104, 100};
        g.stepX = 3000;
        g.stepY = 700;
        g.columns = 2;
        g.rows = 3;
        s.GridLines(g, kBlack);
        s.EndStep();
        QVERIFY2(s.history()->bytes() - before < 6 * 64 * 64 * 4, qPrintable(QString::number(s.history()->bytes() - before)));
        QVERIFY(s.Undo());
        QCOMPARE(s.Point(3102, 100), 0xFFFFFF);
        QVERIFY(s.backing() == picture);
    }

    void aGridPastTheSixtyFourthTileUndoesExactly()
    {
        // A row's first 64 tiles are kept track of as bits, those past x = 4096
        // one by one: rows of the same form further down still keep theirs.
        RasterSurface s(4400, 320, 0, kWhite);
        s.keepHistory();
        const QImage picture = s.backing().copy();
        s.SetDrawWidth(5);
        s.BeginStep();
        s.GridLines(SegmentGrid{.first = {10, 10, 14, 10}, .stepX = 300, .stepY = 100, .columns = 15, .rows = 3}, kBlack);
        s.EndStep();
        QCOMPARE(s.Point(4212, 210), 0);
        QVERIFY(s.Undo());
        QCOMPARE(s.Point(4212, 210), 0xFFFFFF);
        QVERIFY(s.backing() == picture);
    }

    void aFourKHistoryStaysWithinItsBoundAndUndoesExactly()
    {
        RasterSurface s(3840, 2160, 0, kWhite);
        s.keepHistory();
        const std::size_t bound = TileHistory::Limits{}.bytes;
        std::vector<QImage> after;  // the picture after each step
        for (int step = 0; step < 40; ++step) {
            s.BeginStep(step % 4 == 3 ? StepKind::Invert : step % 4 == 1 ? StepKind::Stroke : StepKind::New);
            if (step % 4 == 3) {
                s.SetDrawMode(kInvertPen);
                s.Line(0, 0, 3840, 2160, kBlack, Shape::FilledBox);
                s.SetDrawMode(kCopyPen);
            } else if (step % 4 == 1) {
                // Strokes through every tile, as a Pattern step with the tiniest cells.
                s.SetDrawWidth(30);
                for (int x = 20; x < 3840; x += 64)
                    s.Line(x + step, 0, x, 2159, rgb(step, 0, 200));
            } else {
                s.Line(0, 0, 3840, 2160, rgb(step * 5, 255 - step * 5, step % 7 * 30), Shape::FilledBox);
                s.SetDrawWidth(static_cast<int16>(1 + step % 30));
                s.Line(step * 90, 0, 3839 - step * 90, 2159, kBlack);  // a stroke across the tiles
            }
            s.EndStep();
            QVERIFY2(s.history()->bytes() <= bound, qPrintable(QString::number(s.history()->bytes())));
            if (after.size() == 12)
                after.erase(after.begin());
            after.push_back(s.backing().copy());
        }
        // A whole-canvas step is about 32 MB, an Invert next to nothing: about
        // seven of the one and all the others between them fit the bound.
        QVERIFY2(s.history()->steps() >= 8 && s.history()->steps() < 40, qPrintable(QString::number(s.history()->steps())));
        // Undoing a tile kept as one colour keeps the step's own pixels for the
        // redo: the bound holds then too, the oldest steps going first.
        std::size_t undone = 0;
        while (s.CanUndo()) {
            QVERIFY(s.Undo());
            ++undone;
            QVERIFY2(s.history()->bytes() <= bound, qPrintable(QString::number(s.history()->bytes())));
            if (undone < after.size())
                QVERIFY2(s.backing() == after[after.size() - 1 - undone], qPrintable(QString("undo %1").arg(undone)));
        }
        QVERIFY2(undone >= 8, qPrintable(QString::number(undone)));
        QVERIFY(!s.Undo());
        const std::size_t left = s.history()->steps();
        for (std::size_t i = 0; i < left; ++i)
            QVERIFY(s.Redo());
        QVERIFY(!s.CanRedo());
        QVERIFY(s.backing() == after.back());
    }

    void aStepKeepsOnlyTheTilesItWritesAndANewStepDropsTheUndone()
    {
        RasterSurface s(300, 200, 0, kWhite);
        s.keepHistory(TileHistory::Limits{3, std::size_t{1} << 30});
        const long long start = s.PictureState();
        s.BeginStep();
        s.EndStep();  // nothing drawn: no step
        QVERIFY(!s.CanUndo());
        s.BeginStep();
        s.Line(10, 10, 100, 10, kRed);  // within the first row of tiles, two of them
        for (int i = 0; i < 20; ++i)
            s.Line(10, 12, 100, 12, kRed);  // the same tiles again: kept once
        s.EndStep();
        QCOMPARE(s.history()->steps(), std::size_t{1});
        QVERIFY(s.history()->bytes() < 1024);  // both tiles were plain white: the colour is enough
        const long long red = s.PictureState();
        QVERIFY(red != start);
        // Drawing outside a step is a step of its own.
        s.Line(250, 150, 290, 190, kBlack);
        QVERIFY(s.CanUndo() && !s.CanRedo());
        QVERIFY(s.Undo());
        QCOMPARE(s.PictureState(), red);
        QCOMPARE(s.Point(270, 170), static_cast<std::int32_t>(kWhite));
        QVERIFY(s.Undo());
        QCOMPARE(s.PictureState(), start);
        QCOMPARE(countColour(s, kWhite), 300 * 200);
        QVERIFY(s.history()->bytes() >= 2 * 64 * 64 * 4);  // now the undone strokes' pixels, for a redo
        QVERIFY(s.Redo());
        QCOMPARE(s.Point(50, 12), static_cast<std::int32_t>(kRed));
        QCOMPARE(s.PictureState(), red);
        // A new step after an undo: the undone black stroke is gone for good.
        s.BeginStep();
        s.Line(0, 199, 299, 199, kBlue);
        s.EndStep();
        QVERIFY(!s.CanRedo());
        // Past the count bound the oldest steps go.
        for (int i = 0; i < 4; ++i) {
            s.BeginStep();
            s.Line(i * 10, 50, i * 10, 60, kBlack);
            s.EndStep();
        }
        QCOMPARE(s.history()->steps(), std::size_t{3});
    }

    void undoingPastTheBoundKeepsWhatStillRedoesInTurn()
    {
        // Strokes over blank canvas keep next to nothing, but undoing one keeps
        // its five tiles of pixels for the redo: room for one such undo, not two.
        RasterSurface s(320, 200, 0, kWhite);
        const std::size_t bound = 5 * 64 * 64 * 4 + 4096;
        s.keepHistory(TileHistory::Limits{256, bound});
        s.BeginStep();
        s.Line(10, 10, 310, 10, kRed);
        s.EndStep();
        const QImage afterRed = s.backing().copy();
        s.BeginStep();
        s.Line(10, 100, 310, 100, kBlue);
        s.EndStep();
        QVERIFY(s.history()->bytes() < 1024);
        QVERIFY(s.Undo() && s.Undo());  // the second passes the bound: the blue redo goes
        QCOMPARE(countColour(s, kWhite), 320 * 200);
        QVERIFY(s.history()->bytes() <= bound);
        QVERIFY(s.Redo());
        QVERIFY(s.backing() == afterRed);
        QVERIFY(!s.CanRedo());
    }

    // Each way of writing through a mask, whichever this processor would take,
    // changes exactly the masked pixels of the run, whatever its length and start.
    void maskedRunsChangeOnlyTheMaskedPixels()
    {
        std::mt19937 rng(7);
        using Fill = void (*)(std::uint32_t*, const std::uint16_t*, std::ptrdiff_t, std::uint32_t);
        std::vector<Fill> fills{maskedFillRunSse2, maskedFillRun};
#if defined(KALIDOR_WIDE_RUNS)
        if (kHasAvx2)
            fills.push_back(maskedFillRunAvx2);
        if (kHasAvx512)
            fills.push_back(maskedFillRunAvx512);
#endif
        for (Fill fill : fills)
            for (int n = 0; n < 48; ++n) {
                // The mask made of runs, as the rows' spans make it: some
                // short, some whole words, some of one pixel.
                std::vector<std::uint16_t> mask(3, 0);
                std::vector<bool> set(static_cast<std::size_t>(n), false);
                for (int from = static_cast<int>(rng() % 4); from < n; from += 1 + static_cast<int>(rng() % 20)) {
                    const int to = std::min(n - 1, from + static_cast<int>(rng() % 40));
                    setMaskBits(mask.data(), from, to);
                    std::fill(set.begin() + from, set.begin() + to + 1, true);
                    from = to + 1;
                }
                std::vector<std::uint32_t> pixels(56);
                for (auto& p : pixels)
                    p = rng();
                const std::size_t start = rng() % 8;
                std::vector<std::uint32_t> expected = pixels;
                for (int i = 0; i < n; ++i)
                    if (set[static_cast<std::size_t>(i)])
                        expected[start + static_cast<std::size_t>(i)] = 0x123456u;
                fill(pixels.data() + start, mask.data(), n, 0x123456u);
                QCOMPARE(pixels, expected);
            }
        // A run of one colour is told from one with a single pixel off,
        // wherever that pixel lies, in the wide part or the tail.
        for (int n = 0; n < 40; ++n) {
            std::vector<std::uint32_t> run(static_cast<std::size_t>(n) + 1, 0xABCDEFu);
            QVERIFY(runIsAll(run.data() + 1, n, 0xABCDEFu));
            run[0] = 0;  // before the run: not looked at
            QVERIFY(runIsAll(run.data() + 1, n, 0xABCDEFu));
            for (int off = 1; off <= n; ++off) {
                run[static_cast<std::size_t>(off)] = 0x01ABCDEFu;  // only the unused top byte differs
                QVERIFY(!runIsAll(run.data() + 1, n, 0xABCDEFu));
                run[static_cast<std::size_t>(off)] = 0xABCDEFu;
            }
        }
    }

    void movedPixelsInvertedAreInvertedOnceEach()
    {
        // A vertical segment and its image across the horizontal line y = 50,
        // made by moving pixels: inverting writes their union once, so where
        // they overlap the pixels are inverted too, and no pixel takes the ink.
        RasterSurface s(104, 104, 2, kWhite);
        s.SetDrawWidth(5);
        s.SetDrawMode(kInvertPen);
        Symmetry sym;
        sym.ops.push_back(PointOp{1, 0, 0, -1, 0, 100});
        sym.movesPixels = true;
        const Segment down{30, 40, 30, 55};
        s.Paint(std::span(&down, 1), sym, 0x0000FF);
        QCOMPARE(s.Point(30, 42), 0);  // the segment
        QCOMPARE(s.Point(30, 58), 0);  // its image
        QCOMPARE(s.Point(30, 50), 0);  // both
        QCOMPARE(countColour(s, 0x0000FF), 0);
        QCOMPARE(s.Point(30, 70), std::int32_t{kWhite});
    }

    void farAwayEndsStillDrawTheVisiblePart()
    {
        RasterSurface s(104, 104, 2, kWhite);
        s.Line(-30000, -30000, 30000, 30000, kBlack);
        QCOMPARE(s.Point(0, 0), 0);
        QCOMPARE(s.Point(99, 99), 0);
        QCOMPARE(countColour(s, kBlack), 100);
        s.Line(-1e30f, 5, 1e30f, 5, kBlack);  // pulled in, never an endless loop
        QCOMPARE(s.Point(50, 5), 0);
    }
};

QTEST_GUILESS_MAIN(RasterSurfaceTest)
#include "test_raster_surface.moc"
