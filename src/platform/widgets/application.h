#pragma once
// The Qt application the window runs in, with the program's look.

#include <memory>
#include <string>

class QApplication;

namespace kalidor {

class Application {
public:
    Application(int& argc, char** argv);
    ~Application();
    int exec();

    // The file named on the command line after Qt's own options, as a local
    // file name (a file:// address too); empty where none is named.
    std::string fileArgument() const;

    // The style and font every control is laid out for; also used by tests
    // that run inside an application of their own.
    static void applyLook();

private:
    std::unique_ptr<QApplication> app_;
};

}  // namespace kalidor
