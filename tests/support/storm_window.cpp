// The storm's clicks on buttons and wells, the File pop-up with its dialogs,
// Save tile and the clipboard, and the window resized down to 1 x 1,
// minimised and back.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTest>

#include "app/main_window.h"
#include "picture/save_tile.h"
#include "support/scripted_services.h"
#include "platform/widgets/surface_widget.h"
#include "platform/widgets/well_widget.h"
#include "support/storm_driver.h"
#include "support/storm_text.h"
#include "support/window_fixture.h"

namespace kalidor::test {

namespace {

// The largest window the storm makes, the size of the offscreen screen.
constexpr int kLargestWidth = 800;
constexpr int kLargestHeight = 600;

}  // namespace

void StormDriver::click(QWidget* w, const std::string& name, Qt::MouseButton b)
{
    fire("click " + name + (b == Qt::LeftButton ? "" : " with " + buttonsText(b)),
         [&] { QTest::mouseClick(w, b); });
}

void StormDriver::clickMode()
{
    static const char* const names[] = {"\"Normal\"", "\"Centric\"", "\"Pattern\""};
    const int i = below(3);
    click(e_.ui.obMode[static_cast<std::size_t>(i)].button(), names[i]);
}

void StormDriver::clickBox()
{
    // Only the boxes the user can see: the options frame of the mode shown.
    std::vector<std::pair<QAbstractButton*, std::string>> boxes{{e_.ui.cbCvet.button(), "\"Cvet\""}};
    for (const auto& [box, name] : {std::pair{e_.ui.cbCenter.button(), "\"Center\""},
                                    {e_.ui.cbChess.button(), "\"Chess\""}, {e_.ui.cbPattern.button(), "\"Pannern\""}})
        if (box->isVisible())
            boxes.emplace_back(box, name);
    const auto& [box, name] = boxes[static_cast<std::size_t>(below(static_cast<int>(boxes.size())))];
    click(box, name);
}

void StormDriver::clickInvert() { click(e_.ui.kInvert.button(), "\"Invert\""); }

void StormDriver::clickWell()
{
    const int i = between(1, 3);
    // The colour dialog is answered at random; a right click opens nothing.
    click(e_.ui.pbColor[static_cast<std::size_t>(i)].widget(), "well " + std::to_string(i),
          chance(85) ? Qt::LeftButton : Qt::RightButton);
}

void StormDriver::chooseGroup()
{
    // A press on the fifth panel, at 352..399 along the bar.
    QWidget* bar = e_.ui.sb.widget();
    const QPointF at(between(352, 399), 8);
    fire("press on the group panel at x " + std::to_string(static_cast<int>(at.x())),
         [&] { press(bar, at, Qt::LeftButton, Qt::LeftButton); });
    fire("release on the group panel", [&] { release(bar, at, Qt::LeftButton, Qt::NoButton); });
    QMenu* menu = e_.ui.mnuGroup.menu();
    if (!menu->isVisible())
        fail("the group pop-up did not open");
    const QList<QAction*> items = menu->actions();
    for (int i = 0; i < items.size(); ++i)
        if (items[i]->isChecked() != (i == e_.group))
            fail("the group pop-up checks " + items[i]->text().toStdString() + " wrongly");
    if (chance(25)) {
        fire("Escape on the group pop-up", [&] { QTest::keyClick(menu, Qt::Key_Escape); });
        return;
    }
    const int item = below(static_cast<int>(items.size()));
    fire("choose " + items[item]->text().toStdString(), [&] {
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(items[item]).center());
        menu->hide();
    });
    if (e_.group != item)
        fail("the group chosen is " + std::to_string(e_.group) + ", not " + std::to_string(item));
}

void StormDriver::fileMenu()
{
    QMenu* menu = e_.ui.mnuFile.menu();
    // The pop-up of the status bar's first panel, or the command's keys.
    const bool byKeys = chance(30);
    int item = below(3);
    if (byKeys) {
        // Keys reach only the active window. The offscreen platform leaves the
        // activation with a closed pop-up; an X server hands it back.
        QWidget* window = window_.form().widget();
        if (QApplication::activeWindow() != window)
            fire("the window active again", [&] {
                window->activateWindow();
                QApplication::processEvents();
            });
    } else {
        QWidget* bar = e_.ui.sb.widget();
        const QPointF at(between(0, 200), 5);
        const Qt::MouseButton b = button();
        fire("press " + buttonsText(b) + " on the status bar at " + pointText(at), [&] { press(bar, at, b, b); });
        fire("release " + buttonsText(b) + " on the status bar", [&] { release(bar, at, b, Qt::NoButton); });
        if (!menu->isVisible())
            return;
        if (chance(50)) {
            fire("Escape on the File menu", [&] { QTest::keyClick(menu, Qt::Key_Escape); });
            return;
        }
    }
    const QString saved = QDir(scratch_).filePath("storm.bmp");
    const int r = below(100);
    if (item == 2 && r < 20)
        QFile::remove(saved);  // so that the check below sees this save's file
    if (r < 40)
        fileAnswer_ = saved.toStdString();
    else if (r < 60)
        fileAnswer_ = QDir(scratch_).filePath(item == 1 ? "notes.bmp" : "no such folder/storm.bmp").toStdString();
    else
        fileAnswer_.reset();  // cancelled
    // Nowhere to write, or no picture at all on a canvas of no size.
    const bool unwritable = item == 2 && fileAnswer_ && (r >= 40 || e_.ui.picture->WholeImage().image().isNull());
    // Not a picture, or a file no save has written yet.
    const bool refused = item == 1 && fileAnswer_ && (r >= 40 || !QFile::exists(saved));
    static const char* const names[] = {"New", "Open", "Save"};
    QAction* action = menu->actions().at(item);
    const std::size_t before = scripted(e_).messages.size();
    const int dialogs = fileDialogs_;
    const QImage drawing = keptPicture(e_);
    const std::string answer = item == 0 ? "" : fileAnswer_ ? " \"" + *fileAnswer_ + "\"" : ", cancelled";
    if (byKeys) {
        static const Qt::Key keys[] = {Qt::Key_N, Qt::Key_O, Qt::Key_S};
        fire(std::string("Ctrl+") + keyText(keys[item]) + " for " + names[item] + answer,
             [&] { sendKey(QEvent::KeyPress, keys[item], Qt::ControlModifier); });
        fire("release " + keyText(keys[item]), [&] { sendKey(QEvent::KeyRelease, keys[item], Qt::ControlModifier); });
    } else {
        fire(std::string("choose ") + names[item] + answer,
             [&] { QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center()); });
    }
    if (fileDialogs_ != dialogs + (item == 0 ? 0 : 1))
        fail(std::string(names[item]) + " showed " + std::to_string(fileDialogs_ - dialogs) + " file dialogs");
    const Surface& pb = *e_.ui.pb;
    const bool empty = pb.ScaleWidth() < 1 || pb.ScaleHeight() < 1;
    if (item == 0 && !empty && (pb.Point(0, 0) != kWhite || pb.Point(pb.ScaleWidth() - 1, pb.ScaleHeight() - 1) != kWhite))
        fail("New left the picture not white");
    // Open and Save say when they failed, and only then, naming the file.
    const std::vector<std::string>& said = scripted(e_).messages;
    if (item == 1 && (said.size() != before) != refused)
        fail(refused ? "an Open that failed said nothing" : "Open showed a message though it opened the file");
    if (item == 1 && refused && (said.size() != before + 1 || said.back().find(*fileAnswer_) == std::string::npos))
        fail("a failed Open did not say which file it could not open");
    if (item == 1 && r >= 40 && keptPicture(e_) != drawing)
        fail("a cancelled Open or one of a file that is no picture changed the drawing");
    if (item == 2 && (scripted(e_).messages.size() != before) != unwritable)
        fail(unwritable ? "a failed save said nothing" : "a save into the scratch folder reported a failure");
    if (item == 2 && r < 20 && !unwritable && !QFile(saved).exists())
        fail("Save wrote no file");
}

void StormDriver::leaveWindow()
{
    QMenu* file = e_.ui.mnuFile.menu();
    const QImage drawing = e_.ui.pb->Image().image();
    const std::size_t said = scripted(e_).messages.size();
    const int r = below(3);
    if (r == 0) {
        // Save tile: in Pattern only, one period cut from the picture.
        const QString tileFile = QDir(scratch_).filePath("tile.bmp");
        QFile::remove(tileFile);
        fileAnswer_ = chance(80) ? std::optional<std::string>(tileFile.toStdString()) : std::nullopt;
        const bool pattern = drawingMode(e_.st) == kPattern;
        const TileSize size = patternTile(e_);
        const TileRect place = placeTile(size, drawing.width(), drawing.height());
        const int dialogs = fileDialogs_;
        // Keys reach only the active window (see fileMenu).
        if (chance(50) && QApplication::activeWindow() == window_.form().widget())
            pressKey(Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
        else
            fire("trigger Save tile", [&] { file->actions().at(kFileSaveTile)->trigger(); });
        const bool asked = fileDialogs_ != dialogs;
        if (asked != (pattern && place.width > 0))
            fail(pattern ? "Save tile asked for a file it cannot fill, or none for one it can" : "Save tile ran outside Pattern");
        if (pattern && !asked && scripted(e_).messages.size() != said + 1)
            fail("a tile larger than the picture was refused without a word");
        const QImage tile(tileFile);
        if (asked && fileAnswer_ && tile.convertToFormat(QImage::Format_RGB32) != drawing.copy(place.x, place.y, place.width, place.height))
            fail("the saved tile is not the period cut from the picture");
        if (!asked && QFile::exists(tileFile))
            fail("Save tile wrote a file without a dialog");
    } else if (r == 1) {
        pressKey(Qt::Key_C, Qt::ControlModifier);
        if (QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32) != drawing)
            fail("Copy put another picture on the clipboard");
    } else {
        if (chance(30))
            fire("text on the clipboard", [&] { QGuiApplication::clipboard()->setText("storm"); });
        // A copy of a canvas of no size leaves an image of none.
        const QImage pasted = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
        const bool picture = !pasted.isNull();
        pressKey(Qt::Key_V, Qt::ControlModifier);
        const QImage now = e_.ui.pb->Image().image();
        const QRect common = QRect(QPoint(0, 0), now.size()) & QRect(QPoint(0, 0), pasted.size());
        if (e_.stroking)
            return;  // nothing is pasted into a press under way
        if (!picture && (now != drawing || scripted(e_).messages.size() != said + 1))
            fail("a paste of no picture changed the drawing or said nothing");
        if (picture && !common.isEmpty() && now.copy(common) != pasted.copy(common))
            fail("the pasted picture is not at the top-left corner");
    }
}

void StormDriver::resizeWindow()
{
    QWidget* window = window_.form().widget();
    const QImage before = keptPicture(e_);
    if (chance(10)) {
        // Minimised, perhaps resized meanwhile, and restored.
        fire("minimise the window", [&] { window->setWindowState(Qt::WindowMinimized); });
        if (chance(50)) {
            const QSize size(between(1, kLargestWidth), between(1, kLargestHeight));
            fire("resize the minimised window to " + std::to_string(size.width()) + "x" + std::to_string(size.height()),
                 [&] { window->resize(size); });
        }
        fire("restore the window", [&] { window->setWindowState(Qt::WindowNoState); });
    } else {
        const int r = below(100);
        QSize size(between(110, kLargestWidth), between(30, kLargestHeight));
        if (r < 10)
            size = QSize(1, 1);
        else if (r < 30)
            size = chance(50) ? QSize(between(1, 109), size.height()) : QSize(size.width(), between(1, 29));
        else if (r < 35)
            size = QSize(110, 30);  // the smallest that leaves a canvas, 0 x 0
        fire("resize the window to " + std::to_string(size.width()) + "x" + std::to_string(size.height()),
             [&] { window->resize(size); });
    }
    // The canvas keeps all of the picture it ever showed: nothing is lost.
    const QImage after = keptPicture(e_);
    if (after.width() < before.width() || after.height() < before.height() ||
        after.copy(0, 0, before.width(), before.height()) != before)
        fail("the resize lost part of the drawing");
}

void StormDriver::idle()
{
    fire("let the window paint", [] { QApplication::processEvents(); });
}

}  // namespace kalidor::test
