#include "picture/invert.h"

#include "picture/undo_redo.h"
#include "picture/whole_picture.h"

namespace kalidor {

void kInvert_Click(Editor& e)
{
    Surface& pb = *e.ui.pb;
    pb.SetDrawMode(kInvertPen);
    asOneStep(e, StepKind::Invert, [&] { fillWholePicture(pb, kBlack); });  // the colour plays no part in invert mode
    // Copy pen whatever the mode was before: every other drawing paints plain colours.
    pb.SetDrawMode(kCopyPen);
}

}  // namespace kalidor
