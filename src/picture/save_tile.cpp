#include "picture/save_tile.h"

#include <string>

#include "picture/save_picture.h"

namespace kalidor {

namespace {

// Along one side: the multiple of the tile nearest the middle that fits
// (0 always does).
int startAlong(int tile, int picture)
{
    const int centred = (picture - tile) / 2;
    const int below = centred / tile * tile;
    if (below + tile <= picture - tile && centred - below > below + tile - centred)
        return below + tile;
    return below;
}

std::string pixels(int width, int height) { return std::to_string(width) + " × " + std::to_string(height); }

}  // namespace

TileRect placeTile(TileSize tile, int pictureWidth, int pictureHeight)
{
    if (tile.width <= 0 || tile.height <= 0 || tile.width > pictureWidth || tile.height > pictureHeight)
        return {};
    return {startAlong(tile.width, pictureWidth), startAlong(tile.height, pictureHeight), tile.width, tile.height};
}

TileSize patternTile(const Editor& e)
{
    return tileSize(latticePeriod(wallpaperGroup(e.group), e.st.PatternX, e.st.PatternY, e.ui.cbChess.Value() != 0,
                                  e.mirror));
}

void refreshSaveTile(Editor& e) { e.ui.mnuFile.SetEnabled(kFileSaveTile, drawingMode(e.st) == kPattern); }

void mnuSaveTile_Click(Editor& e)
{
    if (drawingMode(e.st) != kPattern)
        return;
    const TileSize tile = patternTile(e);
    const Document& picture = *e.ui.picture;
    // Said before the dialog: no file is chosen for nothing.
    if (tile.width <= 0 || tile.height <= 0) {
        e.services->ShowMessage("The pattern's cells have no size: there is no tile to save.");
        return;
    }
    const TileRect place = placeTile(tile, picture.Width(), picture.Height());
    if (place.width == 0) {
        e.services->ShowMessage("The tile, " + pixels(tile.width, tile.height) + " pixels, is larger than the picture (" +
                                pixels(picture.Width(), picture.Height()) + "): nothing was saved.");
        return;
    }
    savePictureAs(e, picture.Image().part(place.x, place.y, place.width, place.height));
}

}  // namespace kalidor
