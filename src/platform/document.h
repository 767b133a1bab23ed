#pragma once
// The picture itself, apart from any view of it: its pixels and size and its
// history. Open, Save, colour pick, Fill and undo talk to it; drawing reaches
// it through a surface (surface.h), which holds the pen; a view shows it.

#include <cstdint>
#include <span>

#include "platform/colour.h"
#include "platform/history.h"
#include "platform/picture.h"

namespace kalidor {

// A pixel of the picture: its column and row.
struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// How far a fill reaches beyond the pressed colour: colours whose every
// channel lies within `tolerance` of it join the region; with `softEdges`, the
// pixels around the region that blend its colour with another (a smooth
// line's soft edge) are painted again as the same blend over the new colour.
struct FillReach {
    int tolerance = 0;
    bool softEdges = false;
    bool plain() const { return tolerance == 0 && !softEdges; }
};

// The tolerance of Fill's levels: exact, low, medium and high.
constexpr int kFillTolerances[4] = {0, 12, 32, 64};

class Document : public History {
public:
    // The picture's size in pixels: what Save writes and a view shows.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Gives the picture that size. What a larger size showed is kept beyond
    // the edges and shows again when it grows back, as the picture that
    // follows the window needs.
    virtual void SetSize(int width, int height) = 0;
    // Gives the picture a size of its own, as a change of the open step (undo
    // gives the old size back): what fits stays at the top-left, the area it
    // gains takes the background colour unless `clearNew` is false (a picture
    // about to replace every pixel). The picture keeps its own size, whatever
    // its view does, until `FollowWindow`.
    virtual void Resize(int width, int height, bool clearNew = true) = 0;
    // Whether the picture has a size of its own; without, the window sizes it
    // (SetSize).
    virtual bool OwnSize() const = 0;
    virtual void FollowWindow() = 0;
    // The whole kept picture: the size, and beyond it what a larger size
    // showed; just the size where the picture has its own.
    virtual int KeptWidth() const = 0;
    virtual int KeptHeight() const = 0;

    // The colour of the pixel at (x, y), or -1 outside the picture.
    virtual std::int32_t Point(float x, float y) const = 0;
    // The picture at its size.
    virtual Picture Image() const = 0;
    // The picture at its size, grown to take in anything drawn beyond its
    // edges where a larger size since `ForgetShown` showed it: what must not
    // be lost. A picture of its own size is just that size.
    virtual Picture WholeImage() const = 0;
    // Only the size now counts as shown.
    virtual void ForgetShown() = 0;
    // Replaces everything with the background colour and the picture at the
    // top-left corner; the empty picture leaves only the background.
    virtual void SetPicture(const Picture& picture) = 0;
    // Fills the region of each seed in turn: the pixels of the seed's colour
    // joined to it up, down, left and right through pixels of that colour, all
    // through the kept picture, take colour `c`. As `c` is not the colour
    // filled, later seeds see the regions of the picture as it was before the
    // call: a seed in a region already filled, or already of colour `c`, or
    // outside the picture, changes nothing.
    // With a reach that is not plain, the regions reach as it says (FillReach).
    virtual void Fill(std::span<const PixelPoint> seeds, Colour c, FillReach reach = {}) = 0;
};

}  // namespace kalidor
