#pragma once
// The Qt application the window runs in, with the program's look.

#include <memory>

class QApplication;

namespace kalidor {

class Application {
public:
    Application(int& argc, char** argv);
    ~Application();
    int exec();

    // The style and font every control is laid out for; also used by tests
    // that run inside an application of their own.
    static void applyLook();

private:
    std::unique_ptr<QApplication> app_;
};

}  // namespace kalidor
