#include "platform/widgets/size_dialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace kalidor {

std::optional<SizeChoice> runSizeDialog(SizeChoice current, int largest, QWidget* window)
{
    QDialog dialog(window);
    dialog.setWindowTitle("Size");
    auto* form = new QFormLayout(&dialog);
    auto side = [&](const char* name, int value) {
        auto* box = new QSpinBox(&dialog);
        box->setRange(1, largest);
        box->setValue(std::clamp(value, 1, largest));
        box->setSuffix(" pixels");
        box->setAccessibleName(name);
        form->addRow(QString(name) + ":", box);
        return box;
    };
    QSpinBox* width = side("Width", current.width);
    QSpinBox* height = side("Height", current.height);
    auto* follows = new QCheckBox("Follows the window", &dialog);
    follows->setChecked(current.followsWindow);
    follows->setToolTip("The picture is the canvas's size and changes with the window");
    form->addRow(follows);
    // A side typed is a size of the picture's own.
    for (QSpinBox* box : {width, height})
        QObject::connect(box, &QSpinBox::valueChanged, &dialog, [follows] { follows->setChecked(false); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    width->setFocus();
    width->selectAll();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return SizeChoice{width->value(), height->value(), follows->isChecked()};
}

}  // namespace kalidor
