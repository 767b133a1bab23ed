// The colour wells: the colour dialog through its test answer, and colour pick
// driven by real clicks, presses and keys.

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "platform/widgets/qt_services.h"
#include "support/window_fixture.h"

using namespace kalidor;

namespace {

constexpr Qt::MouseButton kL = Qt::LeftButton;
constexpr Qt::MouseButton kR = Qt::RightButton;
constexpr Qt::MouseButton kM = Qt::MiddleButton;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kTeal = 0x808000;

struct Session {
    std::unique_ptr<MainWindow> window = test::openWindow();
    Editor& e = window->editor();
    QWidget* canvas = e.ui.pbBox.widget();
    std::vector<Colour> dialogShown;  // the colour each dialog started at

    Session()
    {
        // A red square at (100..119, 100..119), a teal one at (200..219, 100..119).
        e.ui.pb->Line(100, 100, 19, 19, kRed, Shape::FilledBox, Corner::Relative);
        e.ui.pb->Line(200, 100, 19, 19, kTeal, Shape::FilledBox, Corner::Relative);
    }

    // The next dialogs confirm `answer`, or are cancelled when it is empty.
    void answerDialog(std::optional<Colour> answer)
    {
        test::scripted(e).colourAnswer = [this, answer](Colour initial) {
            dialogShown.push_back(initial);
            return answer;
        };
    }
    void clickWell(int i) { QTest::mouseClick(e.ui.pbColor[static_cast<std::size_t>(i)].widget(), kL); }
    void clickCvet() { QTest::mouseClick(e.ui.cbCvet.button(), kL); }
    void choose(int mode) { QTest::mouseClick(e.ui.obMode[static_cast<std::size_t>(mode)].button(), kL); }
    void press(double x, double y, Qt::MouseButton b, Qt::MouseButtons held,
               Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        test::press(canvas, test::onCanvas(x, y), b, held, mods);
    }
    void releaseAll(double x, double y) { test::release(canvas, test::onCanvas(x, y), kL, Qt::NoButton); }
    Colour well(int i) const { return e.ui.pbColor[static_cast<std::size_t>(i)].BackColor(); }
    bool picking() const { return e.st.Mode == kColourPick && e.ui.cbCvet.Value() == 1; }
};

}  // namespace

class ColourWellsTest : public QObject {
    Q_OBJECT
private slots:
    void theDialogStartsAtTheWellAndOnlyOkChangesIt()
    {
        Session s;
        s.answerDialog(std::nullopt);
        s.clickWell(3);
        QCOMPARE(s.dialogShown, std::vector<Colour>{0x800080});
        QCOMPARE(s.well(3), Colour{0x800080});  // cancelled: still purple
        s.answerDialog(0x00FF00);
        s.clickWell(3);
        QCOMPARE(s.well(3), Colour{0x00FF00});
        QCOMPARE(s.well(1), kBlack);
        QCOMPARE(s.well(2), kWhite);
        // Left and right held together draw in well 3.
        s.press(10, 300, kL, kL);
        s.press(10, 300, kR, kL | kR);
        test::move(s.canvas, test::onCanvas(60, 300), kL | kR);
        QCOMPARE(s.e.ui.pb->Point(35, 300), 0x00FF00);
        // Each well opens at its own colour; a right click opens nothing.
        QTest::mouseClick(s.e.ui.pbColor[1].widget(), kR);
        s.clickWell(1);
        QCOMPARE(s.dialogShown, (std::vector<Colour>{0x800080, 0x800080, kBlack}));
        QCOMPARE(s.well(1), Colour{0x00FF00});
    }

    void theRealDialogIsModalWithItsCustomColoursShown()
    {
        Session s;
        QtServices desktop(s.e.ui.f->widget());
        test::scripted(s.e).colourAnswer = [&desktop](Colour initial) { return desktop.ShowColor(initial); };
        struct Seen {
            QColor start;
            bool modal = false;
            bool customShown = false;
        } seen;
        // Answers the real dialog once it is open, as a user would.
        auto answerWith = [&seen](std::optional<QColor> choice) {
            QTimer::singleShot(0, [&seen, choice] {
                auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                seen.start = dialog->currentColor();
                seen.modal = dialog->isModal();
                for (QLabel* label : dialog->findChildren<QLabel*>())
                    seen.customShown |= label->text().contains("Custom colors") && label->isVisible();
                if (!choice) {
                    dialog->reject();
                    return;
                }
                dialog->setCurrentColor(*choice);
                dialog->accept();
            });
        };
        answerWith(std::nullopt);
        s.clickWell(3);
        QCOMPARE(seen.start, QColor(128, 0, 128));
        QVERIFY(seen.modal);
        QVERIFY(seen.customShown);
        QCOMPARE(s.well(3), Colour{0x800080});
        answerWith(QColor(0, 255, 0));
        s.clickWell(3);
        QCOMPARE(s.well(3), Colour{0x00FF00});
        answerWith(QColor(0x12, 0x34, 0x56));
        s.clickWell(1);
        QCOMPARE(seen.start, QColor(0, 0, 0));
        QCOMPARE(s.well(1), Colour{0x563412});
    }

    void aPickCopiesThePixelAndReturnsToTheModeItCameFrom()
    {
        Session s;
        s.choose(1);
        s.clickCvet();
        QVERIFY(s.picking());
        test::move(s.canvas, test::onCanvas(105, 105), Qt::NoButton);  // moves only read out
        QVERIFY(s.picking());
        s.press(110, 110, kR, kR);
        QCOMPARE(s.well(2), kRed);
        QCOMPARE(s.e.st.Mode, kCentric);
        QCOMPARE(s.e.ui.cbCvet.Value(), int16{0});
        QVERIFY(s.e.st.SXY.empty());  // the press set up no stroke
        QCOMPARE(s.e.ui.pb->Point(150, 150), 0xFFFFFF);
        QCOMPARE(s.well(1), kBlack);
        QCOMPARE(s.well(3), Colour{0x800080});
    }

    void anyModifierPicksIntoWellThree()
    {
        Session s;
        s.e.ui.cbCvet.button()->setFocus();
        QTest::keyClick(s.e.ui.cbCvet.button(), Qt::Key_Space);  // "Cvet" from the keyboard
        QVERIFY(s.picking());
        s.press(210, 110, kL, kL, Qt::ControlModifier);
        QCOMPARE(s.well(3), kTeal);
        QCOMPARE(s.well(1), kBlack);
        QCOMPARE(s.e.st.Mode, kNormal);
        s.releaseAll(210, 110);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C);  // the window's own key for "Cvet"
        QVERIFY(s.picking());
        s.press(105, 105, kM, kM, Qt::AltModifier);
        QCOMPARE(s.well(3), kRed);
        QVERIFY(!s.picking());
    }

    void noWellOrNoColourLeavesColourPickOn()
    {
        Session s;
        s.choose(2);
        s.clickCvet();
        s.press(110, 110, kM, kM);  // the middle button alone names no well
        QVERIFY(s.picking());
        // On the canvas's border the canvas has no pixel, so no colour.
        test::press(s.canvas, QPointF(0, 0), kL, kL);
        QVERIFY(s.picking());
        QCOMPARE(s.well(1), kBlack);
        QCOMPARE(s.well(3), Colour{0x800080});
        s.press(110, 110, kL, kL);
        QCOMPARE(s.well(1), kRed);
        QCOMPARE(s.e.st.Mode, kPattern);
    }

    void thePaletteAndTheDialogKeepColourPickOn()
    {
        Session s;
        s.clickCvet();
        test::press(s.e.ui.pbPalBox.widget(), QPointF(51, 271), kL, kL);  // swatch (2, 14)
        QCOMPARE(s.well(1), Colour{0x404040});
        QVERIFY(s.picking());
        s.answerDialog(0x00FFFF);
        s.clickWell(2);
        QCOMPARE(s.well(2), Colour{0x00FFFF});
        QVERIFY(s.picking());
        s.press(210, 105, kL, kL);
        QCOMPARE(s.well(1), kTeal);
        QCOMPARE(s.e.st.Mode, kNormal);
        QCOMPARE(s.e.st.PrevMode, kNormal);
    }
};

QTEST_MAIN(ColourWellsTest)
#include "test_colour_wells.moc"
