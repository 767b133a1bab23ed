#pragma once
// A PNG read row by row through libpng, keeping only the top-left part of the
// picture: it takes the memory of that part and of one row, however large the
// picture. Every row is still decoded, to the end chunk, so that a file cut off
// or damaged past the part kept is refused as it is when read whole.

#include <optional>

#include <QImage>
#include <QSize>

class QIODevice;

namespace kalidor {

// Whether the PNG's rows are interlaced (its header's last byte): those come in
// seven passes, each over the whole picture, and are not read here.
bool pngInterlaced(QIODevice& file);

// The picture's top-left `keep` pixels (fewer where it is smaller), as 32-bit
// ARGB; nothing for a file that is not a whole, valid, non-interlaced PNG.
// Reads the device from its start.
std::optional<QImage> readPngTopLeft(QIODevice& file, QSize keep, int maxSide);

}  // namespace kalidor
