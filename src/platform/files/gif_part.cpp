#include "platform/files/gif_part.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include <QIODevice>

#include "platform/files/gif_frame.h"
#include "platform/files/gif_lzw.h"

namespace kalidor {

namespace {

// Where the next pixel goes, moved as the reader moves it. Once a row ends
// below the screen (or the image starts right of it) the row no longer
// changes and nothing more is drawn.
struct Cursor {
    int x = 0;
    int y = 0;
    int pass = 0;  // 0 plain rows; 1 to 4 the interlaced passes
    bool live = false;
};

// Rows the reader repeats below a row just finished, while a pass is under way.
struct Repeat {
    int row = 0;
    int rows = 0;
};

class Placement {
public:
    Placement(const GifFrame& frame, QSize keep);

    // Whether any of the next `count` pixels lands in the kept part.
    bool reachesKept(int count);
    // The next `count` pixels: drawn where kept, or, without pixels, passed over.
    void place(const std::uint8_t* pixels, int count);

    QImage image;

private:
    template <class AtRow>
    void advance(Cursor& c, int count, bool drawing, AtRow&& atRow);
    Repeat nextRow(Cursor& c) const;
    void repeat(Repeat r);

    const GifFrame& frame_;
    int left_, top_, rowEnd_, bottom_, right_;
    Cursor cursor_;
};

Placement::Placement(const GifFrame& frame, QSize keep) : frame_(frame)
{
    const QRect& im = frame.image;
    left_ = im.left();
    top_ = im.top();
    rowEnd_ = im.left() + im.width();
    bottom_ = std::max(0, std::min(im.top() + im.height(), frame.screenHeight) - 1);
    right_ = std::max(0, std::min(im.left() + im.width(), frame.screenWidth) - 1);
    const QSize kept = keep.boundedTo(QSize(frame.screenWidth, frame.screenHeight));
    image = QImage(kept, frame.transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return;
    const bool covers = im.left() == 0 && im.top() == 0 && im.width() >= frame.screenWidth &&
                        im.height() >= frame.screenHeight;
    image.fill(!covers && frame.backdrop ? *frame.backdrop : 0);
    cursor_ = Cursor{left_, top_, frame.interlaced ? 1 : 0, left_ < frame.screenWidth && top_ < frame.screenHeight};
}

// The reader's next row: one down, or the interlaced passes' eight, eight,
// four and two, each pass starting where the reader starts it (on a short
// image, not where the format says).
Repeat Placement::nextRow(Cursor& c) const
{
    Repeat r{c.y, 0};
    switch (c.pass) {
    case 0:
        ++c.y;
        break;
    case 1:
        r.rows = std::min(7, bottom_ - c.y);
        c.y += 8;
        if (c.y > bottom_) {
            c.pass = 2;
            c.y = top_ + 4;
            if (c.y > bottom_) {
                c.y = top_ + 2;
                if (c.y > bottom_) {
                    c.pass = 0;
                    c.y = top_ + 1;
                }
            }
        }
        break;
    case 2:
        r.rows = std::min(3, bottom_ - c.y);
        c.y += 8;
        if (c.y > bottom_) {
            c.pass = 3;
            c.y = top_ + 2;
            if (c.y > bottom_)
                c.y = top_ + 1;
        }
        break;
    case 3:
        r.rows = std::min(1, bottom_ - c.y);
        c.y += 4;
        if (c.y > bottom_) {
            c.pass = 4;
            c.y = top_ + 1;
        }
        break;
    default:
        c.y += 2;
        break;
    }
    return r;
}

// Moves `c` over `count` pixels, row piece by row piece, calling atRow(c, n)
// before each piece of n pixels, until it says to stop; a row's end moves it
// to the reader's next row, repeating the row where `drawing`.
template <class AtRow>
void Placement::advance(Cursor& c, int count, bool drawing, AtRow&& atRow)
{
    while (count > 0 && c.live) {
        // An image of no width still takes each pixel on a row of its own.
        const int n = std::max(1, std::min(count, rowEnd_ - c.x));
        if (!atRow(c, n))
            return;
        c.x += n;
        count -= n;
        if (c.x >= rowEnd_) {
            c.x = left_;
            const Repeat r = nextRow(c);
            if (drawing && !frame_.transparent)
                repeat(r);
            c.live = left_ < frame_.screenWidth && c.y < frame_.screenHeight;
        }
    }
}

bool Placement::reachesKept(int count)
{
    Cursor c = cursor_;
    bool reaches = false;
    advance(c, count, false, [&](const Cursor& at, int) {
        reaches = at.y < image.height() && at.x < image.width();
        return !reaches;
    });
    return reaches;
}

void Placement::place(const std::uint8_t* pixels, int count)
{
    advance(cursor_, count, true, [&](const Cursor& at, int n) {
        if (pixels && at.y < image.height() && at.x < image.width()) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(at.y));
            const int end = std::min(at.x + n, image.width());
            for (int x = at.x; x < end; ++x)
                row[x] = frame_.colours[pixels[x - at.x]];
        }
        if (pixels)
            pixels += n;
        return true;
    });
}

// The reader shows a row of an interlaced pass in the rows below it too, until
// later passes fill them; only where no colour is transparent.
void Placement::repeat(Repeat r)
{
    if (r.rows <= 0 || r.row >= image.height() || left_ >= image.width())
        return;
    const int width = std::min(right_, image.width() - 1) - left_ + 1;
    const auto* from = reinterpret_cast<const QRgb*>(image.constScanLine(r.row)) + left_;
    for (int y = r.row + 1; y <= r.row + r.rows && y < image.height(); ++y)
        std::copy(from, from + width, reinterpret_cast<QRgb*>(image.scanLine(y)) + left_);
}

// Decodes the image's data blocks into the placement, up to the end code or
// the empty block that ends them.
bool decodeData(QIODevice& file, GifCodeTable& table, Placement& placement)
{
    GifBits bits;
    std::array<std::uint8_t, 4097> spelled{};
    std::array<char, 255> block{};
    for (;;) {
        char length = 0;
        if (!file.getChar(&length))
            return false;
        const auto bytes = static_cast<std::uint8_t>(length);
        if (bytes == 0)
            return true;
        if (file.read(block.data(), bytes) != bytes)
            return false;
        for (std::size_t i = 0; i < bytes; ++i) {
            bits.push(static_cast<std::uint8_t>(block[i]));
            int code = 0;
            while (bits.next(table.codeWidth(), code)) {
                const GifCodeTable::Taken taken = table.take(code);
                if (taken.kind == GifCodeTable::Kind::Invalid)
                    return false;
                if (taken.kind == GifCodeTable::Kind::End)
                    return true;  // the reader ignores what follows
                if (taken.kind != GifCodeTable::Kind::String)
                    continue;
                if (placement.reachesKept(taken.length)) {
                    table.spell(spelled.data());
                    placement.place(spelled.data(), taken.length);
                } else {
                    placement.place(nullptr, taken.length);
                }
            }
        }
    }
}

}  // namespace

std::optional<QImage> readGifTopLeft(QIODevice& file, QSize keep)
{
    const std::optional<GifFrame> frame = readGifFrame(file);
    if (!frame || frame->screenWidth <= 0 || frame->screenHeight <= 0)
        return std::nullopt;
    Placement placement(*frame, keep);
    if (placement.image.isNull())
        return std::nullopt;
    GifCodeTable table(frame->codeSize);
    if (!decodeData(file, table, placement))
        return std::nullopt;
    return std::move(placement.image);
}

}  // namespace kalidor
