#include "picture/new_picture.h"

#include "picture/undo_redo.h"
#include "picture/unsaved_changes.h"
#include "picture/whole_picture.h"

namespace kalidor {

void mnuNew_Click(Editor& e)
{
    // Paints over the picture in the current drawing mode, which is copy pen
    // everywhere but inside Invert.
    asOneStep(e, StepKind::New, [&] { fillWholePicture(*e.ui.pb, kWhite); });
    markSaved(e);  // nothing to lose until something is drawn on it
}

}  // namespace kalidor
