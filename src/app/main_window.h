#pragma once
// The main window: creates the form and its controls, owns the editor and its
// services, and connects every notification to its handler.

#include <memory>
#include <string>

#include "editor/editor.h"
#include "platform/raster/picture_document.h"
#include "platform/widgets/form.h"

namespace kalidor {

class MainWindow {
public:
    // Without services of its own the window uses the desktop's, over itself.
    // With a recovery folder it keeps a copy of the unsaved picture there, and
    // offers, once shown, the copies left by a Kalidor no longer running.
    explicit MainWindow(std::unique_ptr<Services> services = nullptr, const std::string& recoveryFolder = {});
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    Editor& editor() { return editor_; }
    Form& form() { return *form_; }

    // Opens the file once the window is shown (after any offer of recovery
    // copies), as File > Open would.
    void openOnShow(const std::string& fileName);
    // Opens the window maximised.
    void show();

private:
    void connectHandlers();
    void connectMenus();
    void keepRecovery(const std::string& folder);
    void shown();

    // The picture, kept apart from the canvas that shows it, and outliving it.
    std::unique_ptr<PictureDocument> picture_;
    std::unique_ptr<Form> form_;
    std::unique_ptr<Services> services_;
    Editor editor_;
    std::unique_ptr<Recovery> recovery_;  // stops its writer before the window goes
    int recoveryListener_ = 0;
    std::string recoveryFolder_;
    std::string startFile_;
};

}  // namespace kalidor
