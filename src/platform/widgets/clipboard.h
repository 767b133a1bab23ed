#pragma once
// The desktop's clipboard, as far as pictures go.

#include "platform/files/picture_file.h"
#include "platform/picture.h"

namespace kalidor {

// Puts the picture on the clipboard, for this and other programs to paste.
void copyPictureToClipboard(const Picture& picture);

// The picture on the clipboard, read as Open reads a file: where another
// program offers it as a file format (PNG, BMP, JPEG, GIF), its bytes with the
// same checks; where it is an image of this program's, that image, held to
// the same limits. Nothing where the clipboard holds no picture (text, or nothing),
// with the failure NotAPicture.
LoadedPicture pictureOnClipboard(LoadLimits limits);

}  // namespace kalidor
