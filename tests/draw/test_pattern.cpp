// Pattern drawing: the grid's arithmetic with truncating division, the worked
// example segment for segment, and the cases at cell boundaries and edges.

#include <algorithm>
#include <array>
#include <random>

#include "draw/pattern.h"
#include "platform/raster/raster_surface.h"
#include "support/recorded_window.h"

using namespace kalidor;
using test::DrawnSegment;
using Segments = std::vector<DrawnSegment>;

namespace {

constexpr Qt::MouseButton kL = Qt::LeftButton;

// Pattern mode on a canvas of the given outer size, with the given cells.
struct Pattern : test::RecordedWindow {
    Pattern(int outerWidth, int outerHeight, int16 cellWidth, int16 cellHeight, bool chess = false)
    {
        choose(kPattern);
        e.ui.pbBox.Move(e.ui.pbBox.Left(), e.ui.pbBox.Top(), outerWidth, outerHeight);
        e.ui.picture->SetSize(outerWidth - 4, outerHeight - 4);  // the picture follows, inside the border
        e.st.PatternX = cellWidth;
        e.st.PatternY = cellHeight;
        e.ui.cbChess.SetValue(chess ? 1 : 0);
    }
    void setUp(int16 x, int16 y) { DefPatternSXY(e, x, y); }
    void step(int16 x, int16 y) { PatternDrawLines(e, x, y, 1); }
    const EditorState& st() const { return e.st; }
};

// The cell loop written out cell by cell in wide arithmetic, up to the first
// cell whose coordinates leave 16 bits. With `mirror`, in the cell with k odd
// (k = column - 1, origin bx = k * PatternX) x becomes 2 bx + PatternX - x, and
// likewise y where j = row - 1 is odd.
Segments oneByOne(const EditorState& s, bool chess, Point16 to, bool mirror = false)
{
    Segments out;
    auto fits = [](long long v) { return v >= -32768 && v <= 32767; };
    for (int r = 0; r <= s.CellsY; ++r)
        for (int c = 0; c <= s.CellsX; ++c) {
            if (chess && ((r + c) & 1) != s.ChessPhase)
                continue;
            const long long ox = (c - 1LL) * s.PatternX, oy = (r - 1LL) * s.PatternY;
            const long long v[] = {ox, ox + s.PatternSXY.x, oy, oy + s.PatternSXY.y, ox + to.x, oy + to.y};
            for (long long x : v)
                if (!fits(x))
                    return out;
            auto flipX = [&](long long x) { return mirror && (c - 1) % 2 != 0 ? 2 * ox + s.PatternX - x : x; };
            auto flipY = [&](long long y) { return mirror && (r - 1) % 2 != 0 ? 2 * oy + s.PatternY - y : y; };
            out.push_back({float(flipX(v[1])), float(flipY(v[3])), float(flipX(v[4])), float(flipY(v[5])), 0, 1});
        }
    return out;
}

// The state of a stroke set up at (x, y) on a canvas of that outer size.
EditorState patternState(int16 cellX, int16 cellY, float width, float height, int16 x, int16 y)
{
    EditorState s;
    s.PatternX = cellX;
    s.PatternY = cellY;
    patternStart(s, width, height, x, y);
    return s;
}

}  // namespace

class PatternTest : public QObject {
    Q_OBJECT
private slots:
    void theWorkedExampleWithChess()
    {
        Pattern w(120, 90, 50, 40, true);
        w.press(30, 25, kL, kL);
        QCOMPARE(w.st().CellsX, int16{3});
        QCOMPARE(w.st().CellsY, int16{3});
        QCOMPARE(w.st().PatternCell, (Cell16{1, 1}));
        QCOMPARE(w.st().ChessPhase, int16{0});
        QCOMPARE(w.st().PatternSXY, (Point16{30, 25}));
        QCOMPARE(w.pb.calls, 0);

        w.move(55, 27, kL);
        QCOMPARE(w.st().PatternCell, (Cell16{2, 1}));
        QCOMPARE(w.st().ChessPhase, int16{1});
        QCOMPARE(w.st().PatternSXY, (Point16{5, 27}));
        QCOMPARE(w.pb.segments, (Segments{{-20, -15, 5, -13, 0, 1},
                                          {80, -15, 105, -13, 0, 1},
                                          {-70, 25, -45, 27, 0, 1},
                                          {30, 25, 55, 27, 0, 1},
                                          {-20, 65, 5, 67, 0, 1},
                                          {80, 65, 105, 67, 0, 1},
                                          {-70, 105, -45, 107, 0, 1},
                                          {30, 105, 55, 107, 0, 1}}));
        QCOMPARE(w.pb.calls, 1);  // the whole step in one drawing call

        w.pb.segments.clear();
        w.move(58, 33, kL);
        QCOMPARE(w.pb.segments.size(), std::size_t(8));
        QCOMPARE(w.pb.segments[3], (DrawnSegment{55, 27, 58, 33, 0, 1}));  // the pointer's own cell
        QCOMPARE(w.pb.segments[7], (DrawnSegment{55, 107, 58, 113, 0, 1}));
        QCOMPARE(w.st().PatternSXY, (Point16{8, 33}));

        // Without "Chess" every cell of rows 0..3 and columns 0..3, row by row.
        w.e.ui.cbChess.SetValue(0);
        w.pb.segments.clear();
        w.move(59, 33, kL);
        QCOMPARE(w.pb.segments.size(), std::size_t(16));
        QCOMPARE(w.pb.segments[0], (DrawnSegment{-42, -7, -41, -7, 0, 1}));
        QCOMPARE(w.pb.segments[1], (DrawnSegment{8, -7, 9, -7, 0, 1}));
        QCOMPARE(w.pb.segments[15], (DrawnSegment{108, 113, 109, 113, 0, 1}));
        // Checked again: every other cell, with the phase kept.
        w.e.ui.cbChess.SetValue(1);
        w.pb.segments.clear();
        w.move(60, 33, kL);
        QCOMPARE(w.pb.segments.size(), std::size_t(8));
        QCOMPARE(w.pb.segments[0], (DrawnSegment{9, -7, 10, -7, 0, 1}));
    }

    void theStartGridOnA451By441Canvas()
    {
        for (bool chess : {false, true}) {
            Pattern w(451, 441, 200, 200, chess);
            w.press(100, 100, kL, kL);
            w.move(110, 105, kL);
            QCOMPARE(w.pb.segments.size(), std::size_t(chess ? 8 : 16));
            // The pointer's own segment lands on the canvas, and so do its copies.
            QCOMPARE(w.e.ui.pb->Point(110, 105), 0);
            QCOMPARE(w.e.ui.pb->Point(310, 305), 0);
            QCOMPARE(w.e.ui.pb->Point(310, 105), chess ? 0xFFFFFF : 0);
        }
    }

    void cellsSplitWithTruncatingDivision()
    {
        Pattern w(451, 441, 50, 40);
        w.setUp(50, 39);  // x = PatternX: column 2, offset 0; y = PatternY - 1: row 1
        QCOMPARE(w.st().PatternCell, (Cell16{2, 1}));
        QCOMPARE(w.st().PatternSXY, (Point16{0, 39}));
        // Left of the canvas column 1 goes on, with a negative offset.
        w.setUp(10, 10);
        w.step(-10, 10);
        QCOMPARE(w.st().PatternCell, (Cell16{1, 1}));
        QCOMPARE(w.st().PatternSXY, (Point16{-10, 10}));
        QCOMPARE(w.st().ChessPhase, int16{0});
        w.step(-50, 10);  // column 0: the stored point moves a cell right
        QCOMPARE(w.st().PatternCell, (Cell16{0, 1}));
        QCOMPARE(w.pb.segments.back().x1 - w.pb.segments.back().x2, 40.0f);
        QCOMPARE(w.st().PatternSXY, (Point16{0, 10}));
        QCOMPARE(w.st().ChessPhase, int16{1});
        // Set-up with negative cell sums: the phase is the low bit, -1 gives 1.
        w.setUp(-60, 10);
        QCOMPARE(w.st().PatternCell, (Cell16{0, 1}));
        QCOMPARE(w.st().ChessPhase, int16{1});
        QCOMPARE(w.st().PatternSXY, (Point16{-10, 10}));
    }

    void aJumpShiftsByOneCellAndFlipsOnce()
    {
        Pattern w(451, 441, 50, 40, true);
        w.setUp(10, 10);
        w.step(120, 10);  // column 1 to column 3 in one move
        QCOMPARE(w.st().PatternCell, (Cell16{3, 1}));
        QCOMPARE(w.st().PatternSXY, (Point16{20, 10}));
        QCOMPARE(w.st().ChessPhase, int16{1});  // the pointer's own cell is even: not drawn
        QVERIFY(!w.pb.segments.empty());
        for (const DrawnSegment& s : w.pb.segments) {
            QVERIFY(!(s.x2 == 120 && s.y2 == 10));
            QCOMPARE(s.x2 - s.x1, 60.0f);  // from one cell right of x = 10, not two
        }
        // Across a column and a row boundary at once: two flips, no change.
        w.step(160, 50);
        QCOMPARE(w.st().PatternCell, (Cell16{4, 2}));
        QCOMPARE(w.st().ChessPhase, int16{1});
    }

    void theWorkedExampleDrawsThePixelsOfItsSegments()
    {
        for (const int16 width : {int16(1), int16(7)}) {
            Pattern w(120, 90, 50, 40, true);
            w.pb.SetDrawWidth(width);
            w.press(30, 25, kL, kL);
            w.move(55, 27, kL);
            w.move(58, 33, kL);
            w.e.ui.cbChess.SetValue(0);
            w.move(70, 60, kL);
            RasterSurface oneByOne(120, 90, 2, kWhite);
            oneByOne.SetDrawWidth(width);
            for (const DrawnSegment& g : w.pb.segments)
                oneByOne.Line(g.x1, g.y1, g.x2, g.y2, g.colour);
            QCOMPARE(w.pb.Image().image(), oneByOne.Image().image());
        }
    }

    void aStepBeforeAnySetUpDrawsOutsideTheCanvas()
    {
        test::RecordedWindow w;  // cells 200 x 200 from start-up, stroke fields 0
        PatternDrawLines(w.e, 100, 100, 1);
        QCOMPARE(w.pb.segments, (Segments{{-400, -400, -100, -100, 0, 1}}));
    }

    void gridsWithoutCells()
    {
        // Zero: nothing set up, nothing drawn, no division.
        Pattern w(451, 441, 0, 200);
        w.press(100, 100, kL, kL);
        w.move(110, 100, kL);
        w.e.st.PatternX = 200;
        w.e.st.PatternY = 0;
        w.press(100, 100, kL, kL);
        w.move(120, 100, kL);
        QCOMPARE(w.pb.calls, 0);
        QCOMPARE(w.st().PatternCell, (Cell16{}));
        // Negative: -200 across 451 gives CellsX = -1, and the loop never runs.
        w.e.st.PatternX = -200;
        w.e.st.PatternY = 200;
        w.press(100, 100, kL, kL);
        QCOMPARE(w.st().CellsX, int16{-1});
        w.move(120, 100, kL);
        QCOMPARE(w.pb.calls, 0);
    }

    void theGridIsMeasuredAtTheMouseDownOnly()
    {
        Pattern w(451, 441, 200, 200);
        w.press(100, 100, kL, kL);
        w.e.ui.pbBox.Move(w.e.ui.pbBox.Left(), w.e.ui.pbBox.Top(), 851, 441);
        w.move(110, 100, kL);
        QCOMPARE(w.pb.segments.size(), std::size_t(16));
        w.press(100, 100, kL, kL);
        QCOMPARE(w.st().CellsX, int16{5});
    }

    void aButtonWithoutAWellDrawsNothing()
    {
        Pattern w(451, 441, 200, 200);
        w.press(100, 100, Qt::MiddleButton, Qt::MiddleButton);
        w.move(300, 100, Qt::MiddleButton);
        QCOMPARE(w.pb.calls, 0);
        QCOMPARE(w.st().PatternCell, (Cell16{1, 1}));
    }

    void anOverflowPartWayDrawsTheCellsBeforeIt()
    {
        // A grid measured at the press with 1-pixel cells whose pattern point has
        // since grown (the arrow keys can do that mid-stroke): the loop's far
        // cells leave 16 bits. Every cell before the first that does is drawn.
        struct Case {
            int16 cellX, cellY;
            Point16 from;
            int16 phase;
            bool chess;
            std::size_t drawn;
        };
        const Case cases[] = {
            {100, 1, {0, 0}, 0, false, 329},            // row 0 up to column 329
            {1, 100, {0, 0}, 0, false, 453 * 329},      // rows 0 to 328
            {1, 100, {0, 0}, 1, true, 453 * 329 / 2},
            {72, 1, {300, 0}, 1, true, 226 + 226},      // only column 452 fails: row 0 whole, row 1 to it
            {100, 20000, {0, -20000}, 0, false, 0},     // row 0 fails at its first cell
            {150, 120, {-40, 90}, 0, true, 110},
        };
        for (const Case& c : cases) {
            Pattern w(451, 441, c.cellX, c.cellY, c.chess);
            w.e.st.CellsX = 452;
            w.e.st.CellsY = 442;
            w.e.st.PatternCell = Cell16{int16(7 / c.cellX + 1), int16(8 / c.cellY + 1)};
            w.e.st.PatternSXY = c.from;
            w.e.st.ChessPhase = c.phase;
            QVERIFY_THROWS_EXCEPTION(Int16Error, w.step(7, 8));
            const Segments expected = oneByOne(w.st(), c.chess, Point16{int16(7 % c.cellX), int16(8 % c.cellY)});
            QCOMPARE(expected.size(), c.drawn);
            QCOMPARE(w.pb.segments, expected);
            QVERIFY(w.pb.calls <= 2);
        }
    }

    void mirroredCellsTurnOverWithinTheirCellsAsTheQuiltRuleSays()
    {
        // The worked check: cells of 50 x 40, a copy from (30, 25) to (40, 33) in its cell.
        EditorState s = patternState(50, 40, 200, 120, 30, 25);
        const StrokeStep step = patternStep(s, false, true, 40, 33);
        std::vector<Segment> copies;
        expandCopies(step.shapes, step.symmetry, copies);
        auto has = [&](Segment want) {
            return std::any_of(copies.begin(), copies.end(), [&](const Segment& g) {
                return g.x1 == want.x1 && g.y1 == want.y1 && g.x2 == want.x2 && g.y2 == want.y2;
            });
        };
        QVERIFY(has({30, 25, 40, 33}));  // k = 0, j = 0: plain
        QVERIFY(has({70, 25, 60, 33}));  // k = 1, j = 0
        QVERIFY(has({30, 55, 40, 47}));  // k = 0, j = 1
        QVERIFY(has({70, 55, 60, 47}));  // both
        QCOMPARE(copies.size(), std::size_t(6 * 5));
        QCOMPARE(s.PatternSXY, (Point16{40, 33}));

        // Every cell as the rule gives it one by one, pixel for pixel, with and
        // without Chess, thin and wide, on canvases of odd sizes.
        for (const bool chess : {false, true})
            for (const int16 width : {int16(1), int16(2), int16(5), int16(30)})
                for (const auto& [cw, ch, w, h] : {std::array{37, 23, 301, 211}, std::array{1, 2, 63, 41},
                                                   std::array{200, 200, 451, 441}, std::array{5, 7, 129, 97}}) {
                    // A step within the pointer's cell from a stored point some way back.
                    const auto x = int16(w / 3), y = int16(h / 2);
                    EditorState t = patternState(int16(cw), int16(ch), float(w), float(h), x, y);
                    t.PatternSXY = Point16{int16(t.PatternSXY.x - 9), int16(t.PatternSXY.y + 4)};
                    const Point16 from = t.PatternSXY;
                    const StrokeStep mirrored = patternStep(t, chess, true, x, y);
                    const Point16 to = t.PatternSXY;
                    t.PatternSXY = from;
                    RasterSurface atOnce(w, h, 0, kWhite), single(w, h, 0, kWhite);
                    atOnce.SetDrawWidth(width);
                    single.SetDrawWidth(width);
                    atOnce.Paint(mirrored.shapes, mirrored.symmetry, kBlack);  // the union of the four at once
                    std::vector<Segment> cells;
                    for (const DrawnSegment& d : oneByOne(t, chess, to, true))
                        cells.push_back({d.x1, d.y1, d.x2, d.y2});
                    single.Lines(cells, kBlack);
                    QVERIFY2(atOnce.backing() == single.backing(),
                             qPrintable(QString("cells %1x%2 on %3x%4, chess %5, width %6").arg(cw).arg(ch).arg(w).arg(h).arg(chess).arg(width)));
                    QVERIFY(mirrored.symmetry.ops.size() <= 4);
                }
    }

    void aStepsSymmetryNamesExactlyTheCellLoopsCopies()
    {
        // Random cells of either sign, canvases, stored points and steps within
        // the pointer's cell, Chess and Mirror on and off, and without Mirror
        // cells big enough to leave 16 bits part way: the copies of the step's
        // shapes under its symmetry are the cells of the loop written out one by
        // one, in their order (with Mirror, as a set: the quilt's four turnings
        // go one after the other).
        std::mt19937 random(20261209);
        auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        auto key = [](const DrawnSegment& d) { return std::array{d.x1, d.y1, d.x2, d.y2}; };
        int overflows = 0;
        for (int n = 0; n < 4000; ++n) {
            const bool chess = any(0, 1) == 1, mirror = n % 2 == 1, far = !mirror && n % 3 == 0;
            const int most = far ? 16000 : 300;
            const auto cw = int16(any(1, most) * (any(0, 5) == 0 ? -1 : 1));
            const auto ch = int16(any(1, most) * (any(0, 5) == 0 ? -1 : 1));
            const auto x = int16(any(0, std::abs(cw) - 1)), y = int16(any(0, std::abs(ch) - 1));
            EditorState s = patternState(cw, ch, float(any(1, 700)), float(any(1, 500)), x, y);
            if (far) {
                s.CellsX = int16(any(0, 6));
                s.CellsY = int16(any(0, 6));
            }
            s.PatternSXY = Point16{int16(x + any(-most, most) / 2), int16(y + any(-most, most) / 2)};
            const EditorState before = s;
            const auto tx = int16(any(0, std::abs(cw) - 1)), ty = int16(any(0, std::abs(ch) - 1));
            const StrokeStep step = patternStep(s, chess, mirror, tx, ty);
            overflows += step.overflow.has_value();
            std::vector<Segment> copies;
            if (!step.symmetry.lattice.empty())
                expandCopies(step.shapes, step.symmetry, copies);
            Segments got;
            for (const Segment& c : copies)
                got.push_back({c.x1, c.y1, c.x2, c.y2, 0, 1});
            Segments want = oneByOne(before, chess, Point16{i16::mod(tx, cw), i16::mod(ty, ch)}, mirror);
            if (mirror) {
                std::sort(got.begin(), got.end(), [&](auto& a, auto& b) { return key(a) < key(b); });
                std::sort(want.begin(), want.end(), [&](auto& a, auto& b) { return key(a) < key(b); });
            }
            QVERIFY2(got == want, qPrintable(QString("case %1: cells %2x%3, loop %4x%5, chess %6, mirror %7: %8 copies, not %9")
                                                 .arg(n).arg(cw).arg(ch).arg(before.CellsX).arg(before.CellsY).arg(chess)
                                                 .arg(mirror).arg(got.size()).arg(want.size())));
        }
        QVERIFY(overflows > 100);  // the limits were reached, not just never wrong
    }

    void aMirroredCellBeyondSixteenBitsStopsTheStepThere()
    {
        // Cells 12000 wide on 30000 pixels: only the last column's copy, at
        // 24000 plus its end, can leave 16 bits.
        EditorState fits = patternState(12000, 10, 30000, 30, 8000, 5);
        const StrokeStep whole = patternStep(fits, false, true, 8001, 5);
        QVERIFY(!whole.overflow);
        QVERIFY(!whole.symmetry.oneCell());
        EditorState over = patternState(12000, 10, 30000, 30, 9000, 5);
        const StrokeStep cut = patternStep(over, false, true, 9001, 5);
        QVERIFY(cut.overflow);
        QCOMPARE(cut.shapes.size(), std::size_t(3));  // the cells of the first row before it, one by one
        QVERIFY(cut.symmetry.oneCell() && cut.symmetry.ops.size() == 1);
    }

    void anOverflowStopsTheStepWhereItGot()
    {
        Pattern w(451, 441, 20000, 200);
        w.setUp(100, 10);
        // Into column 2: the stored point moves to -19900, and column 0's start,
        // -20000 - 19900, leaves 16 bits.
        QVERIFY_THROWS_EXCEPTION(Int16Error, w.step(20100, 10));
        QCOMPARE(w.pb.calls, 0);
        QCOMPARE(w.st().PatternCell, (Cell16{2, 1}));
        QCOMPARE(w.st().PatternSXY, (Point16{-19900, 10}));  // not the new offset
    }
};

QTEST_MAIN(PatternTest)
#include "test_pattern.moc"
