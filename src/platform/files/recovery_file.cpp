#include "platform/files/recovery_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFileInfo>

#include "platform/files/little_endian.h"

namespace kalidor {

namespace {

// magic, version, kind, sequence, time, width, height, tiles, 0, payload, raw size
constexpr char kMagic[8] = {'K', 'A', 'L', 'I', 'D', 'O', 'R', 'C'};
constexpr std::uint32_t kVersion = 1;
constexpr qsizetype kHeader = 64;
constexpr qsizetype kSum = 32;  // SHA-256

// The header's numbers are little-endian on every machine (those written
// before on a little-endian machine read the same).
template <class T>
void put(QByteArray& b, qsizetype at, T v)
{
    putLittleEndian(b, at, static_cast<std::uint64_t>(v), sizeof v);
}

template <class T>
T get(const QByteArray& b, qsizetype at)
{
    return static_cast<T>(littleEndian64(b, at, sizeof(T)));
}

QByteArray checksum(const QByteArray& header, const char* payload, qsizetype size)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(header);
    hash.addData(QByteArrayView(payload, size));
    return hash.result();
}

bool plausibleSize(long long width, long long height)
{
    return width > 0 && height > 0 && width <= 32767 && height <= 32767 && width * height <= kMaxRecoveryPixels;
}

// The tiles' numbers and pixels, checked against the picture's size.
bool readTiles(const QByteArray& raw, std::uint32_t count, RecoveryRecord& r)
{
    const std::uint32_t all = static_cast<std::uint32_t>(tilesAcross(r.width) * tilesDown(r.height));
    if (count == 0 || count > all || raw.size() < static_cast<qsizetype>(count) * 4)
        return false;  // a change of no tiles is never written
    r.tiles.resize(count);
    std::memcpy(r.tiles.data(), raw.constData(), count * 4);
    long long pixels = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (r.tiles[i] >= all || (i > 0 && r.tiles[i] <= r.tiles[i - 1]))
            return false;
        pixels += tileArea(r.width, r.height, r.tiles[i]);
    }
    if (raw.size() != static_cast<qsizetype>(count) * 4 + pixels * 4)
        return false;
    r.pixels.resize(static_cast<std::size_t>(pixels));
    std::memcpy(r.pixels.data(), raw.constData() + count * 4, static_cast<std::size_t>(pixels) * 4);
    return true;
}

std::string systemError(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace

int tilesAcross(int width) { return (width + kRecoveryTile - 1) / kRecoveryTile; }
int tilesDown(int height) { return (height + kRecoveryTile - 1) / kRecoveryTile; }

TilePlace tilePlace(int width, int height, std::uint32_t tile)
{
    const auto across = static_cast<std::uint32_t>(tilesAcross(width));
    const int x = static_cast<int>(tile % across) * kRecoveryTile;
    const int y = static_cast<int>(tile / across) * kRecoveryTile;
    return TilePlace{x, y, std::min(kRecoveryTile, width - x), std::min(kRecoveryTile, height - y)};
}

long long tileArea(int width, int height, std::uint32_t tile)
{
    const TilePlace t = tilePlace(width, height, tile);
    return static_cast<long long>(t.w) * t.h;
}

QByteArray encodeRecovery(const RecoveryRecord& r)
{
    // A whole picture is packed straight from its pixels, tiles after their numbers.
    QByteArray raw;
    if (!r.tiles.empty()) {
        raw.resize(static_cast<qsizetype>((r.tiles.size() + r.pixels.size()) * 4));
        std::memcpy(raw.data(), r.tiles.data(), r.tiles.size() * 4);
        std::memcpy(raw.data() + r.tiles.size() * 4, r.pixels.data(), r.pixels.size() * 4);
    }
    const auto* data = r.tiles.empty() ? reinterpret_cast<const uchar*>(r.pixels.data())
                                       : reinterpret_cast<const uchar*>(raw.constData());
    const auto rawSize = static_cast<qsizetype>((r.tiles.size() + r.pixels.size()) * 4);
    // Fastest: a drawing is mostly flat colour, which any level packs tightly.
    const QByteArray payload = qCompress(data, rawSize, 1);

    QByteArray header(kHeader, '\0');
    std::memcpy(header.data(), kMagic, sizeof kMagic);
    put<std::uint32_t>(header, 8, kVersion);
    put<std::uint32_t>(header, 12, static_cast<std::uint32_t>(r.kind));
    put<std::uint64_t>(header, 16, r.sequence);
    put<std::int64_t>(header, 24, r.savedAtMs);
    put<std::uint32_t>(header, 32, static_cast<std::uint32_t>(r.width));
    put<std::uint32_t>(header, 36, static_cast<std::uint32_t>(r.height));
    put<std::uint32_t>(header, 40, static_cast<std::uint32_t>(r.tiles.size()));
    put<std::uint32_t>(header, 44, r.ownSize ? 1 : 0);  // 0 in copies from before sizes of their own
    put<std::uint64_t>(header, 48, static_cast<std::uint64_t>(payload.size()));
    put<std::uint64_t>(header, 56, static_cast<std::uint64_t>(rawSize));
    return header + checksum(header, payload.constData(), payload.size()) + payload;
}

namespace {

// The payload unpacked, where it unpacks to exactly `rawSize` bytes.
std::optional<QByteArray> unpack(const char* payload, std::uint64_t payloadSize, std::uint64_t rawSize)
{
    // qCompress leads with the size it packed, big-endian: it must be the one
    // the header gives, so that nothing larger is ever allocated.
    if (payloadSize < 4)
        return std::nullopt;
    const auto packed = static_cast<std::uint64_t>(static_cast<std::uint8_t>(payload[0])) << 24 |
                        static_cast<std::uint64_t>(static_cast<std::uint8_t>(payload[1])) << 16 |
                        static_cast<std::uint64_t>(static_cast<std::uint8_t>(payload[2])) << 8 |
                        static_cast<std::uint8_t>(payload[3]);
    if (packed != rawSize)
        return std::nullopt;
    QByteArray raw = qUncompress(reinterpret_cast<const uchar*>(payload), static_cast<qsizetype>(payloadSize));
    if (static_cast<std::uint64_t>(raw.size()) != rawSize)
        return std::nullopt;
    return raw;
}

}  // namespace

std::optional<RecoveryRecord> decodeRecovery(const QByteArray& bytes)
{
    if (bytes.size() < kHeader + kSum || std::memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0 ||
        get<std::uint32_t>(bytes, 8) != kVersion)
        return std::nullopt;
    const auto payloadSize = get<std::uint64_t>(bytes, 48);
    // A file cut off, or grown, is refused before its sum is even computed.
    if (payloadSize != static_cast<std::uint64_t>(bytes.size() - kHeader - kSum))
        return std::nullopt;
    const char* payload = bytes.constData() + kHeader + kSum;
    if (checksum(bytes.left(kHeader), payload, bytes.size() - kHeader - kSum) != bytes.mid(kHeader, kSum))
        return std::nullopt;

    RecoveryRecord r;
    const auto kind = get<std::uint32_t>(bytes, 12);
    if (kind != static_cast<std::uint32_t>(RecoveryRecord::Kind::Whole) &&
        kind != static_cast<std::uint32_t>(RecoveryRecord::Kind::Tiles))
        return std::nullopt;
    r.kind = static_cast<RecoveryRecord::Kind>(kind);
    r.sequence = get<std::uint64_t>(bytes, 16);
    r.savedAtMs = get<std::int64_t>(bytes, 24);
    const auto width = get<std::uint32_t>(bytes, 32);
    const auto height = get<std::uint32_t>(bytes, 36);
    const auto tiles = get<std::uint32_t>(bytes, 40);
    const auto rawSize = get<std::uint64_t>(bytes, 56);
    if (!plausibleSize(width, height) || rawSize > 4 * static_cast<std::uint64_t>(kMaxRecoveryPixels + 65536))
        return std::nullopt;
    r.width = static_cast<int>(width);
    r.height = static_cast<int>(height);
    r.ownSize = get<std::uint32_t>(bytes, 44) == 1;
    const std::optional<QByteArray> unpacked = unpack(payload, payloadSize, rawSize);
    if (!unpacked)
        return std::nullopt;
    const QByteArray& raw = *unpacked;
    if (r.kind == RecoveryRecord::Kind::Whole) {
        if (tiles != 0 || rawSize != static_cast<std::uint64_t>(width) * height * 4)
            return std::nullopt;
        r.pixels.resize(static_cast<std::size_t>(width) * height);
        std::memcpy(r.pixels.data(), raw.constData(), static_cast<std::size_t>(rawSize));
        return r;
    }
    if (!readTiles(raw, tiles, r))
        return std::nullopt;
    return r;
}

void applyTiles(const RecoveryRecord& r, RecoveryPicture& picture)
{
    const std::uint32_t* from = r.pixels.data();
    for (const std::uint32_t tile : r.tiles) {
        const TilePlace t = tilePlace(r.width, r.height, tile);
        for (int row = 0; row < t.h; ++row, from += t.w)
            std::memcpy(&picture.pixels[static_cast<std::size_t>(t.y + row) * picture.width + t.x], from,
                        static_cast<std::size_t>(t.w) * 4);
    }
}

std::optional<std::string> writeAtomically(const std::string& path, const QByteArray& bytes)
{
    const std::string fresh = path + ".new";
    const int fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return systemError("cannot create the file");
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const std::string failure = systemError("cannot write the file");
            ::close(fd);
            ::unlink(fresh.c_str());
            return failure;
        }
        done += n;
    }
    // On the disk before the name points at it, or a power cut could leave the
    // name on an empty file.
    if (::fsync(fd) != 0) {
        const std::string failure = systemError("cannot write the file to the disk");
        ::close(fd);
        ::unlink(fresh.c_str());
        return failure;
    }
    ::close(fd);
    if (::rename(fresh.c_str(), path.c_str()) != 0) {
        const std::string failure = systemError("cannot rename the file");
        ::unlink(fresh.c_str());
        return failure;
    }
    // The rename itself on the disk, so that the files' order survives a power cut.
    const std::string folder = QFileInfo(QString::fromStdString(path)).absolutePath().toStdString();
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

}  // namespace kalidor
