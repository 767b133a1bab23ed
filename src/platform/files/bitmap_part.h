#pragma once
// The top-left part of a large uncompressed bitmap as a bitmap file of its own:
// its headers and colours as they are, with its size made smaller, and of each
// row it keeps only the first bytes. Qt's reader then decodes just that part,
// where it would allocate the whole picture.

#include <optional>

#include <QByteArray>
#include <QSize>

class QIODevice;

namespace kalidor {

// Whether the bitmap's rows are plain (not run-length encoded), so that a
// part of them can be cut out.
bool bitmapRowsPlain(QIODevice& file);

// The bitmap file of the top-left `keep` pixels; nothing where the rows are not
// plain or the file is shorter than its headers say. Reads the device from its start.
std::optional<QByteArray> bitmapTopLeft(QIODevice& file, QSize keep);

}  // namespace kalidor
