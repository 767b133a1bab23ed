// The storm's history: undo and redo by key and from the Edit pop-up, every
// picture that undo or redo comes back to checked against the one that was
// there, and at the end undoing everything and redoing everything again.

#include <algorithm>
#include <cstring>

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include "app/main_window.h"
#include "picture/recovery.h"
#include "picture/unsaved_changes.h"
#include "platform/files/recovery_folder.h"
#include "platform/widgets/marker_widget.h"
#include "platform/widgets/surface_widget.h"
#include "support/storm_driver.h"
#include "support/storm_text.h"

namespace kalidor::test {

// The kept image with every copy a stroke owed drawn: the picture as Save,
// Undo and Fill see it.
const QImage& keptPicture(Editor& e)
{
    SurfaceWidget& canvas = *e.ui.pbBox.box();
    canvas.picture().settle();
    return canvas.surface().backing();
}

StormDriver::Fingerprint StormDriver::fingerprint(const QImage& image, QSize size)
{
    const QImage part = image.copy(QRect(QPoint(0, 0), size));
    return {size, qHashBits(part.constBits(), static_cast<std::size_t>(part.sizeInBytes()))};
}

void StormDriver::undoRedo()
{
    const int r = below(100);
    if (r < 15) {
        // From the Edit pop-up: a press on the status bar's fourth panel.
        QWidget* bar = e_.ui.sb.widget();
        const QPointF at(256 + between(0, 95), 10);
        fire("press on the Edit panel at x " + std::to_string(static_cast<int>(at.x())),
             [&] { QTest::mousePress(bar, Qt::LeftButton, {}, at.toPoint()); });
        QMenu* menu = e_.ui.mnuEdit.menu();
        if (!menu->isVisible())
            fail("the Edit pop-up did not open");
        if (chance(20)) {
            // Smooth lines and Fill's tolerance, each checked as it stands.
            const int item = between(kEditSmooth, kEditHigh);
            QAction* entry = menu->actions().at(item);
            if (menu->actions().at(kEditSmooth)->isChecked() != e_.smoothLines ||
                !menu->actions().at(kEditExact + e_.fillTolerance)->isChecked())
                fail("the Edit pop-up's smooth lines or tolerance is checked wrongly");
            const bool smooth = e_.smoothLines;
            fire("choose " + entry->text().toStdString(), [&] {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
                menu->hide();
            });
            if (item == kEditSmooth ? e_.smoothLines == smooth : e_.fillTolerance != item - kEditExact)
                fail("choosing " + entry->text().toStdString() + " in the Edit pop-up did not take");
            return;
        }
        if (chance(25)) {
            // Its Fill entry, checked while Fill is on, switches it.
            QAction* fill = menu->actions().at(4);
            const bool was = e_.fill;
            if (fill->isChecked() != was)
                fail("the Edit pop-up's Fill is checked wrongly");
            fire("choose Fill", [&] {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(fill).center());
                menu->hide();
            });
            if (e_.fill == was)
                fail("choosing Fill in the Edit pop-up did not switch it");
            return;
        }
        const int item = below(2);
        QAction* action = menu->actions().at(item);
        const bool enabled = action->isEnabled();
        if (enabled != (item == 0 ? e_.ui.pbHistory->CanUndo() : e_.ui.pbHistory->CanRedo()))
            fail(std::string(item == 0 ? "Undo" : "Redo") + " is greyed out wrongly");
        fire(std::string("choose ") + (item == 0 ? "Undo" : "Redo") + (enabled ? "" : " (greyed out)"), [&] {
            if (enabled)
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            menu->hide();
        });
        return;
    }
    const Qt::KeyboardModifiers mods = r < 60 ? Qt::ControlModifier : r < 80 ? Qt::ControlModifier | Qt::ShiftModifier
                                                                            : Qt::ControlModifier;
    const Qt::Key key = r < 80 ? Qt::Key_Z : Qt::Key_Y;
    pressKey(key, mods, chance(20) ? between(2, 8) : 1);
}

std::string StormDriver::checkHistory()
{
    const long long state = e_.ui.pbHistory->PictureState();
    if (e_.stroking)
        return {};  // the open stroke's pixels are still changing
    const QImage& kept = keptPicture(e_);
    auto seen = pictures_.find(state);
    if (state != lastState_ && seen != pictures_.end()) {
        // Back at a picture seen before: the same pixels, and the background
        // where the picture has grown since.
        const Fingerprint now = fingerprint(kept, seen->second.size);
        if (now.hash != seen->second.hash)
            return "undo or redo did not give back the picture as it was";
        for (int y = 0; y < kept.height(); ++y)
            for (int x = y < seen->second.size.height() ? seen->second.size.width() : 0; x < kept.width(); ++x)
                if (kept.pixel(x, y) != 0xFFFFFFFF)
                    return "undo or redo left pixels beyond the picture as it was";
    }
    if (state != lastState_ || seen == pictures_.end())
        pictures_[state] = fingerprint(kept, kept.size());
    lastState_ = state;
    return {};
}

std::string StormDriver::checkRecovery()
{
    if (!e_.recovery || e_.stroking)
        return {};
    e_.recovery->writer().wait();
    std::int64_t at = 0;
    const std::optional<RecoveryPicture> copy =
        readRecoveryCopy(e_.recovery->writer().folder(), e_.recovery->writer().session(), at);
    if (!hasUnsavedChanges(e_))
        return copy ? "a recovery copy of a saved picture was kept" : "";
    // A canvas of no pixels shows nothing to keep: the copy stays as it was.
    const int w = static_cast<int>(e_.ui.pb->ScaleWidth()), h = static_cast<int>(e_.ui.pb->ScaleHeight());
    if (w == 0 || h == 0)
        return {};
    if (!copy)
        return "no recovery copy of the unsaved picture";
    const QImage shown = keptPicture(e_).copy(0, 0, w, h);
    if (copy->width != shown.width() || copy->height != shown.height())
        return "the recovery copy is " + std::to_string(copy->width) + " x " + std::to_string(copy->height) + ", the picture " + std::to_string(shown.width()) + " x " + std::to_string(shown.height());
    for (int y = 0; y < shown.height(); ++y)
        if (std::memcmp(shown.constScanLine(y), &copy->pixels[static_cast<std::size_t>(y) * copy->width],
                        static_cast<std::size_t>(copy->width) * 4) != 0)
            return "the recovery copy differs from the picture in row " + std::to_string(y);
    return {};
}

// Once a frame has passed, the screen shows the picture: no change was left
// out of what was repainted. What the window system got is read back from it.
std::string StormDriver::checkShown()
{
    auto* canvas = e_.ui.pbBox.box();
    if (!canvas->isVisible() || !canvas->guides().empty() || !canvas->overlay(OverlayLayer::Preview).lines.empty() ||
        canvas->dragOutline())
        return {};
    // Read at 100 % from the corner only; a pan under way has moved it.
    const RasterSurface& surface = canvas->surface();
    if (canvas->view().scale != 1 || canvas->view().origin != QPointF(surface.border(), surface.border()))
        return {};
    QTest::qWait(50);
    const QSize size(static_cast<int>(surface.ScaleWidth()), static_cast<int>(surface.ScaleHeight()));
    QWidget* top = canvas->window();
    const QPoint at = canvas->mapTo(top, QPoint(surface.border(), surface.border()));
    // The part of the canvas inside the window; a small window cuts it off,
    // and a picture larger than the view reaches under the scroll bars.
    const QRect view(canvas->mapTo(top, canvas->viewport().topLeft()), canvas->viewport().size());
    QRect seen = QRect(at, size) & top->rect() & view;
    if (seen.isEmpty())
        return {};
    const QImage shown = canvas->screen()
                             ->grabWindow(top->winId(), seen.x(), seen.y(), seen.width(), seen.height())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    // A window larger than the screen is read back as far as the screen goes.
    seen.setSize(seen.size().boundedTo(shown.size()));
    // Only what no other control covers: the marker, or the status bar over
    // the canvas of a very small window (controls made later lie above).
    QRegion uncovered(QRect(canvas->mapTo(top, QPoint(0, 0)), canvas->size()));
    bool above = false;
    for (QObject* sibling : canvas->parentWidget()->children()) {
        auto* w = qobject_cast<QWidget*>(sibling);
        if (sibling == canvas)
            above = true;
        else if (w && above && w->isVisible())
            uncovered -= QRect(w->mapTo(top, QPoint(0, 0)), w->size());
    }
    if (QWidget* m = e_.ui.obCP.marker(); m && m->isVisible())
        uncovered -= QRect(m->mapTo(top, QPoint(0, 0)), m->size());
    // A shape's preview shows in its colour over the picture.
    const PreviewLayer& preview = canvas->preview();
    for (int y = seen.top(); y <= seen.bottom(); ++y)
        for (int x = seen.left(); x <= seen.right(); ++x) {
            if (!uncovered.contains(QPoint(x, y)))
                continue;
            const QPoint p(x - at.x(), y - at.y());
            const QRgb expected =
                preview.covers(p.x(), p.y()) ? toPixel(preview.colour()) : surface.backing().pixel(p);
            if (shown.pixel(x - seen.x(), y - seen.y()) != expected)
                return "the screen differs from the picture" +
                       std::string(preview.shown() ? " and its shape's preview" : "") + " at (" +
                       std::to_string(p.x()) + ", " + std::to_string(p.y()) + ")";
        }
    return {};
}

void StormDriver::markReported(const QRegion& area)
{
    const int width = reportedFrom_.width();
    for (const QRect& r : area & QRect(QPoint(0, 0), reportedFrom_.size()))
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::fill_n(reported_.begin() + static_cast<std::ptrdiff_t>(y) * width + r.left(), r.width(), 1);
}

std::string StormDriver::checkReported(bool compare)
{
    const QImage& kept = keptPicture(e_);
    const QSize size(e_.ui.picture->Width(), e_.ui.picture->Height());
    // A picture made smaller and grown back shows again what changed while
    // it was hidden, which no view was told: a stretch ends at every change
    // of size.
    const bool sameSize = reportedFrom_.size() == size;
    if (sameSize && !compare)
        return {};
    std::string failure;
    for (int y = 0; sameSize && y < size.height() && failure.empty(); ++y) {
        const auto* was = reinterpret_cast<const QRgb*>(reportedFrom_.constScanLine(y));
        const auto* is = reinterpret_cast<const QRgb*>(kept.constScanLine(y));
        const std::uint8_t* told = reported_.data() + static_cast<std::ptrdiff_t>(y) * size.width();
        for (int x = 0; x < size.width(); ++x)
            if (was[x] != is[x] && !told[x]) {
                failure = "the picture changed at (" + std::to_string(x) + ", " + std::to_string(y) +
                          ") and did not say so";
                break;
            }
    }
    reportedFrom_ = size.isEmpty() ? QImage() : kept.copy(QRect(QPoint(0, 0), size));
    reported_.assign(static_cast<std::size_t>(size.width()) * static_cast<std::size_t>(size.height()), 0);
    return failure;
}

void StormDriver::undoEverythingAndRedo()
{
    QWidget* canvas = e_.ui.pbBox.widget();
    QTest::mouseRelease(canvas, Qt::LeftButton);  // a stroke cut off by the storm's end
    if (std::string failure = checkShown(); !failure.empty())
        fail("at the end, " + failure);
    e_.stroking = false;
    e_.ui.pbHistory->EndStep();
    // Keys as the window system sends them, a bounded number: the history
    // holds at most 256 steps.
    int keys = 0;
    auto key = [&](Qt::Key k, Qt::KeyboardModifiers mods) {
        if (++keys > 2000)
            fail("at the end, undo and redo keys did not reach the history");
        sendKey(QEvent::KeyPress, k, mods);
        sendKey(QEvent::KeyRelease, k, mods);
        if (std::string failure = checkHistory(); !failure.empty())
            fail("at the end, " + failure);
    };
    checkHistory();
    // The storm may have ended with steps undone: the newest picture first.
    while (e_.ui.pbHistory->CanRedo())
        key(Qt::Key_Y, Qt::ControlModifier);
    const QImage last = keptPicture(e_).copy();
    int undone = 0;
    while (e_.ui.pbHistory->CanUndo()) {
        key(Qt::Key_Z, Qt::ControlModifier);
        ++undone;
    }
    // With nothing dropped from the history, undoing everything gives the start
    // picture (and the background where the picture has grown since); with the
    // oldest steps dropped, the picture before the oldest kept one, which the
    // fingerprints checked.
    if (e_.ui.pbHistory->PictureState() == 0) {
        const QImage& first = keptPicture(e_);
        QImage expected(first.size(), first.format());
        expected.fill(0xFFFFFFFF);
        QPainter(&expected).drawImage(0, 0, start_);
        if (first != expected)
            fail("at the end, undoing everything did not give the start picture");
    }
    for (int i = 0; i < undone; ++i)
        key(i % 2 ? Qt::Key_Y : Qt::Key_Z, i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
    if (e_.ui.pbHistory->CanRedo() || keptPicture(e_) != last)
        fail("at the end, redoing everything did not give the last picture");
    if (std::string failure = checkShown(); !failure.empty())
        fail("after redoing everything, " + failure);
}

}  // namespace kalidor::test
