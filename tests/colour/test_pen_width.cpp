// The pen width: the slider sets the canvas's pen for later strokes, and the
// bar on the window shows it.

#include <QSlider>
#include <QTest>

#include "support/recorded_window.h"

using namespace kalidor;

namespace {

constexpr Qt::MouseButton kL = Qt::LeftButton;

// Rows of the bar area (45..90, 580..609) as painted on the window: for each
// row, its colour if the whole row has one colour, else -1.
std::vector<std::int64_t> barRows(Surface& window)
{
    std::vector<std::int64_t> rows;
    for (int y = 579; y <= 610; ++y) {
        std::int64_t c = window.Point(45, y);
        for (int x = 44; x <= 91; ++x) {
            const bool inside = x >= 45 && x <= 90 && y >= 580 && y <= 609;
            const std::int32_t p = window.Point(x, y);
            if (inside ? p != c : p != static_cast<std::int32_t>(window.BackColor()))
                c = -1;
        }
        rows.push_back(c);
    }
    return rows;
}

std::vector<std::int64_t> bar(Colour back, int width)
{
    std::vector<std::int64_t> rows(32, back);
    for (int i = 1; i <= width; ++i)
        rows[static_cast<std::size_t>(i)] = kBlack;
    return rows;
}

// How many rows of column x, around y, are black.
int thickness(const Surface& pb, int x, int y)
{
    int n = 0;
    for (int dy = -40; dy <= 40; ++dy)
        n += pb.Point(static_cast<float>(x), static_cast<float>(y + dy)) == 0;
    return n;
}

void stroke(QWidget* canvas, int y)
{
    test::press(canvas, test::onCanvas(50, y), kL, kL);
    test::move(canvas, test::onCanvas(300, y), kL);
    test::release(canvas, test::onCanvas(300, y), kL, Qt::NoButton);
}

}  // namespace

class PenWidthTest : public QObject {
    Q_OBJECT
private slots:
    void theBarShowsTheWidthAndANarrowerOneErasesTheRest()
    {
        auto w = test::openWindow();
        Editor& e = w->editor();
        Surface& window = e.ui.f->surface();
        const Colour back = window.BackColor();
        QCOMPARE(barRows(window), bar(back, 0));  // nothing before the slider moves
        QSlider* slider = e.ui.slDrawWidth.slider();
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_End);
        QCOMPARE(e.ui.pb->DrawWidth(), int16{30});
        QCOMPARE(barRows(window), bar(back, 30));
        QTest::keyClick(slider, Qt::Key_Home);
        QCOMPARE(e.ui.pb->DrawWidth(), int16{1});
        QCOMPARE(barRows(window), bar(back, 1));
        QTest::keyClick(slider, Qt::Key_PageUp);
        QCOMPARE(barRows(window), bar(back, 6));
    }

    void laterStrokesTakeTheNewWidthEarlierOnesKeepTheirs()
    {
        auto w = test::openWindow();
        Editor& e = w->editor();
        QWidget* canvas = e.ui.pbBox.widget();
        stroke(canvas, 100);
        QSlider* slider = e.ui.slDrawWidth.slider();
        slider->setFocus();
        for (int i = 0; i < 9; ++i)
            QTest::keyClick(slider, Qt::Key_Right);
        stroke(canvas, 200);
        QTest::keyClick(slider, Qt::Key_End);
        stroke(canvas, 400);
        QCOMPARE(thickness(*e.ui.pb, 150, 100), 1);
        QCOMPARE(thickness(*e.ui.pb, 150, 200), 10);
        QCOMPARE(thickness(*e.ui.pb, 150, 400), 30);
        QCOMPARE(e.ui.pb->Point(150, 385), 0);  // rows 385..414
        QCOMPARE(e.ui.pb->Point(150, 414), 0);
    }

    void theSymmetricModesDrawWithThePenToo()
    {
        test::RecordedWindow w;
        QSlider* slider = w.e.ui.slDrawWidth.slider();
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_PageUp);  // 6
        for (int mode : {1, 2}) {
            w.choose(mode);
            w.pb.segments.clear();
            w.press(120, 130, kL, kL);
            w.move(140, 150, kL);
            QVERIFY(!w.pb.segments.empty());
            for (const test::DrawnSegment& s : w.pb.segments)
                QCOMPARE(s.width, int16{6});
        }
    }
};

QTEST_MAIN(PenWidthTest)
#include "test_pen_width.moc"
