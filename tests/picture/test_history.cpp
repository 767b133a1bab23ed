// Undo and redo through the real window: what makes a step and what does not,
// the keys and the Edit pop-up, and the question on closing with unsaved changes.

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "platform/widgets/status_bar_widget.h"
#include "support/recorded_window.h"

using namespace kalidor;

namespace {

constexpr Qt::MouseButton kL = Qt::LeftButton;

struct Window : test::RecordedWindow {
    History& history() { return *e.ui.pbHistory; }
    QImage picture() const { return e.ui.pb->Image().image(); }
    void stroke(double x0, double y0, double x1, double y1, Qt::MouseButton b = kL,
                Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        press(x0, y0, b, b, mods);
        move((x0 + x1) / 2, (y0 + y1) / 2, b, mods);
        move(x1, y1, b, mods);
        test::release(canvas, test::onCanvas(x1, y1), b, Qt::NoButton, mods);
    }
    bool close() { return window->form().widget()->close(); }
    test::ScriptedServices& services() { return test::scripted(e); }
};

}  // namespace

class HistoryTest : public QObject {
    Q_OBJECT
private slots:
    void aStepIsAWholeStrokeAndPressesThatDrawNothingAreNone()
    {
        Window w;
        const QImage blank = w.picture();
        w.choose(kCentric);
        w.press(200, 100, kL, kL);
        w.move(210, 120, kL);
        // Another button and many moves: still the same stroke.
        w.press(210, 120, Qt::RightButton, kL | Qt::RightButton);
        for (int i = 0; i < 10; ++i)
            w.move(220 + i, 130 + i, kL | Qt::RightButton);
        w.key(Qt::Key_Z, Qt::ControlModifier);  // ignored while a button is down
        test::release(w.canvas, test::onCanvas(229, 139), Qt::RightButton, kL);
        test::release(w.canvas, test::onCanvas(229, 139), kL, Qt::NoButton);
        const QImage drawn = w.picture();
        QVERIFY(drawn != blank);
        // A Shift-press that moves the centre, a middle-button stroke, colour pick: no steps.
        w.stroke(50, 50, 60, 60, kL, Qt::ShiftModifier);
        w.stroke(80, 80, 120, 90, Qt::MiddleButton);
        w.key(Qt::Key_C);
        w.press(210, 120, kL, kL);
        test::release(w.canvas, test::onCanvas(210, 120), kL, Qt::NoButton);
        QVERIFY(w.e.st.Mode != kColourPick);
        QCOMPARE(w.picture(), drawn);
        w.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.picture(), blank);
        QVERIFY(!w.history().CanUndo());
        w.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.picture(), drawn);
        // Ctrl with C or an arrow does nothing to the picture; Ctrl+Alt+Z is no undo.
        w.key(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
        w.key(Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(w.picture(), drawn);
    }

    void newInvertAndOpenAreStepsAndTheEditPopupGreysOutWhatCannotBeDone()
    {
        Window w;
        Menu& edit = w.e.ui.mnuEdit;
        QCOMPARE(w.e.ui.sb.PanelText(4), std::string("Edit"));
        QCOMPARE(w.e.ui.sb.bar()->panelRect(4), QRect(256, 0, 96, 20));
        auto popUp = [&] {
            test::press(w.e.ui.sb.widget(), QPointF(300, 5), kL, kL);
            const bool shown = edit.showing();
            edit.menu()->hide();
            return shown;
        };
        QVERIFY(popUp());
        QVERIFY(!edit.Enabled(0) && !edit.Enabled(1));
        QCOMPARE(edit.menu()->actions().at(0)->text(), QString("&Undo\tCtrl+Z"));
        QCOMPARE(edit.menu()->actions().at(1)->text(), QString("&Redo\tCtrl+Y"));
        w.stroke(20, 20, 150, 100);
        const QImage stroke = w.picture();
        QTest::mouseClick(w.e.ui.kInvert.button(), kL);
        const QImage inverted = w.picture();
        w.e.ui.mnuFile.menu()->actions().at(0)->trigger();  // New
        QVERIFY(popUp());
        QVERIFY(edit.Enabled(0) && !edit.Enabled(1));
        edit.menu()->actions().at(0)->trigger();
        QCOMPARE(w.picture(), inverted);
        w.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.picture(), stroke);
        QVERIFY(popUp());
        QVERIFY(edit.Enabled(0) && edit.Enabled(1));
        edit.menu()->actions().at(1)->trigger();
        QCOMPARE(w.picture(), inverted);
        // Open of a picture that loaded is a step; a cancelled one is none.
        QTemporaryDir dir;
        QImage file(40, 30, QImage::Format_RGB32);
        file.fill(Qt::red);
        QVERIFY(file.save(dir.filePath("red.bmp")));
        w.services().fileAnswer = [&](FileDialogKind, const std::string&) {
            return std::optional(dir.filePath("red.bmp").toStdString());
        };
        w.e.ui.mnuFile.menu()->actions().at(1)->trigger();
        QCOMPARE(w.e.ui.pb->Point(0, 0), 0x0000FF);
        w.services().fileAnswer = [](FileDialogKind, const std::string&) { return std::optional<std::string>(); };
        w.e.ui.mnuFile.menu()->actions().at(1)->trigger();
        w.key(Qt::Key_Y, Qt::ControlModifier);  // nothing left to redo after a new step
        w.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.picture(), inverted);
    }

    void closingAsksOnlyWhenThePictureHasUnsavedChanges()
    {
        Window w;
        test::ScriptedServices& s = w.services();
        QVERIFY(w.close());  // nothing drawn: closes without a word
        QCOMPARE(s.saveQuestions, 0);
        w.window->form().widget()->show();

        w.stroke(10, 10, 100, 100);
        s.saveChoices = {SaveChoice::Cancel};
        QVERIFY(!w.close());
        QCOMPARE(s.saveQuestions, 1);
        QVERIFY(w.window->form().widget()->isVisible());
        // Save, but the dialog is cancelled: still open; then saved: closes.
        QTemporaryDir dir;
        std::optional<std::string> name;
        s.fileAnswer = [&](FileDialogKind, const std::string&) { return name; };
        s.saveChoices = {SaveChoice::Save};
        QVERIFY(!w.close());
        name = dir.filePath("kept.bmp").toStdString();
        s.saveChoices = {SaveChoice::Save};
        QVERIFY(w.close());
        QVERIFY(QImage(dir.filePath("kept.bmp")) == w.picture());
        // After that save, nothing to ask.
        w.window->form().widget()->show();
        QVERIFY(w.close());
        QCOMPARE(s.saveQuestions, 3);
        // Drawing, then undoing back to the saved picture: nothing to ask either.
        w.window->form().widget()->show();
        w.stroke(100, 10, 10, 100);
        w.key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(w.close());
        QCOMPARE(s.saveQuestions, 3);
        // A changed picture and Discard: closes.
        w.window->form().widget()->show();
        w.key(Qt::Key_Y, Qt::ControlModifier);
        s.saveChoices = {SaveChoice::Discard};
        QVERIFY(w.close());
        QCOMPARE(s.saveQuestions, 4);
        // New counts as saved until something is drawn.
        w.window->form().widget()->show();
        w.e.ui.mnuFile.menu()->actions().at(0)->trigger();
        QVERIFY(w.close());
        QCOMPARE(s.saveQuestions, 4);
    }
};

QTEST_MAIN(HistoryTest)
#include "test_history.moc"
