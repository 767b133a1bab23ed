#pragma once
// Helpers that run the real main window offscreen and drive it with mouse and
// key events as the window system would deliver them.

#include <memory>
#include <string>

#include <QPoint>
#include <Qt>

#include "app/main_window.h"
#include "support/scripted_services.h"

class QWidget;

namespace kalidor::test {

// Opens the real window at the given client size (not maximised) and waits
// until it is shown, which runs start-up, and active. Its services are scripted
// (`scripted(e)`): new ones with Cancel for every dialog unless given. With a
// recovery folder it keeps its recovery copy there; with a start file it opens
// it once shown, as `kalidor FILE` does.
std::unique_ptr<MainWindow> openWindow(int clientWidth = 612, int clientHeight = 658,
                                       std::unique_ptr<ScriptedServices> services = nullptr,
                                       const std::string& recoveryFolder = {}, const std::string& startFile = {});

// Mouse events at a position in the widget's own pixels. `buttons` is the set
// held after the event (for a press it includes the pressed button).
void press(QWidget* w, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons,
           Qt::KeyboardModifiers mods = Qt::NoModifier);
void move(QWidget* w, QPointF pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier);
void release(QWidget* w, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons,
             Qt::KeyboardModifiers mods = Qt::NoModifier);

// The canvas widget's position of a canvas pixel (inside its 2-pixel border).
QPointF onCanvas(double x, double y);

}  // namespace kalidor::test
