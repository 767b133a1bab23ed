#pragma once
// The window services as the desktop gives them: Qt's dialogs over the
// program's window, and the time of day.

#include "platform/services.h"

class QWidget;

namespace kalidor {

class QtServices : public Services {
public:
    // Every dialog is modal over `window`, the program's one window.
    explicit QtServices(QWidget* window) : window_(window) {}

    std::optional<FileChoice> ShowFile(FileDialogKind kind, const std::string& filter) override;
    void ShowMessage(const std::string& text) override;
    std::optional<Colour> ShowColor(Colour initial) override;
    SaveChoice AskSaveChanges() override;
    RestoreChoice AskRestore(const std::string& question) override;
    void CopyPicture(const Picture& picture) override;
    LoadedPicture PastePicture(LoadLimits limits) override;
    std::optional<SizeChoice> AskSize(SizeChoice current, int largest) override;
    float Timer() override;

private:
    QWidget* window_;
};

}  // namespace kalidor
