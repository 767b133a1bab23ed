#include "platform/widgets/qt_services.h"

#include <QColorDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTime>

#include "platform/widgets/clipboard.h"
#include "platform/widgets/file_dialog.h"
#include "platform/widgets/size_dialog.h"

namespace kalidor {

std::optional<FileChoice> QtServices::ShowFile(FileDialogKind kind, const std::string& filter)
{
    return runFileDialog(kind, filter, window_);
}

void QtServices::ShowMessage(const std::string& text)
{
    QMessageBox::warning(window_, "Kalidor", QString::fromStdString(text));
}

std::optional<Colour> QtServices::ShowColor(Colour initial)
{
    // Qt's own dialog, not the desktop's: it always shows the custom colours
    // beside the basic ones, and it looks the same everywhere.
    QColorDialog dialog(QColor(red(initial), green(initial), blue(initial)), window_);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return fromPixel(dialog.selectedColor().rgb());
}

SaveChoice QtServices::AskSaveChanges()
{
    // Escape, and closing the box itself, answer Cancel.
    switch (QMessageBox::question(window_, "Kalidor", "Save changes to the picture?",
                                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save)) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

RestoreChoice QtServices::AskRestore(const std::string& question)
{
    QMessageBox box(QMessageBox::Question, "Kalidor", QString::fromStdString(question), QMessageBox::NoButton, window_);
    QPushButton* restore = box.addButton("Restore", QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton("Discard", QMessageBox::DestructiveRole);
    box.setDefaultButton(restore);
    box.exec();
    // Escape or the box's close button answers neither: the copy is kept.
    if (box.clickedButton() == restore)
        return RestoreChoice::Restore;
    if (box.clickedButton() == discard)
        return RestoreChoice::Discard;
    return RestoreChoice::Later;
}

void QtServices::CopyPicture(const Picture& picture) { copyPictureToClipboard(picture); }

LoadedPicture QtServices::PastePicture(LoadLimits limits) { return pictureOnClipboard(limits); }

std::optional<SizeChoice> QtServices::AskSize(SizeChoice current, int largest)
{
    return runSizeDialog(current, largest, window_);
}

float QtServices::Timer()
{
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

}  // namespace kalidor
