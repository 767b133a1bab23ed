// Kalidor: a paint program for symmetric figures.

#include "app/main_window.h"
#include "platform/files/recovery_folder.h"
#include "platform/widgets/application.h"

int main(int argc, char* argv[])
{
    kalidor::Application app(argc, argv);
    // The copy of an unsaved drawing, kept against a crash.
    kalidor::MainWindow window(nullptr, kalidor::userRecoveryFolder());
    // `kalidor FILE`, as a file manager's "Open with" starts it.
    if (const std::string file = app.fileArgument(); !file.empty())
        window.openOnShow(file);
    window.show();
    return app.exec();
}
