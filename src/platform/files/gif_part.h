#pragma once
// The top-left part of a GIF's first image, decoded from its data as it is
// read, keeping only that part: the memory of the part, however large the
// picture. Pixels land where Qt's reader puts them (frame offset, interlaced
// passes, rows repeated while a pass is under way, the screen's backdrop),
// so that a picture that fits is the same pixel for pixel either way.

#include <optional>

#include <QImage>
#include <QSize>

class QIODevice;

namespace kalidor {

// The first `keep` pixels of the picture's screen (fewer where it is
// smaller), as 32-bit RGB, or ARGB where a colour is transparent; nothing for
// a file that is not a GIF, or whose data is cut off or holds a code the
// table cannot hold. Reads the device from its start.
std::optional<QImage> readGifTopLeft(QIODevice& file, QSize keep);

}  // namespace kalidor
