#include "picture/unsaved_changes.h"

#include "picture/save_picture.h"

namespace kalidor {

void markSaved(Editor& e) { e.savedState = e.ui.pbHistory->PictureState(); }

bool hasUnsavedChanges(const Editor& e) { return e.ui.pbHistory->PictureState() != e.savedState; }

bool Form_QueryUnload(Editor& e)
{
    if (!hasUnsavedChanges(e))
        return true;
    switch (e.services->AskSaveChanges()) {
    case SaveChoice::Save:
        return savePicture(e);
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}

}  // namespace kalidor
