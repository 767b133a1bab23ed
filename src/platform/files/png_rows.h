#pragma once
// A PNG read row by row through libpng, keeping only the top-left part of the
// picture: it takes the memory of that part and of one row, however large the
// picture. Interlaced rows come in seven passes, each over the whole picture:
// every pass is read, and each kept row gathers its pixels pass by pass. Every
// row is still decoded, to the end chunk, so that a file cut off or damaged
// past the part kept is refused as it is when read whole. The part comes in
// the format, colours and values Qt's reader gives the whole picture.

#include <optional>

#include <QImage>
#include <QSize>

class QIODevice;

namespace kalidor {

// The picture's top-left `keep` pixels (fewer where it is smaller); nothing for
// a file that is not a whole, valid PNG. Reads the device from its start.
std::optional<QImage> readPngTopLeft(QIODevice& file, QSize keep, int maxSide);

}  // namespace kalidor
