#include "platform/widgets/application.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

namespace kalidor {

Application::Application(int& argc, char** argv)
{
    // Every pointer move must reach the canvas: a stroke is drawn move by move.
    QApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    app_ = std::make_unique<QApplication>(argc, argv);
    applyLook();
}

Application::~Application() = default;

int Application::exec() { return QApplication::exec(); }

void Application::applyLook()
{
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    // The controls have the small fixed sizes of a classic form; a condensed
    // face keeps captions such as "Pannern" and "Invert" unclipped.
    QFont font("DejaVu Sans Condensed");
    font.setPixelSize(11);
    QApplication::setFont(font);
}

}  // namespace kalidor
