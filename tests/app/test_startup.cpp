// Start-up: the state the window opens with, that it needs no activation, and
// what a second activation or showing does.

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

#include "app/mode_switch.h"
#include "app/startup.h"
#include "support/window_fixture.h"

using namespace kalidor;

namespace {

// A window manager that focuses no new window: no widget hears it was activated.
struct NoActivation : QObject {
    int eaten = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::WindowActivate)
            return false;
        ++eaten;
        return true;
    }
};

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void opensInNormalModeWithThePatternPointAt200()
    {
        auto w = test::openWindow();
        const Editor& e = w->editor();
        QCOMPARE(e.st.Mode, kNormal);
        QCOMPARE(e.st.PrevMode, kNormal);
        QVERIFY(e.ui.obMode[0].Selected());
        QVERIFY(e.ui.frModeOptions[0].Visible());
        QVERIFY(!e.ui.frModeOptions[1].Visible() && !e.ui.frModeOptions[2].Visible());
        QVERIFY(!e.ui.obCP.Visible());
        QCOMPARE(e.ui.sb.PanelText(3), std::string());
        QCOMPARE(e.st.PatternX, int16{200});
        QCOMPARE(e.st.PatternY, int16{200});
        // The options frames stand where the Normal frame is.
        QCOMPARE(e.ui.frModeOptions[1].Left(), 10);
        QCOMPARE(e.ui.frModeOptions[2].Left(), 10);
        // Nothing else moved: no stroke state, no centric points.
        QVERIFY(e.st.SXY.empty());
        QCOMPARE(e.st.CellsX, int16{0});
        QCOMPARE(e.st.LastXY, Point16{});
        QCOMPARE(QApplication::focusWidget(), e.ui.pbBox.widget());
    }

    void theCentreIsTheMiddleOfTheCanvasRoundedToEven()
    {
        // A 501 x 441 interior: outer 505 x 445, so a client of 615 x 475.
        auto w = test::openWindow(615, 475);
        QCOMPARE(w->editor().ui.pb->ScaleWidth(), 501.0f);
        QCOMPARE(w->editor().ui.pb->ScaleHeight(), 441.0f);
        QCOMPARE(w->editor().st.CenterX, int16{250});
        QCOMPARE(w->editor().st.CenterY, int16{220});
        auto wider = test::openWindow(617, 475);
        QCOMPARE(wider->editor().st.CenterX, int16{252});
    }

    void aSecondActivationResetsThePointsButKeepsTheMode()
    {
        auto w = test::openWindow(615, 475);
        Editor& e = w->editor();
        QTest::mouseClick(e.ui.obMode[1].button(), Qt::LeftButton);
        e.st.CenterX = 17;
        e.st.PatternX = 33;
        e.ui.sb.SetPanelText(3, "C: 17,220");
        Form_Activate(e);
        QCOMPARE(e.st.Mode, kCentric);
        QCOMPARE(e.st.CenterX, int16{250});
        QCOMPARE(e.st.PatternX, int16{200});
        QVERIFY(e.ui.frModeOptions[1].Visible());
        QCOMPARE(e.ui.sb.PanelText(3), std::string("C: 17,220"));  // until the next switch or move
    }

    void startsUpWhenFirstShownThoughNeverActivated()
    {
        NoActivation focusless;
        qApp->installEventFilter(&focusless);
        MainWindow w;
        QWidget* window = w.form().widget();
        window->resize(615, 475);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        qApp->removeEventFilter(&focusless);
        QVERIFY(focusless.eaten > 0);
        const Editor& e = w.editor();
        QCOMPARE(e.st.CenterX, int16{250});
        QCOMPARE(e.st.CenterY, int16{220});
        QCOMPARE(e.st.PatternX, int16{200});
        QCOMPARE(e.ui.frModeOptions[2].Left(), 10);
        // The palette is filled: its fixed last row starts black and ends light grey.
        QCOMPARE(e.st.Colors[0][14], kBlack);
        QCOMPARE(e.st.Colors[3][14], Colour{0xC0C0C0});
        QCOMPARE(e.ui.pbPal->Point(10, 14 * 19 + 10), 0);
    }

    void switchingWindowsOrShowingItAgainDoesNotRunStartUpAgain()
    {
        auto w = test::openWindow(615, 475);
        Editor& e = w->editor();
        e.st.CenterX = 17;
        auto other = test::openWindow(615, 475);  // takes the activation away
        w->form().widget()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w->form().widget()));
        QCOMPARE(e.st.CenterX, int16{17});
        w->form().widget()->hide();
        w->form().widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(w->form().widget()));
        QCOMPARE(e.st.CenterX, int16{17});
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
