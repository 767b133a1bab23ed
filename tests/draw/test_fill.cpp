// Fill: the F key, the Edit pop-up's entry and the cursor; a press's images in
// each mode; symmetric fills held against filling each image's region one by
// one; the wells; what Fill leaves as it was; and the history.

#include <array>
#include <cmath>
#include <random>

#include <QAction>
#include <QMenu>
#include <QSlider>

#include "draw/centric.h"
#include "draw/fill_tool.h"
#include "draw/pattern.h"
#include "draw/press_images.h"
#include "draw/wallpaper_groups.h"
#include "picture/undo_redo.h"
#include "picture/unsaved_changes.h"
#include "platform/widgets/status_bar_widget.h"
#include "platform/widgets/surface_widget.h"
#include "support/plain_fill.h"
#include "support/recorded_window.h"

using namespace kalidor;
using test::filledPlainly;

namespace {

constexpr Qt::MouseButton kL = Qt::LeftButton;
constexpr Qt::MouseButton kR = Qt::RightButton;
constexpr Qt::MouseButton kM = Qt::MiddleButton;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlue = 0xFF0000;
constexpr Colour kGreen = 0x00FF00;

using Window = test::RecordedWindow;

QImage picture(const Window& w) { return w.window->editor().ui.pbBox.box()->surface().backing().copy(); }

void click(Window& w, double x, double y, Qt::MouseButton b = kL)
{
    w.press(x, y, b, b);
    test::release(w.canvas, test::onCanvas(x, y), b, Qt::NoButton);
}

// Strokes in random colours and places, in the mode chosen: loops that close,
// some with a line away from them.
void drawRandomly(Window& w, std::mt19937& random, int strokes)
{
    auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const Colour colours[] = {kBlack, kBlue, kBlack, kWhite};
    for (int i = 0; i < strokes; ++i) {
        w.e.ui.pbColor[1].SetBackColor(colours[any(0, 3)]);
        const int cx = any(0, 480), cy = any(0, 600), r = any(3, 60);
        const int moves = any(3, 12);
        w.press(cx + r, cy, kL, kL);
        for (int k = 1; k <= moves; ++k)
            w.move(cx + r * std::cos(6.2832 * k / moves), cy + r * std::sin(6.2832 * k / moves), kL);
        if (any(0, 2) == 0)
            w.move(any(0, 480), any(0, 600), kL);
        test::release(w.canvas, test::onCanvas(cx, cy), kL, Qt::NoButton);
    }
}

// Where the Centric copies of a point end: turned by the angle step as a
// single, step after step, rounded as the copies are; then mirrored across
// the centre's vertical.
std::vector<PixelPoint> centricTurns(const EditorState& s, int n, bool mirror, int x, int y)
{
    const double dx = x - s.CenterX, dy = y - s.CenterY;
    const auto r = static_cast<float>(std::sqrt(dx * dx + dy * dy));
    float a = DefAlfa(s, static_cast<int16>(x), static_cast<int16>(y));
    const auto step = static_cast<float>(static_cast<double>(kFullTurn) / n);
    std::vector<PixelPoint> turns;
    for (int i = 0; i < n; ++i) {
        turns.push_back({static_cast<int>(i16::roundHalfEven(r * std::cos(static_cast<double>(a)) + s.CenterX)),
                         static_cast<int>(i16::roundHalfEven(r * std::sin(static_cast<double>(a)) + s.CenterY))});
        a = static_cast<float>(static_cast<double>(a) + step);
    }
    if (mirror)
        for (int i = 0; i < n; ++i)
            turns.push_back({2 * s.CenterX - turns[static_cast<std::size_t>(i)].x, turns[static_cast<std::size_t>(i)].y});
    return turns;
}

// Where a point's copies lie in the Pattern grid of cells w x h over a canvas
// of outer size, in every cell of the loop (with Chess those of the point's
// parity); with Mirror a cell with odd k = column - 1 turns its copy over left
// to right within the cell, odd j top to bottom, so the point's offset in its
// own cell is first turned back.
std::vector<PixelPoint> patternCells(int w, int h, int outerW, int outerH, bool chess, bool mirror, int x, int y)
{
    const int column = x / w + 1, row = y / h + 1;
    auto origin = [](int i, int cell) { return (i - 1) * cell; };
    auto turned = [&](int i) { return mirror && (i - 1) % 2 != 0; };
    const int ux = turned(column) ? origin(column + 1, w) - x : x - origin(column, w);
    const int uy = turned(row) ? origin(row + 1, h) - y : y - origin(row, h);
    std::vector<PixelPoint> cells;
    for (int r = 0; r <= outerH / h + 1; ++r)
        for (int c = 0; c <= outerW / w + 1; ++c) {
            if (chess && ((c + r) & 1) != ((column + row) & 1))
                continue;
            cells.push_back({turned(c) ? origin(c + 1, w) - ux : origin(c, w) + ux,
                             turned(r) ? origin(r + 1, h) - uy : origin(r, h) + uy});
        }
    return cells;
}

// The pixels that the centre of pixel (x, y) goes to under the wallpaper
// group, on cells of w x h, as its table defines it: every operation (with the
// centring) and translation whose image lands within `reach` pixels.
std::vector<PixelPoint> groupImages(int group, int w, int h, int x, int y, int reach)
{
    const WallpaperGroup& g = wallpaperGroup(group);
    const CellVectors c = cellVectors(g.lattice, static_cast<int16>(w), static_cast<int16>(h));
    const double det = c.ax * c.by - c.bx * c.ay;
    const double px = x + 0.5, py = y + 0.5;
    const double qx = (c.by * px - c.bx * py) / det, qy = (c.ax * py - c.ay * px) / det;
    std::vector<PixelPoint> images;
    for (const int centre : {0, 1}) {
        if (centre == 1 && g.lattice != LatticeShape::Centred)
            break;
        for (const GroupOp& f : g.ops)
            for (int j = -30; j <= 30; ++j)
                for (int k = -30; k <= 30; ++k) {
                    const double nx = f.xx * qx + f.xy * qy + (f.hx + centre) / 2.0 + k;
                    const double ny = f.yx * qx + f.yy * qy + (f.hy + centre) / 2.0 + j;
                    const double ix = c.ax * nx + c.bx * ny, iy = c.ay * nx + c.by * ny;
                    if (ix >= -1 && iy >= -1 && ix <= reach && iy <= reach)
                        images.push_back({static_cast<int>(std::floor(ix)), static_cast<int>(std::floor(iy))});
                }
    }
    return images;
}

// The images whose pixel has the pressed pixel's colour, on the canvas.
std::vector<PixelPoint> ofThePressedColour(const QImage& picture, const std::vector<PixelPoint>& images, PixelPoint p)
{
    std::vector<PixelPoint> kept{p};
    for (const PixelPoint& q : images)
        if (picture.rect().contains(q.x, q.y) && picture.pixel(q.x, q.y) == picture.pixel(p.x, p.y))
            kept.push_back(q);
    return kept;
}

// A press point in a region smaller than a tenth of the picture, where one
// is found: a fill of the background alone would reach most images anyway.
PixelPoint pressInASmallRegion(const QImage& picture, std::mt19937& random)
{
    PixelPoint p;
    for (int tries = 0; tries < 40; ++tries) {
        p = {std::uniform_int_distribution<int>(0, picture.width() - 1)(random),
             std::uniform_int_distribution<int>(0, picture.height() - 1)(random)};
        const QRgb other = picture.pixel(p.x, p.y) == toPixel(kGreen) ? toPixel(kRed) : toPixel(kGreen);
        const QImage filled = filledPlainly(picture, {p}, fromPixel(other));
        long long changed = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                changed += filled.pixel(x, y) != picture.pixel(x, y);
        if (changed * 10 < static_cast<long long>(picture.width()) * picture.height())
            break;
    }
    return p;
}

bool sameSet(std::vector<PixelPoint> a, std::vector<PixelPoint> b)
{
    auto order = [](const PixelPoint& p, const PixelPoint& q) { return std::pair(p.y, p.x) < std::pair(q.y, q.x); };
    std::sort(a.begin(), a.end(), order);
    std::sort(b.begin(), b.end(), order);
    a.erase(std::unique(a.begin(), a.end()), a.end());
    b.erase(std::unique(b.begin(), b.end()), b.end());
    return a == b;
}

}  // namespace

class FillTest : public QObject {
    Q_OBJECT
private slots:
    void theFKeyAndTheEditEntrySwitchFillAndTheCursorSaysSo()
    {
        test::RecordedWindow w;
        Editor& e = w.e;
        auto* canvas = e.ui.pbBox.box();
        QVERIFY(!e.fill);
        QCOMPARE(canvas->cursor().shape(), Qt::ArrowCursor);
        w.key(Qt::Key_F);
        QVERIFY(e.fill);
        QCOMPARE(canvas->cursor().shape(), Qt::BitmapCursor);
        QVERIFY(!canvas->cursor().pixmap().isNull());
        // With Ctrl or Alt it is another key; with Shift still F, as M and G are.
        w.key(Qt::Key_F, Qt::ControlModifier);
        w.key(Qt::Key_F, Qt::AltModifier);
        QVERIFY(e.fill);
        // Colour pick takes the next press: the usual cursor while it is on.
        w.key(Qt::Key_C);
        QCOMPARE(canvas->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(e.fill);
        w.key(Qt::Key_C);
        QCOMPARE(canvas->cursor().shape(), Qt::BitmapCursor);
        w.key(Qt::Key_F, Qt::ShiftModifier);
        QVERIFY(!e.fill);
        QCOMPARE(canvas->cursor().shape(), Qt::ArrowCursor);
        // The Edit pop-up's entry, checked while Fill is on; the panel's tooltip names the key.
        QAction* entry = e.ui.mnuEdit.menu()->actions().at(4);
        QCOMPARE(entry->text(), QString("&Fill\tF"));
        QVERIFY(entry->isCheckable());
        QVERIFY(!entry->toolTip().isEmpty());
        QVERIFY(e.ui.mnuEdit.menu()->toolTipsVisible());
        showEditMenu(e);
        QVERIFY(!entry->isChecked());
        entry->trigger();
        QVERIFY(e.fill);
        QCOMPARE(canvas->cursor().shape(), Qt::BitmapCursor);
        showEditMenu(e);
        QVERIFY(entry->isChecked());
        QVERIFY(e.ui.sb.bar()->panelToolTip(4).find("Fill (F)") != std::string::npos);
    }

    void aPressFillsTheRegionInTheWellOfItsButtons()
    {
        Window f;
        Editor& e = f.e;
        f.key(Qt::Key_F);
        e.ui.pb->Line(100, 100, 200, 160, kBlack, Shape::Box);
        e.ui.pb->Line(300, 100, 360, 160, kBlack, Shape::Box);
        e.ui.pbHistory->EndStep();
        e.ui.pbColor[1].SetBackColor(kRed);
        e.ui.pbColor[2].SetBackColor(kBlue);
        markSaved(e);  // as if saved with the two boxes
        // The left button fills with well 1; moves after it, button held, draw nothing.
        f.press(150, 130, kL, kL);
        f.move(250, 300, kL);
        f.move(20, 20, kL);
        test::release(f.canvas, test::onCanvas(20, 20), kL, Qt::NoButton);
        QVERIFY(f.pb.segments.empty());
        QCOMPARE(e.ui.pb->Point(101, 101), std::int32_t{kRed});
        QCOMPARE(e.ui.pb->Point(199, 159), std::int32_t{kRed});
        QCOMPARE(e.ui.pb->Point(100, 130), std::int32_t{kBlack});
        QCOMPARE(e.ui.pb->Point(250, 300), std::int32_t{kWhite});
        QCOMPARE(e.ui.pb->Point(330, 130), std::int32_t{kWhite});
        // One press, one step, which the close question counts.
        QVERIFY(hasUnsavedChanges(e));
        const QImage red = picture(f);
        // The right button, well 2, outside the boxes; the second button pressed
        // while the first is held, well 3.
        click(f, 20, 20, kR);
        QCOMPARE(e.ui.pb->Point(450, 400), std::int32_t{kBlue});
        QCOMPARE(e.ui.pb->Point(330, 130), std::int32_t{kWhite});
        f.press(150, 130, kL, kL);  // red already: well 1 is red
        f.press(330, 130, kR, kL | kR);
        QCOMPARE(e.ui.pb->Point(330, 130), std::int32_t{0x800080});
        test::release(f.canvas, test::onCanvas(330, 130), kR, kL);
        test::release(f.canvas, test::onCanvas(330, 130), kL, Qt::NoButton);
        // The middle button names no well; a press on the well's own colour
        // changes nothing and makes no step.
        const long long state = e.ui.pbHistory->PictureState();
        const QImage before = picture(f);
        click(f, 330, 130, kM);
        click(f, 150, 130, kL);
        QCOMPARE(picture(f), before);
        QCOMPARE(e.ui.pbHistory->PictureState(), state);
        // Undo gives every picture back exactly.
        f.key(Qt::Key_Z, Qt::ControlModifier);
        f.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(picture(f), red);
        f.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(e.ui.pb->Point(150, 130), std::int32_t{kWhite});
        QVERIFY(!hasUnsavedChanges(e));
    }

    void shiftStillPlacesThePointAndColourPickStillPicks()
    {
        Window f;
        Editor& e = f.e;
        f.key(Qt::Key_F);
        f.choose(kCentric);
        e.ui.pb->Line(10, 10, 40, 40, kGreen, Shape::FilledBox);
        e.ui.pbHistory->EndStep();
        const long long state = e.ui.pbHistory->PictureState();
        f.press(250, 200, kL, kL, Qt::ShiftModifier);
        f.move(260, 210, kL, Qt::ShiftModifier);
        test::release(f.canvas, test::onCanvas(260, 210), kL, Qt::NoButton);
        QCOMPARE(f.panel3(), std::string("C: 260,210"));
        QCOMPARE(e.ui.pbHistory->PictureState(), state);
        // Shift with Ctrl is no Shift: it fills.
        f.press(300, 300, kR, kR, Qt::ShiftModifier | Qt::ControlModifier);
        test::release(f.canvas, test::onCanvas(300, 300), kR, Qt::NoButton);
        QCOMPARE(e.ui.pbHistory->PictureState(), state);  // well 2 is white, as the canvas
        // Colour pick takes the next press and returns; Fill stays on, and the
        // moves after it draw nothing.
        f.key(Qt::Key_C);
        f.press(20, 20, kL, kL);
        f.move(200, 200, kL);
        test::release(f.canvas, test::onCanvas(200, 200), kL, Qt::NoButton);
        QCOMPARE(e.ui.pbColor[1].BackColor(), kGreen);
        QCOMPARE(e.st.Mode, kCentric);
        QVERIFY(e.fill);
        QVERIFY(f.pb.segments.empty());
        QCOMPARE(e.ui.pbHistory->PictureState(), state);
        click(f, 100, 300);
        QVERIFY(e.ui.pbHistory->PictureState() != state);
        QCOMPARE(e.ui.pb->Point(100, 300), std::int32_t{kGreen});
    }

    void aPressStandsForItsImagesUnderTheModesSymmetry()
    {
        // The images of the geometry alone, on a scratch copy of the state.
        EditorState s;
        s.CenterX = 100;
        s.CenterY = 100;
        s.PatternX = 200;
        s.PatternY = 200;
        ImageSettings m;
        QCOMPARE(pressImages(s, m, 150, 100), (std::vector<PixelPoint>{{150, 100}}));  // Normal
        m.mode = kCentric;
        m.n = 4;
        QVERIFY(sameSet(pressImages(s, m, 150, 100), {{150, 100}, {100, 150}, {50, 100}, {100, 50}}));
        m.mirror = true;
        QCOMPARE(pressImages(s, m, 150, 110).size(), std::size_t{1 + 8});
        QVERIFY(sameSet(pressImages(s, m, 150, 110), {{150, 110}, {90, 150}, {50, 90}, {110, 50}, {50, 110}, {110, 150}, {150, 90}, {90, 50}}));
        QVERIFY(s.SXY.empty());  // the state itself untouched
        // Pattern: the loop's 4 x 4 cells on a canvas of 451 x 441, 8 with Chess.
        m = ImageSettings{kPattern, 5, false, false, 451, 441};
        QCOMPARE(pressImages(s, m, 30, 250).size(), std::size_t{1 + 16});
        QVERIFY(sameSet(pressImages(s, m, 30, 250), patternCells(200, 200, 451, 441, false, false, 30, 250)));
        m.chess = true;
        QVERIFY(sameSet(pressImages(s, m, 30, 250), patternCells(200, 200, 451, 441, true, false, 30, 250)));
        QCOMPARE(s.PatternCell, (Cell16{}));
        // With Mirror, a press in a cell turned over: the images pass through it.
        m.mirror = true;
        for (const bool chess : {false, true}) {
            m.chess = chess;
            for (const auto& [x, y] : {std::pair{250, 30}, {30, 250}, {250, 270}, {399, 399}, {200, 0}}) {
                const std::vector<PixelPoint> images = pressImages(s, m, static_cast<int16>(x), static_cast<int16>(y));
                QVERIFY(std::count(images.begin(), images.end(), PixelPoint{x, y}) >= 2);
                QVERIFY2(sameSet(images, patternCells(200, 200, 451, 441, chess, true, x, y)),
                         qPrintable(QString("(%1, %2) chess %3").arg(x).arg(y).arg(chess)));
            }
        }
        // Past 16 bits the geometry gives up: the press point alone, or the
        // cells before the first that leaves the range.
        s.CenterX = -32000;
        m = ImageSettings{kCentric, 5, false, false, 451, 441};
        QCOMPARE(pressImages(s, m, 30000, 20), (std::vector<PixelPoint>{{30000, 20}}));
        s.PatternX = 16384;
        m = ImageSettings{kPattern, 5, false, false, 40000, 441};
        const std::vector<PixelPoint> cut = pressImages(s, m, 100, 100);
        QCOMPARE(cut.front(), (PixelPoint{100, 100}));
        QVERIFY(cut.size() > 1 && cut.size() < 1 + 4 * 4);
    }

    void centricFillsEveryTurnAsFillingEachImageDoes()
    {
        std::mt19937 random(26);
        auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        for (int round = 0; round < 12; ++round) {
            test::RecordedWindow w;
            Editor& e = w.e;
            w.choose(kCentric);
            e.st.CenterX = static_cast<int16>(any(150, 350));
            e.st.CenterY = static_cast<int16>(any(150, 450));
            const int n = any(1, 16);
            e.ui.slN.slider()->setValue(n);
            e.mirror = round % 2 == 1;
            drawRandomly(w, random, any(2, 8));
            w.choose(kNormal);
            drawRandomly(w, random, any(0, 2));  // a few strokes that break the symmetry
            w.choose(kCentric);
            w.key(Qt::Key_F);
            const QImage before = picture(w);
            const PixelPoint p = pressInASmallRegion(before, random);
            e.ui.pbColor[1].SetBackColor(kGreen);
            click(w, p.x, p.y);
            const std::vector<PixelPoint> seeds = ofThePressedColour(before, centricTurns(e.st, n, e.mirror, p.x, p.y), p);
            QVERIFY2(picture(w) == filledPlainly(before, seeds, kGreen),
                     qPrintable(QString("round %1: N %2, mirror %3, press (%4, %5)").arg(round).arg(n).arg(e.mirror).arg(p.x).arg(p.y)));
            w.key(Qt::Key_Z, Qt::ControlModifier);
            QVERIFY(picture(w) == before);
        }
    }

    void patternFillsEveryCellAsFillingEachImageDoes()
    {
        std::mt19937 random(2626);
        auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        for (int round = 0; round < 16; ++round) {
            test::RecordedWindow w;
            Editor& e = w.e;
            w.choose(kPattern);
            const int cw = any(25, 140), ch = any(25, 140);
            e.st.PatternX = static_cast<int16>(cw);
            e.st.PatternY = static_cast<int16>(ch);
            const bool chess = round % 2 == 1, mirror = round % 4 >= 2;
            e.ui.cbChess.SetValue(chess ? 1 : 0);
            e.mirror = mirror;
            const bool symmetric = round % 8 < 4;
            drawRandomly(w, random, any(2, 6));
            if (!symmetric) {
                w.choose(kNormal);
                drawRandomly(w, random, 2);
                w.choose(kPattern);
            }
            w.key(Qt::Key_F);
            const QImage before = picture(w);
            const PixelPoint p = pressInASmallRegion(before, random);
            e.ui.pbColor[1].SetBackColor(kRed);
            click(w, p.x, p.y);
            const std::vector<PixelPoint> cells = patternCells(cw, ch, static_cast<int>(e.ui.pb->Width()),
                                                               static_cast<int>(e.ui.pb->Height()), chess, mirror, p.x, p.y);
            const QImage after = picture(w);
            QVERIFY2(after == filledPlainly(before, ofThePressedColour(before, cells, p), kRed),
                     qPrintable(QString("round %1: cells %2 x %3, chess %4, mirror %5, press (%6, %7)")
                                    .arg(round).arg(cw).arg(ch).arg(chess).arg(mirror).arg(p.x).arg(p.y)));
        }
    }

    void aGroupFillsEveryImageAsFillingEachImageDoes()
    {
        std::mt19937 random(2629);
        auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        for (int round = 0; round < 10; ++round) {
            test::RecordedWindow w;
            Editor& e = w.e;
            w.choose(kPattern);
            const int group = std::array{2, 7, 11, 14, 16}[static_cast<std::size_t>(round % 5)];  // pm pgg p4g p31m p6m
            const int cw = any(30, 60) * 2, ch = any(30, 60) * 2;
            e.st.PatternX = static_cast<int16>(cw);
            e.st.PatternY = static_cast<int16>(ch);
            e.group = group;
            drawRandomly(w, random, any(2, 5));
            w.key(Qt::Key_F);
            const QImage before = picture(w);
            const PixelPoint p = pressInASmallRegion(before, random);
            e.ui.pbColor[1].SetBackColor(kBlue);
            click(w, p.x, p.y);
            const std::vector<PixelPoint> images = groupImages(group, cw, ch, p.x, p.y, 1000);
            QVERIFY2(picture(w) == filledPlainly(before, ofThePressedColour(before, images, p), kBlue),
                     qPrintable(QString("round %1: group %2, cells %3 x %4, press (%5, %6)")
                                    .arg(round).arg(group).arg(cw).arg(ch).arg(p.x).arg(p.y)));
        }
    }
};

QTEST_MAIN(FillTest)
#include "test_fill.moc"
