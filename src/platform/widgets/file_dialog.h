#pragma once
// The real modal file dialogs, Qt's own rather than the desktop's. Each starts
// with an empty name.

#include <memory>
#include <optional>
#include <string>

#include "platform/services.h"

class QFileDialog;
class QWidget;

namespace kalidor {

// The dialog set up for a filter in the editor's form, not yet shown.
std::unique_ptr<QFileDialog> createFileDialog(FileDialogKind kind, const std::string& filter, QWidget* parent);

// Shows the dialog over `parent` and returns the chosen file's full name and
// filter entry, or nothing when the user cancelled.
std::optional<FileChoice> runFileDialog(FileDialogKind kind, const std::string& filter, QWidget* parent);

}  // namespace kalidor
