#include "platform/widgets/application.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>
#include <QUrl>

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

std::string Application::fileArgument() const
{
    const QStringList args = QApplication::arguments();
    if (args.size() < 2)
        return {};
    const QString& file = args.at(1);
    return (file.startsWith("file://") ? QUrl(file).toLocalFile() : file).toStdString();
}

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
