#include "picture/new_picture.h"

#include "picture/whole_picture.h"

namespace kalidor {

void mnuNew_Click(Editor& e)
{
    // Paints over the picture in the current drawing mode, which is copy pen
    // everywhere but inside Invert.
    fillWholePicture(*e.ui.pb, kWhite);
}

}  // namespace kalidor
