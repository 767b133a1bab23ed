#pragma once
// The modal file dialogs. A filter lists the file types offered as description
// and pattern pairs, every item separated by "|" and several patterns within one
// item by ";": "Bitmap (*.bmp)|*.bmp". Each dialog starts with an empty name.

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QFileDialog;
class QWidget;

namespace kalidor {

enum class FileDialogKind { Open, Save };

// The full name of the chosen file, or nothing when the user cancelled.
std::optional<std::string> ShowOpen(const std::string& filter);
std::optional<std::string> ShowSave(const std::string& filter);

// Tests answer the dialogs through this instead of a person; an empty function
// brings the real dialogs back.
using FileDialogAnswer = std::function<std::optional<std::string>(FileDialogKind, const std::string& filter)>;
void setFileDialogAnswer(FileDialogAnswer answer);

// The real dialog, set up but not yet shown.
std::unique_ptr<QFileDialog> createFileDialog(FileDialogKind kind, const std::string& filter, QWidget* parent);

}  // namespace kalidor
