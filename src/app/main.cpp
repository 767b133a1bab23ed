// Kalidor: a paint program for symmetric figures.

#include "app/main_window.h"
#include "platform/widgets/application.h"

int main(int argc, char* argv[])
{
    kalidor::Application app(argc, argv);
    kalidor::MainWindow window;
    window.show();
    return app.exec();
}
