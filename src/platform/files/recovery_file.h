#pragma once
// The files of a recovery copy: a whole picture, or the tiles a few steps
// changed since, each file checked whole before anything is read from it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QByteArray>

namespace kalidor {

// A change is kept in tiles of this many pixels a side, the picture's edge
// cutting the last ones short.
constexpr int kRecoveryTile = 64;
// The largest picture kept: a screen far beyond 8K.
constexpr long long kMaxRecoveryPixels = 128LL * 1024 * 1024;

// A picture as rows of 32-bit pixels, top to bottom.
struct RecoveryPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    bool ownSize = false;  // the picture had a size of its own, not the window's
};

struct RecoveryRecord {
    enum class Kind : std::uint32_t { Whole = 1, Tiles = 2 };
    Kind kind = Kind::Whole;
    // Tiles: its place in the chain of changes. Whole: the last one it holds.
    std::uint64_t sequence = 0;
    std::int64_t savedAtMs = 0;  // when the picture it gives was drawn
    int width = 0;
    int height = 0;
    // Tiles: their numbers, row by row of tiles, rising.
    std::vector<std::uint32_t> tiles;
    // Whole: width x height. Tiles: each tile's pixels in turn, row by row.
    std::vector<std::uint32_t> pixels;
    bool ownSize = false;
};

// The tiles across and down a picture of that size.
int tilesAcross(int width);
int tilesDown(int height);
// Where tile `tile` of a picture `width` x `height` lies, and its size.
struct TilePlace {
    int x, y, w, h;
};
TilePlace tilePlace(int width, int height, std::uint32_t tile);
// Pixels in tile `tile` of a picture `width` x `height`.
long long tileArea(int width, int height, std::uint32_t tile);

// The file's bytes, with their checksum.
QByteArray encodeRecovery(const RecoveryRecord& record);
// The record, or nothing for bytes cut off, damaged, or not a record at all.
std::optional<RecoveryRecord> decodeRecovery(const QByteArray& bytes);

// Writes the tiles of `record` into `picture`, which has its size.
void applyTiles(const RecoveryRecord& record, RecoveryPicture& picture);

// Writes `bytes` to a new file beside `path`, puts it on the disk, and only
// then renames it to `path`: a kill or a power cut at any moment leaves either
// the old file or the new one, whole. Why it failed, or nothing.
std::optional<std::string> writeAtomically(const std::string& path, const QByteArray& bytes);

}  // namespace kalidor
