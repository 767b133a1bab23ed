#pragma once
// Reading pictures from files and writing them as PNG or Windows bitmaps.

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "platform/picture.h"

namespace kalidor {

// The largest picture read, in pixels: 256 MB at four bytes a pixel.
constexpr long long kMaxPicturePixels = 64LL * 1024 * 1024;

// Reads a bitmap, icon, GIF, JPEG or PNG file, whatever its name's extension.
// Nothing for a file that is missing, unreadable, incomplete, not a picture,
// or larger than kMaxPicturePixels; a larger one is refused from its header,
// before its pixels are allocated.
std::optional<Picture> LoadPicture(const std::string& fileName);

// The same for a file's bytes already in memory, with the same checks. A lower
// `maxPixels` keeps every picture small, for the fuzzer (a multiple of 256 K).
std::optional<Picture> LoadPicture(std::span<const std::byte> bytes, long long maxPixels = kMaxPicturePixels);

// Writes the picture under exactly that name: as PNG when the name ends in
// ".png", in any case, and as a Windows bitmap otherwise, whatever its
// extension. The file is replaced only once the whole picture is written: a
// failure leaves an existing file as it was. Returns why it failed, or nothing.
std::optional<std::string> SavePicture(const Picture& picture, const std::string& fileName);

}  // namespace kalidor
