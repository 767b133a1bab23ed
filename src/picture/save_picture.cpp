#include "picture/save_picture.h"

#include "picture/unsaved_changes.h"
#include "platform/files/picture_file.h"

namespace kalidor {

bool savePicture(Editor& e)
{
    const std::optional<std::string> fileName = e.services->ShowSave(kSaveFilter);
    if (!fileName)
        return false;  // cancelled: nothing written, nothing said
    const Picture image = e.ui.picture->Image();
    // The user must not close the program believing the drawing is saved.
    if (const std::optional<std::string> failure = SavePicture(image, *fileName)) {
        e.services->ShowMessage("The picture could not be saved as \"" + *fileName + "\": " + *failure + ".");
        return false;
    }
    markSaved(e);
    return true;
}

void mnuSave_Click(Editor& e) { savePicture(e); }

}  // namespace kalidor
