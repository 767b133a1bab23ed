#pragma once
// Reading pictures from files and writing them as PNG or Windows bitmaps.

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "platform/picture.h"

namespace kalidor {

// The largest picture read whole, in pixels: 256 MB at four bytes a pixel.
constexpr long long kMaxPicturePixels = 64LL * 1024 * 1024;
// The largest side of a picture Open takes at all.
constexpr int kMaxPictureSide = 32768;

// Why a file gives no picture.
enum class OpenFailure {
    None,
    Unreadable,   // missing, a folder, no permission: `reason` says which
    NotAPicture,  // not a format Kalidor reads
    Damaged,      // cut off, or its data does not hold together
    TooLarge,     // `width` x `height` is beyond what can be read
};

struct LoadedPicture {
    std::optional<Picture> picture;
    OpenFailure failure = OpenFailure::None;
    std::string reason;
    // The picture's own size, where its header gave one.
    int width = 0;
    int height = 0;
};

// How much of a picture to read. Pictures up to kMaxPictureSide a side are
// taken; of a JPEG, PNG, GIF or bitmap only the top-left `shownWidth` x
// `shownHeight` pixels are kept while decoding, so that only the part read
// counts against `maxPixels`. Icons, and bitmaps of rare kinds, are read whole.
struct LoadLimits {
    int shownWidth = kMaxPictureSide;
    int shownHeight = kMaxPictureSide;
    long long maxPixels = kMaxPicturePixels;
};

// Reads a bitmap, icon, GIF, JPEG or PNG file, whatever its name's extension,
// or says why not: a file that is missing, unreadable, incomplete, not a
// picture, or too large. A picture too large is refused from its header,
// before its pixels are allocated.
LoadedPicture ReadPicture(const std::string& fileName, LoadLimits limits);
// The same for a file's bytes already in memory, with the same checks.
LoadedPicture ReadPicture(std::span<const std::byte> bytes, LoadLimits limits);

// A picture already decoded (the clipboard's), held to the same limits and
// cut to the same part.
LoadedPicture TakePicture(const Picture& picture, LoadLimits limits);

// The picture whole, up to kMaxPicturePixels: nothing where ReadPicture fails.
std::optional<Picture> LoadPicture(const std::string& fileName);

// The same for bytes in memory. A lower `maxPixels` keeps every picture small,
// for the fuzzer (a multiple of 256 K).
std::optional<Picture> LoadPicture(std::span<const std::byte> bytes, long long maxPixels = kMaxPicturePixels);

enum class PictureFormat { Bitmap, Png };

// Writes the picture under exactly that name in that format, whatever the
// name's extension. The file is replaced only once the whole picture is
// written: a failure leaves an existing file as it was. Returns why it
// failed, or nothing.
std::optional<std::string> SavePicture(const Picture& picture, const std::string& fileName, PictureFormat format);

}  // namespace kalidor
