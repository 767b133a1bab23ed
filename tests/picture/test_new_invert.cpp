// New and Invert: the whole picture, the part a smaller canvas keeps hidden too,
// and the drawing mode they leave.

#include <QAbstractButton>
#include <QAction>
#include <QImage>
#include <QMenu>
#include <QTest>

#include "picture/invert.h"
#include "picture/new_picture.h"
#include "support/window_fixture.h"

using namespace kalidor;

namespace {

QImage inverted(QImage image)
{
    image.invertPixels();
    return image;
}

// The canvas's interior made `width` x `height` through the window's size.
void sizeCanvas(MainWindow& w, int width, int height)
{
    w.form().widget()->resize(width + 4 + 110, height + 4 + 30);
    QTRY_COMPARE(w.editor().ui.pb->ScaleWidth(), float(width));
    QCOMPARE(w.editor().ui.pb->ScaleHeight(), float(height));
}

}  // namespace

class NewInvertTest : public QObject {
    Q_OBJECT
private slots:
    void invertTurnsEveryPixelOnceWhateverThePenWidth()
    {
        auto w = test::openWindow(301, 201);
        Editor& e = w->editor();
        Surface& pb = *e.ui.pb;
        pb.Line(0, 0, 186, 166, rgb(18, 52, 86), Shape::FilledBox);
        pb.SetDrawWidth(30);
        pb.Line(10, 10, 120, 90, rgb(250, 0, 3));
        const QImage before = pb.Image().image();
        QTest::mouseClick(e.ui.kInvert.button(), Qt::LeftButton);
        QCOMPARE(pb.Point(186, 0), static_cast<std::int32_t>(rgb(237, 203, 169)));
        QCOMPARE(pb.Image().image(), inverted(before));
        QCOMPARE(pb.DrawMode(), kCopyPen);
        // Drawing afterwards paints plain colours.
        pb.Line(150, 150, 160, 150, rgb(18, 52, 86));
        QCOMPARE(pb.Point(155, 150), static_cast<std::int32_t>(rgb(18, 52, 86)));
        pb.Line(150, 150, 160, 150, rgb(237, 203, 169));
        QTest::mouseClick(e.ui.kInvert.button(), Qt::LeftButton);
        QCOMPARE(pb.Image().image(), before);
        // Copy pen comes back even when something left invert mode on.
        pb.SetDrawMode(kInvertPen);
        kInvert_Click(e);
        QCOMPARE(pb.DrawMode(), kCopyPen);
        QCOMPARE(pb.Image().image(), inverted(before));
    }

    void newAndInvertReachThePartASmallerCanvasHides()
    {
        auto w = test::openWindow(400, 300);
        Editor& e = w->editor();
        Surface& pb = *e.ui.pb;
        const int wide = static_cast<int>(pb.ScaleWidth());
        const int high = static_cast<int>(pb.ScaleHeight());
        pb.SetDrawWidth(5);
        pb.Line(10, high - 10, wide - 5, high - 10, 0x0000FF);
        const QImage drawn = pb.Image().image();
        sizeCanvas(*w, 100, 80);

        kInvert_Click(e);
        sizeCanvas(*w, wide, high);
        QCOMPARE(pb.Image().image(), inverted(drawn));
        sizeCanvas(*w, 100, 80);
        kInvert_Click(e);
        sizeCanvas(*w, wide, high);
        QCOMPARE(pb.Image().image(), drawn);

        sizeCanvas(*w, 100, 80);
        e.ui.mnuFile.menu()->actions().at(0)->trigger();
        QCOMPARE(pb.Point(99, 79), 0xFFFFFF);
        sizeCanvas(*w, wide + 50, high + 20);
        QImage white(wide + 50, high + 20, QImage::Format_RGB32);
        white.fill(Qt::white);
        QCOMPARE(pb.Image().image(), white);
    }
};

QTEST_MAIN(NewInvertTest)
#include "test_new_invert.moc"
