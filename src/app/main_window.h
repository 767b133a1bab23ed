#pragma once
// The main window: creates the form and its controls, owns the editor, and
// connects every notification to its handler.

#include <memory>

#include "app/editor.h"
#include "platform/widgets/form.h"

namespace kalidor {

class MainWindow {
public:
    MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    Editor& editor() { return editor_; }
    Form& form() { return *form_; }

    // Opens the window maximised.
    void show();

private:
    void connectHandlers();

    std::unique_ptr<Form> form_;
    Editor editor_;
};

}  // namespace kalidor
