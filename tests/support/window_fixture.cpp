#include "support/window_fixture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include "platform/widgets/application.h"

namespace kalidor::test {

std::unique_ptr<MainWindow> openWindow(int clientWidth, int clientHeight, std::unique_ptr<ScriptedServices> services,
                                       const std::string& recoveryFolder, const std::string& startFile)
{
    static bool looked = false;
    if (!looked) {
        Application::applyLook();
        looked = true;
    }
    if (!services)
        services = std::make_unique<ScriptedServices>();
    auto w = std::make_unique<MainWindow>(std::move(services), recoveryFolder);
    if (!startFile.empty())
        w->openOnShow(startFile);
    QWidget* window = w->form().widget();
    window->resize(clientWidth, clientHeight);
    window->show();
    window->activateWindow();
    // Start-up runs when it is first shown; the tests' keys need it active.
    if (!QTest::qWaitForWindowExposed(window) || !QTest::qWaitForWindowActive(window))
        qWarning("the window was not shown or did not become active");
    return w;
}

namespace {

void send(QWidget* w, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons,
          Qt::KeyboardModifiers mods)
{
    QMouseEvent event(type, pos, w->mapToGlobal(pos), button, buttons, mods);
    QApplication::sendEvent(w, &event);
}

}  // namespace

void press(QWidget* w, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    send(w, QEvent::MouseButtonPress, pos, button, buttons, mods);
}

void move(QWidget* w, QPointF pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    send(w, QEvent::MouseMove, pos, Qt::NoButton, buttons, mods);
}

void release(QWidget* w, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons,
             Qt::KeyboardModifiers mods)
{
    send(w, QEvent::MouseButtonRelease, pos, button, buttons, mods);
}

QPointF onCanvas(double x, double y) { return QPointF(x + 2, y + 2); }

}  // namespace kalidor::test
