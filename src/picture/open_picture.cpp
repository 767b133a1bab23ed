#include "picture/open_picture.h"

#include "picture/undo_redo.h"
#include "picture/unsaved_changes.h"
#include "platform/files/picture_file.h"

namespace kalidor {

void mnuOpen_Click(Editor& e)
{
    const std::optional<std::string> fileName = e.services->ShowOpen(kOpenFilter);
    if (!fileName)
        return;  // cancelled: the drawing stays
    // A file that cannot be read as a picture changes nothing, and says nothing.
    if (const std::optional<Picture> picture = LoadPicture(*fileName)) {
        asOneStep(e, StepKind::Open, [&] { e.ui.pb->SetPicture(*picture); });
        markSaved(e);
    }
}

}  // namespace kalidor
