#include "platform/widgets/colour_dialog.h"

#include <QColorDialog>

#include "platform/widgets/form.h"

namespace kalidor {

namespace {

ColourDialogAnswer& answer()
{
    static ColourDialogAnswer a;
    return a;
}

}  // namespace

std::optional<Colour> ShowColor(Form& owner, Colour initial)
{
    if (answer())
        return answer()(initial);
    // Qt's own dialog, not the desktop's: it always shows the custom colours
    // beside the basic ones, and it looks the same everywhere.
    QColorDialog dialog(QColor(red(initial), green(initial), blue(initial)), owner.widget());
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return fromPixel(dialog.selectedColor().rgb());
}

void answerColourDialogWith(ColourDialogAnswer a) { answer() = std::move(a); }

}  // namespace kalidor
