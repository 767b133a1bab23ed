#pragma once
// Small pictures in every format Open reads, as a file holds them: the seed
// corpus of the picture loader's fuzzer, and a check that the loader reads them.

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

// Bitmaps (24-bit, 8-bit and 1-bit), an icon, JPEGs (baseline and progressive),
// PNGs (true colour and palette) and GIFs (plain and interlaced).
std::vector<SamplePicture> samplePictures();

}  // namespace kalidor::test
