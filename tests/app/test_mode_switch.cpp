// Switching drawing modes: frames, marker, status panel 3, and leaving colour
// pick through the nested click of "Cvet".

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include "app/mode_switch.h"
#include "draw/group_choice.h"
#include "picture/undo_redo.h"
#include "support/window_fixture.h"

using namespace kalidor;

namespace {

void choose(Editor& e, int mode) { QTest::mouseClick(e.ui.obMode[static_cast<std::size_t>(mode)].button(), Qt::LeftButton); }

int visibleFrame(const Editor& e)
{
    int shown = -1;
    for (int i = 0; i < 3; ++i)
        if (e.ui.frModeOptions[static_cast<std::size_t>(i)].Visible()) {
            if (shown != -1)
                return -2;  // more than one
            shown = i;
        }
    return shown;
}

}  // namespace

class ModeSwitchTest : public QObject {
    Q_OBJECT
private slots:
    void centricShowsTheMarkerOnTheCentre()
    {
        auto w = test::openWindow(615, 475);  // 501 x 441 canvas
        Editor& e = w->editor();
        choose(e, 1);
        QCOMPARE(e.st.Mode, kCentric);
        QCOMPARE(visibleFrame(e), 1);
        QVERIFY(e.ui.obCP.Visible());
        QCOMPARE(e.ui.obCP.Left(), 250 - 6);
        QCOMPARE(e.ui.obCP.Top(), 220 - 6);
        QCOMPARE(e.ui.sb.PanelText(3), std::string("C: 250,220"));
    }

    void patternThenNormalHidesEverythingAgain()
    {
        auto w = test::openWindow();
        Editor& e = w->editor();
        choose(e, 2);
        QCOMPARE(visibleFrame(e), 2);
        QVERIFY(e.ui.obCP.Visible());
        QCOMPARE(e.ui.obCP.Left(), 194);
        QCOMPARE(e.ui.sb.PanelText(3), std::string("P: 200,200"));
        choose(e, 0);
        QCOMPARE(e.st.Mode, kNormal);
        QCOMPARE(visibleFrame(e), 0);
        QVERIFY(!e.ui.obCP.Visible());
        QCOMPARE(e.ui.sb.PanelText(3), std::string());
    }

    void anUncheckedBoxMovesTheHiddenMarkerOnly()
    {
        auto w = test::openWindow(615, 475);
        Editor& e = w->editor();
        e.ui.cbCenter.SetValue(0);
        e.st.CenterX = 120;
        e.st.CenterY = 45;
        choose(e, 1);
        QVERIFY(!e.ui.obCP.Visible());
        QCOMPARE(e.ui.sb.PanelText(3), std::string("C: 120,45"));
        QCOMPARE(e.ui.obCP.Left(), 114);
        QCOMPARE(e.ui.obCP.Top(), 39);
        // Each mode keeps its own point.
        choose(e, 2);
        QVERIFY(e.ui.obCP.Visible());
        QCOMPARE(e.ui.sb.PanelText(3), std::string("P: 200,200"));
        QCOMPARE(e.st.CenterX, int16{120});
    }

    void cvetEntersAndLeavesColourPick()
    {
        auto w = test::openWindow();
        Editor& e = w->editor();
        choose(e, 2);
        QTest::mouseClick(e.ui.cbCvet.button(), Qt::LeftButton);
        QCOMPARE(e.st.Mode, kColourPick);
        QCOMPARE(e.st.PrevMode, kPattern);
        QCOMPARE(visibleFrame(e), 2);  // frame, marker and text stay as they were
        QVERIFY(e.ui.obCP.Visible());
        QCOMPARE(e.ui.sb.PanelText(3), std::string("P: 200,200"));
        QTest::mouseClick(e.ui.cbCvet.button(), Qt::LeftButton);
        QCOMPARE(e.st.Mode, kPattern);
        QCOMPARE(e.ui.cbCvet.Value(), int16{0});
    }

    void choosingTheSameModeInColourPickOnlyEndsIt()
    {
        auto w = test::openWindow(615, 475);
        Editor& e = w->editor();
        choose(e, 1);
        e.ui.cbCvet.SetValue(1);
        QCOMPARE(e.st.Mode, kColourPick);
        e.ui.sb.SetPanelText(3, "C: 1,2");  // anything the switch would overwrite
        obMode_Click(e, 1);
        QCOMPARE(e.st.Mode, kCentric);
        QCOMPARE(e.ui.cbCvet.Value(), int16{0});
        QCOMPARE(e.ui.sb.PanelText(3), std::string("C: 1,2"));
        QCOMPARE(visibleFrame(e), 1);
        QVERIFY(e.ui.obCP.Visible());
    }

    void anotherModeInColourPickEndsItAndSwitches()
    {
        auto w = test::openWindow(615, 475);
        Editor& e = w->editor();
        choose(e, 1);
        QTest::mouseClick(e.ui.cbCvet.button(), Qt::LeftButton);
        choose(e, 2);
        QCOMPARE(e.st.Mode, kPattern);
        QCOMPARE(e.st.PrevMode, kCentric);
        QCOMPARE(e.ui.cbCvet.Value(), int16{0});
        QCOMPARE(visibleFrame(e), 2);
        QCOMPARE(e.ui.sb.PanelText(3), std::string("P: 200,200"));
        // And back to Normal from colour pick entered in Pattern.
        e.ui.cbCvet.SetValue(1);
        choose(e, 0);
        QCOMPARE(e.st.Mode, kNormal);
        QCOMPARE(visibleFrame(e), 0);
        QVERIFY(!e.ui.obCP.Visible());
    }

    void arrowKeysAfterChoosingAModeLeaveTheMode()
    {
        auto w = test::openWindow();
        Editor& e = w->editor();
        choose(e, 1);
        QTest::mouseClick(e.ui.cbCvet.button(), Qt::LeftButton);
        QTest::mouseClick(e.ui.cbCvet.button(), Qt::LeftButton);
        // The clicks left the focus on the canvas, so the arrows do not step
        // through the mode buttons.
        QCOMPARE(QApplication::focusWidget(), e.ui.pbBox.widget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(e.st.Mode, kCentric);
        QVERIFY(e.ui.obMode[1].Selected());
    }

    void theGroupIsASettingThatGreysMirrorInPattern()
    {
        auto w = test::openWindow(615, 475);
        Editor& e = w->editor();
        QCOMPARE(e.ui.sb.PanelText(5), std::string("p1"));
        // The fifth panel opens the pop-up with p1 checked; an item chooses.
        QTest::mouseClick(e.ui.sb.widget(), Qt::LeftButton, {}, QPoint(370, 8));
        QMenu* menu = e.ui.mnuGroup.menu();
        QVERIFY(menu->isVisible());
        QCOMPARE(menu->actions().size(), 17);
        QVERIFY(menu->actions().at(0)->isChecked() && !menu->actions().at(10)->isChecked());
        QVERIFY(!menu->actions().at(10)->icon().isNull());
        QCOMPARE(menu->actions().at(10)->text(), QString("p4m: square, mirrors and quarter turns"));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().at(10)).center());
        menu->hide();
        QCOMPARE(e.group, 10);
        QCOMPARE(e.ui.sb.PanelText(5), std::string("p4m"));
        // Kept through mode switches and undo; Mirror greyed in Pattern only.
        choose(e, 2);
        showEditMenu(e);
        QVERIFY(!e.ui.mnuEdit.Enabled(2));
        choose(e, 1);
        showEditMenu(e);
        QVERIFY(e.ui.mnuEdit.Enabled(2));
        EditUndo(e);
        QCOMPARE(e.group, 10);
        chooseGroup(e, 0);
        choose(e, 2);
        showEditMenu(e);
        QVERIFY(e.ui.mnuEdit.Enabled(2));
    }

    void aControlPointBeyondTheInt16LimitAbandonsTheSwitchMidway()
    {
        auto w = test::openWindow();
        Editor& e = w->editor();
        e.st.PatternX = -32768;  // the marker would stand at -32774
        choose(e, 2);
        QCOMPARE(e.st.Mode, kPattern);  // the switch got as far as the point
        QCOMPARE(e.ui.sb.PanelText(3), std::string("P: -32768,200"));
        QCOMPARE(visibleFrame(e), 2);
        choose(e, 0);  // and the program carries on
        QCOMPARE(e.st.Mode, kNormal);
        QCOMPARE(visibleFrame(e), 0);
    }
};

QTEST_MAIN(ModeSwitchTest)
#include "test_mode_switch.moc"
