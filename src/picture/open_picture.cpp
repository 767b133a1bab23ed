#include "picture/open_picture.h"

#include <algorithm>

#include "picture/picture_size.h"
#include "picture/undo_redo.h"
#include "picture/unsaved_changes.h"
#include "platform/files/picture_file.h"
#include "platform/memory.h"

namespace kalidor {

// The largest canvas the window can grow to on this desktop: the canvas grows
// as the window does, and the window up to the largest screen. A picture is
// read no further than that, nor than the part the canvas keeps beyond its edges.
LoadLimits shownPart(const Editor& e)
{
    const Document& picture = *e.ui.picture;
    // A picture of its own size takes the file's, up to the largest it may have.
    if (picture.OwnSize()) {
        LoadLimits limits;
        limits.shownWidth = kMaxOwnSide;
        limits.shownHeight = kMaxOwnSide;
        const long long available = availableMemory();
        const long long side = kMaxOwnSide;
        limits.maxPixels = side * side;
        // Room for the picture beside the one it replaces, which the history keeps.
        if (available >= 0)
            limits.maxPixels = std::clamp(available / 8, kMaxPicturePixels, side * side);
        return limits;
    }
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

std::optional<std::string> beyondOwnSize(const Editor& e, const LoadedPicture& loaded)
{
    if (!e.ui.picture->OwnSize() || (loaded.width <= kMaxOwnSide && loaded.height <= kMaxOwnSide))
        return std::nullopt;
    return "the picture is too large: " + std::to_string(loaded.width) + " × " + std::to_string(loaded.height) +
           " pixels, and a picture of its own size has up to " + std::to_string(kMaxOwnSide) + " a side";
}

bool openPictureFile(Editor& e, const std::string& fileName)
{
    const LoadedPicture loaded = ReadPicture(fileName, shownPart(e));
    if (const std::optional<std::string> why = beyondOwnSize(e, loaded)) {
        e.services->ShowMessage("Kalidor could not open \"" + fileName + "\": " + *why + ".");
        return false;
    }
    // The drawing stays, and the user learns why.
    if (!loaded.picture) {
        e.services->ShowMessage("Kalidor could not open \"" + fileName + "\": " + whyUnread(loaded) + ".");
        return false;
    }
    replacePicture(e, *loaded.picture);
    markSaved(e);
    return true;
}

void replacePicture(Editor& e, const Picture& picture)
{
    Document& document = *e.ui.picture;
    const bool resized = document.OwnSize() && picture.width() > 0 && picture.height() > 0;
    asOneStep(e, StepKind::Open, [&] {
        if (resized)
            document.Resize(picture.width(), picture.height(), false);
        document.SetPicture(picture);
    });
    if (resized)
        e.ui.pbBox.FitView();
}

void mnuOpen_Click(Editor& e)
{
    if (const std::optional<std::string> fileName = e.services->ShowOpen(kOpenFilter))
        openPictureFile(e, *fileName);
    // cancelled: the drawing stays
}

}  // namespace kalidor
