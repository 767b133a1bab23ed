#include "picture/clipboard.h"

#include "picture/open_picture.h"
#include "picture/undo_redo.h"

namespace kalidor {

void EditCopy(Editor& e) { e.services->CopyPicture(e.ui.picture->Image()); }

void EditPaste(Editor& e)
{
    if (e.stroking)
        return;  // the stroke's step is still open
    const LoadedPicture loaded = e.services->PastePicture(shownPart(e));
    if (const std::optional<std::string> why = beyondOwnSize(e, loaded)) {
        e.services->ShowMessage("Kalidor could not paste the picture on the clipboard: " + *why + ".");
        return;
    }
    if (loaded.picture) {
        // Unlike an opened file, the pasted picture is in no file: closing asks.
        replacePicture(e, *loaded.picture);
        return;
    }
    if (loaded.failure == OpenFailure::NotAPicture && loaded.width == 0)
        e.services->ShowMessage("The clipboard holds no picture: nothing was pasted.");
    else
        e.services->ShowMessage("Kalidor could not paste the picture on the clipboard: " + whyUnread(loaded) + ".");
}

}  // namespace kalidor
