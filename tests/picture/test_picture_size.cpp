// A picture of its own size: File > Size with undo and redo, New, Open and
// Save at that size, refused sizes, the recovery copy's flag; a drawing the
// smaller window hides is still saved; and a stroke drawn on a zoomed view
// lands on the picture pixels under the pointer.

#include <cmath>

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "picture/picture_size.h"
#include "picture/unsaved_changes.h"
#include "platform/files/recovery_file.h"
#include "platform/widgets/surface_widget.h"
#include "support/picture_commands.h"
#include "support/window_fixture.h"

using namespace kalidor;
using namespace kalidor::test;

namespace {

QSize pictureSize(const Editor& e) { return QSize(e.ui.picture->Width(), e.ui.picture->Height()); }

void askSize(Editor& e, std::optional<SizeChoice> answer)
{
    scripted(e).sizeAnswer = [answer](SizeChoice) { return answer; };
    QTest::keyClick(e.ui.pbBox.widget(), Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
}

// A stroke through canvas pixels, the pointer over each pixel's middle in the
// view as it is (at 100 % on the pixel, as a mouse gives whole positions).
void strokeThrough(Editor& e, const std::vector<QPoint>& pixels)
{
    SurfaceWidget* canvas = e.ui.pbBox.box();
    const double middle = std::floor(canvas->view().scale / 2);
    auto at = [&](QPoint p) { return canvas->toWidget(QPointF(p)) + QPointF(middle, middle); };
    press(canvas, at(pixels.front()), Qt::LeftButton, Qt::LeftButton);
    for (const QPoint& p : pixels)
        move(canvas, at(p), Qt::LeftButton);
    release(canvas, at(pixels.back()), Qt::LeftButton, Qt::NoButton);
}

}  // namespace

class PictureSizeTest : public QObject {
    Q_OBJECT
private slots:
    void sizeIsOneStepAndStaysWhateverTheWindow()
    {
        auto w = openWindow(612, 658);
        Editor& e = w->editor();
        QCOMPARE(e.ui.mnuFile.menu()->actions().at(kFileSize)->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N));
        drawSomething(e);
        const QImage drawn = canvasImage(e);
        SizeChoice asked;
        scripted(e).sizeAnswer = [&](SizeChoice now) {
            asked = now;
            return std::optional<SizeChoice>(SizeChoice{700, 300, false});
        };
        QTest::keyClick(e.ui.pbBox.widget(), Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(QSize(asked.width, asked.height), QSize(498, 624));
        QVERIFY(asked.followsWindow);
        QCOMPARE(pictureSize(e), QSize(700, 300));
        QVERIFY(e.ui.picture->OwnSize());
        // What fits stays; the new area is white, whatever the kept image held.
        QCOMPARE(canvasImage(e).copy(0, 0, 498, 300), drawn.copy(0, 0, 498, 300));
        QCOMPARE(e.ui.pb->Point(650, 100), std::int32_t{kWhite});
        QVERIFY(hasUnsavedChanges(e));
        // The window no longer sizes it; New keeps it.
        w->form().widget()->resize(400, 400);
        QTRY_COMPARE(e.ui.pbBox.Width(), 400 - 110);
        QCOMPARE(pictureSize(e), QSize(700, 300));
        e.ui.mnuFile.menu()->actions().at(kFileNew)->trigger();
        QCOMPARE(pictureSize(e), QSize(700, 300));
        QCOMPARE(e.ui.pb->Point(10, 10), std::int32_t{kWhite});
        // Undo takes New back, then the size with its pixels; Redo gives them again.
        QTest::keyClick(e.ui.pbBox.widget(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(e.ui.pbBox.widget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(pictureSize(e), QSize(498, 624));
        QCOMPARE(canvasImage(e), drawn);
        QTest::keyClick(e.ui.pbBox.widget(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(pictureSize(e), QSize(700, 300));
        QCOMPARE(e.ui.pb->Point(650, 100), std::int32_t{kWhite});
        // Follows the window again: the canvas's interior.
        askSize(e, SizeChoice{0, 0, true});
        QVERIFY(!e.ui.picture->OwnSize());
        QCOMPARE(pictureSize(e), QSize(400 - 114, 400 - 34));
        QCOMPARE(e.ui.pbBox.Zoom(), 1.0);
    }

    void sizesBeyondTheLimitsAreRefusedAndChangeNothing()
    {
        auto w = openWindow(612, 658);
        Editor& e = w->editor();
        for (const SizeChoice bad : {SizeChoice{0, 10, false}, SizeChoice{16385, 10, false}}) {
            const std::size_t said = scripted(e).messages.size();
            askSize(e, bad);
            QCOMPARE(pictureSize(e), QSize(498, 624));
            QVERIFY(!e.ui.picture->OwnSize());
            QCOMPARE(scripted(e).messages.size(), said + 1);
            QVERIFY(scripted(e).messages.back().find("16384") != std::string::npos);
        }
        askSize(e, std::nullopt);  // cancelled
        QCOMPARE(pictureSize(e), QSize(498, 624));
        QVERIFY(!e.ui.pbHistory->CanUndo());
        // More than the memory free, with the history's bound beside it.
        QVERIFY(sizeRefusal(16384, 16384, 1LL << 30, 0).has_value());
        QVERIFY(!sizeRefusal(16384, 16384, 2LL << 30, 1LL << 30).has_value());
        QVERIFY(!sizeRefusal(16384, 16384, -1, 0).has_value());  // unknown: tried
        QVERIFY(sizeRefusal(16384, 16384, 1LL << 30, 0)->find("MB") != std::string::npos);
    }

    void openAndSaveGoByThePicturesOwnSize()
    {
        auto w = openWindow(612, 658);
        Editor& e = w->editor();
        QTemporaryDir dir;
        const QString big = dir.filePath("big.png");
        QVERIFY(marked(1500, 900).save(big));
        Answers answers(e);
        // Following the window, Open is as it always was: cut to the canvas.
        answers.name = big.toStdString();
        menuItem(e, kFileOpen);
        QCOMPARE(pictureSize(e), QSize(498, 624));
        // With a size of its own, the picture takes the file's, shown whole.
        askSize(e, SizeChoice{200, 200, false});
        menuItem(e, kFileOpen);
        QCOMPARE(pictureSize(e), QSize(1500, 900));
        QCOMPARE(canvasImage(e), marked(1500, 900));
        QVERIFY(e.ui.pbBox.Zoom() < 1);
        QVERIFY(!hasUnsavedChanges(e));
        // Save writes all of it, though the view shows it smaller.
        answers.name = dir.filePath("saved").toStdString();
        scripted(e).fileFilter = 1;
        menuItem(e, kFileSave);
        QCOMPARE(QImage(dir.filePath("saved")).convertToFormat(QImage::Format_RGB32), marked(1500, 900));
        // Undo gives back the 200 x 200 picture.
        QTest::keyClick(e.ui.pbBox.widget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(pictureSize(e), QSize(200, 200));
    }

    void saveKeepsTheDrawingASmallerWindowHides()
    {
        auto w = openWindow(900, 700);
        Editor& e = w->editor();
        strokeThrough(e, {{700, 500}, {720, 520}});
        w->form().widget()->resize(500, 400);
        QTRY_COMPARE(pictureSize(e), QSize(500 - 114, 400 - 34));
        QTemporaryDir dir;
        Answers answers(e);
        answers.name = dir.filePath("whole.bmp").toStdString();
        menuItem(e, kFileSave);
        const QImage saved(dir.filePath("whole.bmp"));
        QCOMPARE(saved.size(), QSize(721, 521));
        QCOMPARE(saved.pixel(710, 510), qRgb(0, 0, 0));
        QVERIFY(!hasUnsavedChanges(e));
        // Drawn within the window only: the file is the window's size.
        e.ui.mnuFile.menu()->actions().at(kFileNew)->trigger();
        strokeThrough(e, {{10, 10}, {20, 20}});
        menuItem(e, kFileSave);
        QCOMPARE(QImage(dir.filePath("whole.bmp")).size(), QSize(500 - 114, 400 - 34));
        // A size of its own over the part a larger window showed: white, not
        // what was kept there.
        for (int step = 0; step < 2; ++step)  // the stroke and New undone: the first drawing back
            QTest::keyClick(e.ui.pbBox.widget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(e.ui.picture->WholeImage().width(), 721);
        askSize(e, SizeChoice{800, 600, false});
        QCOMPARE(e.ui.pb->Point(710, 510), std::int32_t{kWhite});
        QCOMPARE(e.ui.picture->WholeImage().image().size(), QSize(800, 600));
    }

    void aStrokeLandsOnThePixelsUnderThePointerAtAnyZoom()
    {
        auto w = openWindow(612, 658);
        Editor& e = w->editor();
        const std::vector<QPoint> path{{40, 50}, {43, 52}, {47, 51}, {52, 57}};
        strokeThrough(e, path);
        const QImage atActual = canvasImage(e);
        QTest::keyClick(e.ui.pbBox.widget(), Qt::Key_Z, Qt::ControlModifier);
        for (const int zoomIn : {3, 5, -2}) {  // 4 x, 8 x, 1/4 x
            e.ui.pbBox.ActualSize();
            e.ui.pbBox.ZoomBy(zoomIn);
            if (zoomIn > 0)  // the path in view
                e.ui.pbBox.box()->setView(ViewTransform{e.ui.pbBox.Zoom(), QPointF(2 - 30 * e.ui.pbBox.Zoom(), 2)});
            if (zoomIn > 0) {
                strokeThrough(e, path);
                QCOMPARE(canvasImage(e), atActual);
                QTest::keyClick(e.ui.pbBox.widget(), Qt::Key_Z, Qt::ControlModifier);
            }
            QCOMPARE(e.ui.sb.PanelText(6), std::string(zoomIn == 3 ? "400%" : zoomIn == 5 ? "800%" : "25%"));
        }
    }

    void theRecoveryCopySaysWhetherThePictureHasItsOwnSize()
    {
        for (const bool own : {false, true}) {
            RecoveryRecord r;
            r.width = 2;
            r.height = 1;
            r.pixels = {1, 2};
            r.ownSize = own;
            QCOMPARE(decodeRecovery(encodeRecovery(r))->ownSize, own);
        }
    }
};

QTEST_MAIN(PictureSizeTest)
#include "test_picture_size.moc"
