#pragma once
// Small pictures in every format Open reads, as a file holds them: the seed
// corpus of the picture loader's fuzzer, and a check that the loader reads them.

#include <functional>
#include <string>
#include <vector>

#include <QByteArray>
#include <QSize>

namespace kalidor::test {

struct SamplePicture {
    std::string name;  // with the format's extension
    QByteArray bytes;
    QSize size;
};

// Bitmaps (24-bit, 16-bit, 8-bit and 1-bit, and run-length encoded), an icon,
// JPEGs (baseline, progressive, and one marked as taken on its side), PNGs
// (true colour, palette, interlaced) and GIFs (plain and interlaced); some
// wider than the fuzzer's canvas.
std::vector<SamplePicture> samplePictures();

// Qt writes no 16-bit bitmap: one whose pixel (x, y) holds value(x, y), with
// plain 5-5-5 rows when `masks` is empty, else with bit-field masks (red, green,
// blue and perhaps alpha) after a 40-byte header or inside a 124-byte one, and
// with its rows from the top down when `topDown`.
QByteArray bitmap16(int w, int h, const std::function<quint16(int, int)>& value, const std::vector<quint32>& masks = {},
                    int headerSize = 40, bool topDown = false);

// The JPEG with an EXIF segment giving its orientation (6: turn it a quarter
// clockwise to show it upright).
QByteArray withOrientation(const QByteArray& jpeg, int orientation);

}  // namespace kalidor::test
