#pragma once
// Whether a picture file holds all the data its own structure promises. The
// bitmap, JPEG and GIF decoders hand back whatever part of a cut-off file they
// could read, filling the rest, so a truncated file is caught here before
// decoding.

#include <QByteArray>

class QIODevice;

namespace kalidor {

// `format` as QImageReader names it ("bmp", "jpeg", ...). Formats whose
// decoders refuse incomplete data themselves are taken as complete. Reads the
// device from its start.
bool isComplete(QIODevice& file, const QByteArray& format);

}  // namespace kalidor
