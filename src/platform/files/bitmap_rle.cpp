#include "platform/files/bitmap_rle.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <QIODevice>

#include "platform/files/little_endian.h"

namespace kalidor {

namespace {

struct Layout {
    std::int64_t start = 0;  // where the runs begin
    int width = 0;
    int height = 0;   // rows, whichever way they run
    bool topDown = false;
    int bits = 0;     // 4 or 8
    QList<QRgb> colours;
};

// The header and colours as the reader takes them: runs begin where the file
// says, or after the colours where it points before them.
std::optional<Layout> readLayout(QIODevice& file)
{
    if (!file.seek(0))
        return std::nullopt;
    const QByteArray h = file.read(54);
    if (h.size() < 54 || !h.startsWith("BM"))
        return std::nullopt;
    const std::uint32_t headerSize = littleEndian(h, 14, 4);
    const std::uint32_t compression = littleEndian(h, 30, 4);
    const auto bits = static_cast<int>(littleEndian(h, 28, 2));
    if ((headerSize != 40 && headerSize != 108 && headerSize != 124) ||
        !((compression == 1 && bits == 8) || (compression == 2 && bits == 4)))
        return std::nullopt;
    const auto width = static_cast<std::int32_t>(littleEndian(h, 18, 4));
    const auto height = static_cast<std::int32_t>(littleEndian(h, 22, 4));
    const std::uint32_t used = littleEndian(h, 46, 4);
    const std::uint32_t entries = used != 0 ? used : 1U << bits;
    if (width <= 0 || height == 0 || height == INT32_MIN || entries > 256)
        return std::nullopt;
    Layout l;
    l.width = width;
    l.height = std::abs(height);
    l.topDown = height < 0;
    l.bits = bits;
    if (!file.seek(14 + headerSize))
        return std::nullopt;
    const QByteArray table = file.read(4LL * entries);
    if (table.size() != 4LL * static_cast<qint64>(entries))
        return std::nullopt;
    for (std::uint32_t i = 0; i < entries; ++i)
        l.colours.append(qRgb(static_cast<std::uint8_t>(table[4 * i + 2]), static_cast<std::uint8_t>(table[4 * i + 1]),
                              static_cast<std::uint8_t>(table[4 * i])));
    l.start = std::max<std::int64_t>(littleEndian(h, 10, 4), 14 + headerSize + 4LL * entries);
    return l;
}

// The file's bytes, read a block at a time into one buffer.
class Bytes {
public:
    explicit Bytes(QIODevice& file) : file_(file), block_(64 * 1024) {}
    bool next(std::uint8_t& b)
    {
        if (at_ == size_) {
            size_ = std::max<qint64>(file_.read(block_.data(), static_cast<qint64>(block_.size())), 0);
            at_ = 0;
            if (size_ == 0)
                return false;
        }
        b = static_cast<std::uint8_t>(block_[static_cast<std::size_t>(at_++)]);
        return true;
    }

private:
    QIODevice& file_;
    std::vector<char> block_;
    qint64 size_ = 0;
    qint64 at_ = 0;
};

enum class End { Marker, Rows, FileEnd, ShortRun };

// Where the runs go: the reader's picture as one block of rows of `stride`
// bytes, the file's first row last. Receives each run's values by its place
// in that block.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void put(std::int64_t at, const std::uint8_t* values, int count) = 0;
};

// Where the next value goes: its place in the block of rows, and the column
// and row the reader counts beside it (which a run that overruns its row
// leaves behind).
struct Position {
    std::int64_t at = 0;
    std::int64_t x = 0;
    std::int64_t y = 0;
};

using Values = std::array<std::uint8_t, 256>;

// `n` values as they are, two to a byte at 4 bits, padded to whole 16-bit words.
std::optional<End> readLiteral(Bytes& in, int bits, int n, Values& values)
{
    const int bytes = bits == 8 ? n : (n + 1) / 2;
    std::uint8_t c = 0;
    for (int i = 0; i < bytes; ++i) {
        if (!in.next(c))
            return bits == 8 ? End::ShortRun : End::FileEnd;
        if (bits == 8) {
            values[static_cast<std::size_t>(i)] = c;
        } else {
            values[static_cast<std::size_t>(2 * i)] = c >> 4;
            values[static_cast<std::size_t>(2 * i + 1)] = c & 15;
        }
    }
    if (bytes % 2 == 1 && !in.next(c))
        return End::FileEnd;
    return std::nullopt;
}

// What follows a zero byte: the row's end, a jump clamped to the picture, the
// end marker, or literal values. Nothing while the runs go on.
std::optional<End> escape(Bytes& in, const Layout& l, std::int64_t stride, std::int64_t end, Position& p,
                          Sink& sink, Values& values)
{
    std::uint8_t b = 0;
    if (!in.next(b))
        return End::FileEnd;
    if (b == 1)
        return End::Marker;
    if (b == 0) {
        p.x = 0;
        ++p.y;
        p.at = (l.height - p.y - 1) * stride;
    } else if (b == 2) {
        std::uint8_t dx = 0, dy = 0;
        if (!in.next(dx) || !in.next(dy))
            return End::FileEnd;
        p.x = std::min<std::int64_t>(p.x + dx, l.width - 1);
        p.y = std::min<std::int64_t>(p.y + dy, l.height - 1);
        p.at = (l.height - p.y - 1) * stride + p.x;
    } else {
        const int n = static_cast<int>(std::min<std::int64_t>(b, end - p.at));
        if (const std::optional<End> failed = readLiteral(in, l.bits, n, values))
            return failed;
        sink.put(p.at, values.data(), n);
        p.at += n;
        p.x += n;
    }
    return std::nullopt;
}

// Walks the runs from the layout's start to their end, as the reader does,
// handing the sink the values of each. Every run is cut short at the end of
// the file's first row, the last in the block.
End walk(QIODevice& file, const Layout& l, Sink& sink)
{
    if (!file.seek(l.start))
        return End::FileEnd;
    Bytes in(file);
    const std::int64_t stride = (static_cast<std::int64_t>(l.width) + 3) / 4 * 4;
    const std::int64_t end = (l.height - 1) * stride + l.width;
    Position p{(l.height - 1) * stride, 0, 0};
    Values values{};
    std::uint8_t b = 0, c = 0;
    while (p.y < l.height) {
        if (!in.next(b))
            return End::FileEnd;
        if (b == 0) {
            if (const std::optional<End> ended = escape(in, l, stride, end, p, sink, values))
                return *ended;
            continue;
        }
        // A run of one value, or of a byte's two halves in turn.
        const int n = static_cast<int>(std::min<std::int64_t>(b, end - p.at));
        if (!in.next(c))
            return End::FileEnd;
        for (int i = 0; i < n; ++i)
            values[static_cast<std::size_t>(i)] = l.bits == 8 ? c : i % 2 == 0 ? c >> 4 : c & 15;
        sink.put(p.at, values.data(), n);
        p.at += n;
        p.x += n;
    }
    return End::Rows;
}

class NoSink : public Sink {
public:
    void put(std::int64_t, const std::uint8_t*, int) override {}
};

// Keeps the values that land in the top-left part of the picture as shown.
class KeptPart : public Sink {
public:
    KeptPart(const Layout& l, QImage& image)
        : image_(image), stride_((static_cast<std::int64_t>(l.width) + 3) / 4 * 4), height_(l.height),
          topDown_(l.topDown)
    {
    }

    void put(std::int64_t at, const std::uint8_t* values, int count) override
    {
        while (count > 0) {
            const std::int64_t row = at / stride_;
            const auto column = static_cast<int>(at % stride_);
            const int n = static_cast<int>(std::min<std::int64_t>(count, stride_ - column));
            // The reader stores rows bottom up, and turns a top-down picture over at the end.
            const std::int64_t shownRow = topDown_ ? height_ - 1 - row : row;
            if (shownRow < image_.height() && column < image_.width())
                std::copy(values, values + std::min(n, image_.width() - column), image_.scanLine(static_cast<int>(shownRow)) + column);
            at += n;
            values += n;
            count -= n;
        }
    }

private:
    QImage& image_;
    std::int64_t stride_;
    std::int64_t height_;
    bool topDown_;
};

}  // namespace

bool bitmapRunLength(QIODevice& file) { return readLayout(file).has_value(); }

bool runLengthComplete(QIODevice& file)
{
    const std::optional<Layout> l = readLayout(file);
    NoSink none;
    if (!l)
        return true;  // left to the decoder
    const End end = walk(file, *l, none);
    return end == End::Marker || end == End::Rows;
}

std::optional<QImage> readRunLengthTopLeft(QIODevice& file, QSize keep)
{
    const std::optional<Layout> l = readLayout(file);
    if (!l)
        return std::nullopt;
    QImage image(keep.boundedTo(QSize(l->width, l->height)), QImage::Format_Indexed8);
    if (image.isNull())
        return std::nullopt;
    image.setColorTable(l->colours);
    image.fill(0);
    KeptPart kept(*l, image);
    const End end = walk(file, *l, kept);
    if (end != End::Marker && end != End::Rows)
        return std::nullopt;
    return image;
}

}  // namespace kalidor
