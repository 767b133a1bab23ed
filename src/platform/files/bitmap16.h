#pragma once
// 16-bit bitmaps at full range. Qt's reader widens a channel by shifting it, so
// a 5-bit 31 comes out as 248 and white as (248, 248, 248); here each channel
// v of a mask whose largest value is max becomes v × 255 / max, rounded.

#include <optional>

#include <QImage>

class QIODevice;

namespace kalidor {

// The pixels of the file on `device` decoded anew when it is a 16-bit bitmap with plain or
// bit-field rows, in the size and format of `decoded`, Qt's reading of the same
// file (which has already judged it whole and sound). Nothing for any other
// file, which `decoded` shows as it is.
std::optional<QImage> fullRangeBitmap16(QIODevice& device, const QImage& decoded);

}  // namespace kalidor
