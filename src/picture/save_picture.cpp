#include "picture/save_picture.h"

#include "picture/unsaved_changes.h"
#include "platform/files/picture_file.h"

namespace kalidor {

bool savePictureAs(Editor& e, const Picture& image)
{
    const std::optional<FileChoice> choice = e.services->ShowSave(kSaveFilter);
    if (!choice)
        return false;  // cancelled: nothing written, nothing said
    // The type chosen in the dialog, whatever the name's extension.
    const PictureFormat format = choice->filter == 1 ? PictureFormat::Png : PictureFormat::Bitmap;
    if (const std::optional<std::string> failure = SavePicture(image, choice->name, format)) {
        e.services->ShowMessage("The picture could not be saved as \"" + choice->name + "\": " + *failure + ".");
        return false;
    }
    return true;
}

bool savePicture(Editor& e)
{
    // The user must not close the program believing the drawing is saved.
    // Drawn beyond the edge of a window made smaller is saved too: it is no
    // less the drawing for being out of sight.
    if (!savePictureAs(e, e.ui.picture->WholeImage()))
        return false;
    markSaved(e);
    return true;
}

void mnuSave_Click(Editor& e) { savePicture(e); }

}  // namespace kalidor
