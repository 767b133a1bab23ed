#pragma once
// The real main window, offscreen, with its canvas drawing recorded, and
// shorthands for mouse events on the canvas in canvas pixels.

#include <memory>
#include <string>

#include <QAbstractButton>
#include <QTest>

#include "support/recording_surface.h"
#include "support/window_fixture.h"

namespace kalidor::test {

struct RecordedWindow {
    std::unique_ptr<MainWindow> window = openWindow();
    Editor& e = window->editor();
    RecordingSurface pb{*e.ui.pb};
    QWidget* canvas = e.ui.pbBox.widget();
    RecordedWindow() { e.ui.pb = &pb; }

    void press(double x, double y, Qt::MouseButton b, Qt::MouseButtons held,
               Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        test::press(canvas, onCanvas(x, y), b, held, mods);
    }
    void move(double x, double y, Qt::MouseButtons held, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        test::move(canvas, onCanvas(x, y), held, mods);
    }
    void choose(int mode) { QTest::mouseClick(e.ui.obMode[static_cast<std::size_t>(mode)].button(), Qt::LeftButton); }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(canvas, k, mods); }
    std::string readout() const { return e.ui.sb.PanelText(2); }
    std::string panel3() const { return e.ui.sb.PanelText(3); }
    QPoint markerAt() const { return {e.ui.obCP.Left(), e.ui.obCP.Top()}; }
};

}  // namespace kalidor::test
