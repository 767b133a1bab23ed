#include "picture/picture_size.h"

#include "picture/undo_redo.h"
#include "platform/memory.h"

namespace kalidor {

namespace {

// Beside the picture: the history's bound and room for the program itself.
constexpr long long kHistoryBytes = 256LL << 20;
constexpr long long kHeadroomBytes = 128LL << 20;

std::string sizeText(long long width, long long height)
{
    return std::to_string(width) + " × " + std::to_string(height) + " pixels";
}

// The canvas's interior: the size the window gives the picture.
std::pair<int, int> windowSize(const Editor& e)
{
    constexpr int kBorders = 4;
    return {std::max(0, e.ui.pbBox.Width() - kBorders), std::max(0, e.ui.pbBox.Height() - kBorders)};
}

}  // namespace

std::optional<std::string> sizeRefusal(long long width, long long height, long long available, long long kept)
{
    if (width < 1 || height < 1 || width > kMaxOwnSide || height > kMaxOwnSide)
        return sizeText(width, height) + " is beyond the sizes Kalidor gives a picture: 1 to " +
               std::to_string(kMaxOwnSide) + " a side";
    const long long bytes = width * height * 4;
    // What the picture holds now is given back when it grows.
    if (available >= 0 && bytes > kept && bytes - kept + kHistoryBytes + kHeadroomBytes > available)
        return "a picture of " + sizeText(width, height) + " needs " + std::to_string(bytes >> 20) +
               " MB, more than this machine has free (" + std::to_string(std::max(0LL, available) >> 20) + " MB)";
    return std::nullopt;
}

std::optional<std::string> sizeRefusal(const Editor& e, long long width, long long height)
{
    const Document& picture = *e.ui.picture;
    return sizeRefusal(width, height, availableMemory(),
                       4LL * picture.KeptWidth() * picture.KeptHeight());
}

bool resizePicture(Editor& e, int width, int height)
{
    if (const std::optional<std::string> why = sizeRefusal(e, width, height)) {
        e.services->ShowMessage("The picture keeps its size: " + *why + ".");
        return false;
    }
    asOneStep(e, StepKind::Stroke, [&] { e.ui.picture->Resize(width, height); });
    return true;
}

void mnuSize_Click(Editor& e)
{
    if (e.stroking)
        return;  // the stroke's step is still open
    Document& picture = *e.ui.picture;
    const SizeChoice now{picture.Width(), picture.Height(), !picture.OwnSize()};
    const std::optional<SizeChoice> choice = e.services->AskSize(now, kMaxOwnSide);
    if (!choice)
        return;
    if (choice->followsWindow) {
        if (!picture.OwnSize())
            return;
        // Back to the window's size, as a step undo takes back.
        const std::pair<int, int> window = windowSize(e);
        asOneStep(e, StepKind::Stroke, [&] { picture.Resize(window.first, window.second); });
        picture.FollowWindow();
        return;
    }
    resizePicture(e, choice->width, choice->height);
}

}  // namespace kalidor
