#pragma once
// Run-length encoded bitmaps (4 and 8 bits a pixel), walked run by run as Qt's
// reader walks them: rows from the bottom up, a run that overruns its row
// carrying on into the next row in memory (the one above it in the file's
// order, below it on the screen), a jump clamped to the picture. The part of a
// large one that is shown is kept from the runs as they are read, in the
// memory of that part, however large the picture.

#include <optional>

#include <QImage>
#include <QSize>

class QIODevice;

namespace kalidor {

// Whether the bitmap is run-length encoded, with a header that says where its
// colours and runs are.
bool bitmapRunLength(QIODevice& file);

// Whether its runs come to their end: the end marker, or the last row ended,
// before the file does. Reads the device from its start.
bool runLengthComplete(QIODevice& file);

// The top-left `keep` pixels (fewer where it is smaller), as an indexed
// picture with the bitmap's colours; pixels no run reaches are the first
// colour. Nothing where the runs are cut off or the colours do not fit.
std::optional<QImage> readRunLengthTopLeft(QIODevice& file, QSize keep);

}  // namespace kalidor
