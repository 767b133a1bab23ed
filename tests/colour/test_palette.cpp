// The palette: a seeded fill pixel by pixel, presses mapped to swatches and
// wells, the selection frame, and a second fill.

#include <cfenv>
#include <cmath>

#include <QImage>
#include <QTest>

#include "app/startup.h"
#include "colour/palette.h"
#include "support/window_fixture.h"

using namespace kalidor;

namespace {

constexpr Qt::MouseButton kL = Qt::LeftButton;
constexpr Qt::MouseButton kR = Qt::RightButton;
constexpr Qt::MouseButton kM = Qt::MiddleButton;
constexpr float kSeed = 45296.125f;  // 12:34:56.125

Colour swatch(const Editor& e, int col, int row)
{
    return e.st.Colors[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
}

// Services whose clock stands at `kSeed`.
std::unique_ptr<test::ScriptedServices> stoppedClock()
{
    auto services = std::make_unique<test::ScriptedServices>();
    services->clock = [] { return kSeed; };
    return services;
}

// A window whose palette was filled from a known time of day.
struct Session {
    std::unique_ptr<MainWindow> window = test::openWindow(612, 658, stoppedClock());
    Editor& e = window->editor();

    // A press at a palette pixel (the palette has a one-pixel border).
    void press(double x, double y, Qt::MouseButton b, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        test::press(e.ui.pbPalBox.widget(), QPointF(x + 1, y + 1), b, b, mods);
    }
    Colour well(int i) const { return e.ui.pbColor[static_cast<std::size_t>(i)].BackColor(); }
};

// Every pixel of the palette as it must look: each swatch an 18 x 18 square
// on the 19-pixel grid, the black frame around the selected one (if any), and
// the background everywhere else.
bool paletteLooksRight(const Editor& e, bool framed)
{
    const QImage image = e.ui.pbPal->Image().image();
    const Colour back = e.ui.pbPal->BackColor();
    const int fx = 19 * e.st.PalSelX + 1;
    const int fy = 19 * e.st.PalSelY + 1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            Colour want = back;
            const bool onFrame = ((x == fx || x == fx + 19) && y >= fy && y <= fy + 19) ||
                                 ((y == fy || y == fy + 19) && x >= fx && x <= fx + 19);
            if (x >= 1 && x <= 77 && y >= 1 && y <= 286 && (x - 1) % 19 != 0 && (y - 1) % 19 != 0)
                want = swatch(e, (x - 1) / 19, (y - 1) / 19);
            else if (framed && onFrame)
                want = kBlack;
            if (fromPixel(image.pixel(x, y)) != want) {
                qWarning("palette pixel (%d, %d) is %06x, expected %06x", x, y, fromPixel(image.pixel(x, y)), want);
                return false;
            }
        }
    return true;
}

}  // namespace

class PaletteTest : public QObject {
    Q_OBJECT
private slots:
    void startUpPaintsSeededColoursAndTheFixedRow()
    {
        Session s;
        // The same seed drawn again: red, green, blue per swatch, along the rows.
        RandomGenerator again;
        again.Randomize(kSeed);
        std::fesetround(FE_TONEAREST);  // ties to even, independently of the program's rounding
        for (int row = 0; row < 14; ++row)
            for (int col = 0; col < 4; ++col) {
                int c[3];
                for (int& v : c)
                    v = static_cast<int>(std::nearbyint(static_cast<double>(again.Rnd()) * 255.0));
                QCOMPARE(swatch(s.e, col, row), rgb(c[0], c[1], c[2]));
            }
        QCOMPARE(swatch(s.e, 0, 14), Colour{0x000000});
        QCOMPARE(swatch(s.e, 1, 14), Colour{0xFFFFFF});
        QCOMPARE(swatch(s.e, 2, 14), Colour{0x404040});
        QCOMPARE(swatch(s.e, 3, 14), Colour{0xC0C0C0});
        QCOMPARE(s.e.ui.pbPal->ScaleWidth(), 79.0f);
        QCOMPARE(s.e.ui.pbPal->ScaleHeight(), 289.0f);
        QVERIFY(paletteLooksRight(s.e, false));  // no frame before the first press
        QCOMPARE(s.e.st.PalSelX, int16{0});
        QCOMPARE(s.e.st.PalSelY, int16{0});
    }

    void channelsRoundToNearestSoTheEndsComeHalfAsOften()
    {
        RandomGenerator random;
        random.Randomize(1.0f);
        std::array<int, 256> count{};
        for (int i = 0; i < 170000; ++i) {
            const Colour c = randomColour(random);
            ++count[static_cast<std::size_t>(red(c))];
            ++count[static_cast<std::size_t>(green(c))];
            ++count[static_cast<std::size_t>(blue(c))];
        }
        // 510000 draws: 2000 expected for each inner value, 1000 for 0 and 255.
        for (int v : {0, 255})
            QVERIFY2(count[v] > 850 && count[v] < 1150, qPrintable(QString::number(count[v])));
        for (int v : {1, 127, 128, 254})
            QVERIFY2(count[v] > 1800 && count[v] < 2200, qPrintable(QString::number(count[v])));
    }

    void pressesMapToColumnsAndRowsWithTheGridLineBefore()
    {
        Session s;
        const struct { double x, y; int col, row; } cases[] = {
            {0, 0, 0, 0},    {1, 1, 0, 0},    {19, 19, 0, 0},  {20, 10, 1, 0},  {76, 10, 3, 0},
            {10, 267, 0, 14}, {10, 285, 0, 14}, {10, 20, 0, 1}, {57.5, 10, 2, 0}, {58.5, 10, 3, 0},
        };
        for (const auto& c : cases) {
            s.press(c.x, c.y, kL);
            QCOMPARE(s.e.st.PalSelX, int16(c.col));
            QCOMPARE(s.e.st.PalSelY, int16(c.row));
            QCOMPARE(s.well(1), swatch(s.e, c.col, c.row));
        }
        for (int y = 1; y <= 19; ++y) {
            s.press(30, y, kL);
            QCOMPARE(s.e.st.PalSelY, int16{0});
        }
        for (int y = 267; y <= 285; ++y) {
            s.press(30, y, kL);
            QCOMPARE(s.e.st.PalSelY, int16{14});
        }
        QCOMPARE(s.e.st.PalSelX, int16{1});
        QVERIFY(paletteLooksRight(s.e, true));
    }

    void offTheGridAndTheMiddleButtonAloneDoNothing()
    {
        Session s;
        s.press(30, 30, kL);
        const QImage before = s.e.ui.pbPal->Image().image();
        s.press(78, 30, kL);   // column 4
        s.press(30, 286, kR);  // row 15
        s.press(30, 288, kL, Qt::ControlModifier);
        s.press(30, 30 + 19, kM);  // no well 4
        QCOMPARE(s.e.st.PalSelX, int16{1});
        QCOMPARE(s.e.st.PalSelY, int16{1});
        QCOMPARE(s.well(1), swatch(s.e, 1, 1));
        QCOMPARE(s.well(2), kWhite);
        QCOMPARE(s.well(3), Colour{0x800080});
        QVERIFY(s.e.ui.pbPal->Image().image() == before);
    }

    void eachButtonAndAnyModifierLoadTheirWell()
    {
        Session s;
        s.press(50, 270, kL);  // (2, 14), dark grey
        QCOMPARE(s.well(1), Colour{0x404040});
        s.press(70, 270, kR);  // (3, 14), light grey
        QCOMPARE(s.well(2), Colour{0xC0C0C0});
        QCOMPARE(s.well(1), Colour{0x404040});
        const std::pair<Qt::MouseButton, Qt::KeyboardModifiers> toWell3[] = {
            {kL, Qt::ShiftModifier}, {kR, Qt::ControlModifier}, {kM, Qt::AltModifier},
            {kL, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier}};
        int row = 0;
        for (const auto& [button, mods] : toWell3) {
            s.press(10, 10 + 19 * row, button, mods);
            QCOMPARE(s.well(3), swatch(s.e, 0, row));
            ++row;
        }
        QCOMPARE(s.well(1), Colour{0x404040});
        QCOMPARE(s.well(2), Colour{0xC0C0C0});
    }

    void theOldFrameGoesBeforeTheNewOneSoASharedLineStaysBlack()
    {
        Session s;
        s.press(30, 30, kL);  // (1, 1)
        s.press(50, 30, kL);  // (2, 1): shares the line x = 39
        QVERIFY(paletteLooksRight(s.e, true));
        const Surface& pal = *s.e.ui.pbPal;
        for (int y = 20; y <= 39; ++y)
            QCOMPARE(pal.Point(39, y), 0);
        QCOMPARE(pal.Point(20, 30), static_cast<std::int32_t>(pal.BackColor()));
        s.press(50, 30, kL);  // the same swatch again: erased and drawn anew
        QVERIFY(paletteLooksRight(s.e, true));
        s.press(50, 30 + 19, kL);  // (2, 2): shares the line y = 39
        QVERIFY(paletteLooksRight(s.e, true));
    }

    void aSecondFillRepaintsTheSwatchesAndKeepsTheSelection()
    {
        Session s;
        s.press(30, 30, kL, Qt::ControlModifier);
        const auto first = s.e.st.Colors;
        const Colour inWell = s.well(3);
        test::scripted(s.e).clock = [] { return kSeed + 1.0f; };
        Form_Activate(s.e);
        int changed = 0;
        for (int col = 0; col < 4; ++col) {
            for (int row = 0; row < 14; ++row)
                changed += swatch(s.e, col, row) != first[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
            QCOMPARE(swatch(s.e, col, 14), first[static_cast<std::size_t>(col)][14]);
        }
        QVERIFY2(changed > 50, qPrintable(QString::number(changed)));  // another seed, other colours
        QCOMPARE(s.e.st.PalSelX, int16{1});
        QCOMPARE(s.e.st.PalSelY, int16{1});
        QCOMPARE(s.well(3), inWell);
        QVERIFY(paletteLooksRight(s.e, true));
        // The same seed gives the same palette again.
        test::scripted(s.e).clock = [] { return kSeed; };
        FillPalette(s.e);
        QVERIFY(s.e.st.Colors == first);
    }
};

QTEST_MAIN(PaletteTest)
#include "test_palette.moc"
