#include "picture/open_picture.h"

#include <algorithm>

#include "picture/undo_redo.h"
#include "picture/unsaved_changes.h"
#include "platform/files/picture_file.h"

namespace kalidor {

// The largest canvas the window can grow to on this desktop: the canvas grows
// as the window does, and the window up to the largest screen. A picture is
// read no further than that, nor than the part the canvas keeps beyond its edges.
LoadLimits shownPart(const Editor& e)
{
    const Document& picture = *e.ui.picture;
    const Form& f = *e.ui.f;
    auto largest = [](float kept, float shown, float window, float screen) {
        return static_cast<int>(std::max(kept, shown + std::max(0.0f, screen - window)));
    };
    LoadLimits limits;
    limits.shownWidth = largest(static_cast<float>(picture.KeptWidth()), static_cast<float>(picture.Width()),
                                f.ScaleWidth(), f.ScreenWidth());
    limits.shownHeight = largest(static_cast<float>(picture.KeptHeight()), static_cast<float>(picture.Height()),
                                 f.ScaleHeight(), f.ScreenHeight());
    return limits;
}

std::string whyUnread(const LoadedPicture& loaded)
{
    switch (loaded.failure) {
    case OpenFailure::Unreadable:
        return "it cannot be read: " + loaded.reason;
    case OpenFailure::NotAPicture:
        return "it is not a picture Kalidor reads (BMP, ICO, GIF, JPEG or PNG)";
    case OpenFailure::Damaged:
        return "the picture is cut off or damaged";
    case OpenFailure::TooLarge: {
        const std::string size = std::to_string(loaded.width) + " × " + std::to_string(loaded.height) + " pixels";
        if (loaded.width > kMaxPictureSide || loaded.height > kMaxPictureSide)
            return "the picture is too large: " + size + ", and Kalidor opens up to " +
                   std::to_string(kMaxPictureSide) + " a side";
        return "the picture is too large to read whole: " + size;
    }
    case OpenFailure::None:
        break;
    }
    return "it could not be read";
}

bool openPictureFile(Editor& e, const std::string& fileName)
{
    const LoadedPicture loaded = ReadPicture(fileName, shownPart(e));
    // The drawing stays, and the user learns why.
    if (!loaded.picture) {
        e.services->ShowMessage("Kalidor could not open \"" + fileName + "\": " + whyUnread(loaded) + ".");
        return false;
    }
    asOneStep(e, StepKind::Open, [&] { e.ui.picture->SetPicture(*loaded.picture); });
    markSaved(e);
    return true;
}

void mnuOpen_Click(Editor& e)
{
    if (const std::optional<std::string> fileName = e.services->ShowOpen(kOpenFilter))
        openPictureFile(e, *fileName);
    // cancelled: the drawing stays
}

}  // namespace kalidor
