#pragma once
// A GIF file up to its first image, the one Open shows, as Qt's reader takes
// it: the logical screen that gives the picture its size, the image's place on
// it, its colours as the reader renders them, and where its compressed pixels
// begin.

#include <array>
#include <optional>

#include <QRect>
#include <QRgb>

class QIODevice;

namespace kalidor {

struct GifFrame {
    int screenWidth = 0;  // the picture's size; where the header gives 0, the image's far edge
    int screenHeight = 0;
    QRect image;          // may reach beyond the screen
    bool interlaced = false;
    bool transparent = false;  // a colour is transparent: the picture has alpha
    // What each pixel value shows: the image's colours, or the screen's where it
    // has none of its own; transparent white past the table's end; the
    // transparent colour with no alpha.
    std::array<QRgb, 256> colours{};
    // Where the image does not cover the screen: the transparent colour, or the
    // background's, or nothing (zero) when the screen has no colours.
    std::optional<QRgb> backdrop;
    int codeSize = 0;  // the LZW minimum code size
};

// Reads from the device's start to the first image's LZW code size, leaving
// the device at the first block of its data. Nothing for a file that is not a
// GIF with an image, or whose extensions are cut short.
std::optional<GifFrame> readGifFrame(QIODevice& file);

}  // namespace kalidor
