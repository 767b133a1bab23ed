#include "platform/widgets/file_dialog.h"

#include <algorithm>

#include <QFileDialog>

namespace kalidor {

namespace {

// Qt reads a filter's patterns from the parentheses that end it, separated by
// spaces, and shows only the text before them: the description is kept as it
// is, parentheses and all, and the patterns are appended in Qt's form.
QStringList qtNameFilters(const std::string& filter)
{
    const QStringList items = QString::fromStdString(filter).split('|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < items.size(); i += 2) {
        QStringList patterns = items[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& p : patterns)
            if (p == "*.*")
                p = "*";  // all files, those without an extension too
        result << items[i] + " (" + patterns.join(' ') + ")";
    }
    return result;
}

}  // namespace

std::unique_ptr<QFileDialog> createFileDialog(FileDialogKind kind, const std::string& filter, QWidget* parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent);
    const bool open = kind == FileDialogKind::Open;
    dialog->setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog->setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // Native dialogs cut a description at its first parenthesis; Qt's own shows
    // it whole once the pattern part is hidden.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setNameFilters(qtNameFilters(filter));
    dialog->selectFile(QString());
    return dialog;
}

std::optional<FileChoice> runFileDialog(FileDialogKind kind, const std::string& filter, QWidget* parent)
{
    const std::unique_ptr<QFileDialog> dialog = createFileDialog(kind, filter, parent);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    // Qt gives the entry as shown, which is our description, or whole.
    const QString chosen = dialog->selectedNameFilter();
    const QStringList items = QString::fromStdString(filter).split('|');
    qsizetype entry = dialog->nameFilters().indexOf(chosen);
    for (qsizetype i = 0; entry < 0 && i + 1 < items.size(); i += 2)
        if (items[i] == chosen)
            entry = i / 2;
    return FileChoice{dialog->selectedFiles().constFirst().toStdString(), static_cast<int>(std::max<qsizetype>(entry, 0))};
}

}  // namespace kalidor
