#pragma once
// The main window: creates the form and its controls, owns the editor and its
// services, and connects every notification to its handler.

#include <memory>

#include "editor/editor.h"
#include "platform/widgets/form.h"

namespace kalidor {

class MainWindow {
public:
    // Without services of its own the window uses the desktop's, over itself.
    explicit MainWindow(std::unique_ptr<Services> services = nullptr);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    Editor& editor() { return editor_; }
    Form& form() { return *form_; }

    // Opens the window maximised.
    void show();

private:
    void connectHandlers();

    std::unique_ptr<Form> form_;
    std::unique_ptr<Services> services_;
    Editor editor_;
};

}  // namespace kalidor
