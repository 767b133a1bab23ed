#pragma once
// What libjpeg holds while it decodes a JPEG. One scan of every component,
// as a camera writes, is decoded a few rows at a time, so that only the part
// shown costs memory. A progressive JPEG, or one whose components come in
// scans of their own, is gathered whole first, as coefficients: two bytes for
// each of every component's samples, whatever part is shown.

#include <optional>

class QIODevice;

namespace kalidor {

struct JpegFrame {
    int width = 0;
    int height = 0;
    bool gatheredWhole = false;     // progressive, or the first scan lacks components
    long long coefficientBytes = 0;  // what libjpeg allocates when gatheredWhole
};

// The frame and the first scan's header, found by the markers as libjpeg
// finds them; nothing where there is no frame before a scan. Reads the device
// from its start.
std::optional<JpegFrame> jpegFrame(QIODevice& file);

}  // namespace kalidor
