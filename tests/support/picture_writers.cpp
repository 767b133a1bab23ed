#include "support/picture_writers.h"

#include <algorithm>
#include <csetjmp>
#include <utility>

#include <png.h>

namespace kalidor::test {

namespace {

void put16(QByteArray& b, int v) { b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); }
void put32(QByteArray& b, quint32 v)
{
    put16(b, int(v & 0xFFFF));
    put16(b, int(v >> 16));
}

int tableBits(std::size_t entries)
{
    int bits = 1;
    while ((std::size_t(2) << (bits - 1)) < entries)
        ++bits;
    return bits;
}

void putTable(QByteArray& b, const std::vector<QRgb>& colours)
{
    for (QRgb c : colours)
        b.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
}

// Codes of growing width, least significant bit first, widened as the
// decoder widens them: once the entry it adds reaches the next power of two.
class CodeWriter {
public:
    explicit CodeWriter(int codeSize) : clear_(1 << codeSize) { restart(); }
    void restart()
    {
        width_ = 0;
        while ((1 << width_) <= clear_)
            ++width_;
        decoderNext_ = clear_ + 2;
        fresh_ = true;
    }
    void put(int code)
    {
        bits_ |= quint32(code) << count_;
        for (count_ += width_; count_ >= 8; count_ -= 8, bits_ >>= 8)
            data.append(char(bits_ & 0xFF));
        if (code == clear_) {
            restart();
            return;
        }
        if (!fresh_ && decoderNext_ < 4096 && ++decoderNext_ >= (1 << width_) && width_ < 12)
            ++width_;
        fresh_ = false;
    }
    void flush()
    {
        if (count_ > 0)
            data.append(char(bits_ & 0xFF));
    }
    QByteArray data;

private:
    int clear_;
    int width_ = 0;
    int decoderNext_ = 0;
    bool fresh_ = true;
    quint32 bits_ = 0;
    int count_ = 0;
};

// Greedy LZW: the longest string in the table, then a new entry for it and the
// next value; a clear code once the table is full, and every `clearEvery`
// codes where asked. The table is an array of children per code, so that a
// picture of a hundred million pixels is written in a second.
QByteArray lzw(const GifRecipe& recipe)
{
    const int clear = 1 << recipe.codeSize;
    CodeWriter out(recipe.codeSize);
    std::vector<std::uint16_t> child(std::size_t(4096) * std::size_t(clear), 0);
    int next = clear + 2, written = 0, current = -1;
    auto restart = [&] {
        out.put(clear);
        std::fill(child.begin(), child.end(), 0);
        next = clear + 2;
        written = 0;
    };
    restart();
    for (std::uint8_t v : recipe.values) {
        if (current < 0) {
            current = v;
            continue;
        }
        std::uint16_t& known = child[std::size_t(current) * std::size_t(clear) + v];
        if (known != 0) {
            current = known;
            continue;
        }
        out.put(current);
        ++written;
        if (next < 4096)
            known = std::uint16_t(next++);
        current = v;
        if (next == 4096 || (recipe.clearEvery > 0 && written % recipe.clearEvery == 0)) {
            out.put(current);  // the string begun, so that no value is lost
            current = -1;
            restart();
        }
    }
    if (current >= 0)
        out.put(current);
    if (recipe.endCode)
        out.put(clear + 1);
    out.flush();
    return out.data;
}

}  // namespace

QByteArray gifFile(const GifRecipe& recipe)
{
    QByteArray b("GIF89a");
    put16(b, recipe.screen.width());
    put16(b, recipe.screen.height());
    const bool screenTable = !recipe.screenColours.empty();
    const int screenBits = screenTable ? tableBits(recipe.screenColours.size()) : recipe.screenBits;
    b.append(char((screenTable ? 0x80 : 0) | (screenBits - 1))).append(char(recipe.background)).append('\0');
    putTable(b, recipe.screenColours);
    // A comment and a looping application extension go before the image, as
    // animations have them.
    b.append(QByteArray::fromHex("21fe0568656c6c6f00"));
    b.append(QByteArray::fromHex("21ff0b")).append("NETSCAPE2.0").append(QByteArray::fromHex("03010000" "00"));
    if (recipe.transparent >= 0)
        b.append(QByteArray::fromHex("21f904010000")).append(char(recipe.transparent)).append('\0');
    b.append(',');
    put16(b, recipe.image.x());
    put16(b, recipe.image.y());
    put16(b, recipe.image.width());
    put16(b, recipe.image.height());
    const bool imageTable = !recipe.imageColours.empty();
    b.append(char((imageTable ? 0x80 | (tableBits(recipe.imageColours.size()) - 1) : 0) | (recipe.interlaced ? 0x40 : 0)));
    putTable(b, recipe.imageColours);
    b.append(char(recipe.codeSize));
    const QByteArray data = lzw(recipe);
    for (qsizetype i = 0; i < data.size(); i += recipe.blockSize) {
        const QByteArray block = data.mid(i, recipe.blockSize);
        b.append(char(block.size())).append(block);
    }
    return b.append('\0').append(';');
}

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<QByteArray*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), qsizetype(length));
}

void noFlush(png_structp) {}

int channels(int colourType) { return colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1; }

// Samples packed into a row as the format stores them: below 8 bits several
// to a byte from the high bits down, 16 bits high byte first.
std::vector<png_byte> packedRow(const PngRecipe& recipe, int y)
{
    const int perPixel = channels(recipe.colourType);
    const std::size_t count = std::size_t(recipe.size.width()) * perPixel;
    std::vector<png_byte> row((count * recipe.depth + 7) / 8);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t v = recipe.samples[std::size_t(y) * count + i];
        if (recipe.depth == 16) {
            row[2 * i] = png_byte(v >> 8);
            row[2 * i + 1] = png_byte(v & 0xFF);
        } else if (recipe.depth == 8) {
            row[i] = png_byte(v);
        } else {
            const std::size_t bit = i * recipe.depth;
            row[bit / 8] |= png_byte(v << (8 - recipe.depth - bit % 8));
        }
    }
    return row;
}

bool writePng(png_structp png, png_infop info, const PngRecipe& recipe, QByteArray& out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &out, appendBytes, noFlush);
    png_set_IHDR(png, info, png_uint_32(recipe.size.width()), png_uint_32(recipe.size.height()), recipe.depth, recipe.colourType,
                 recipe.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    std::vector<png_byte> alphas;
    for (QRgb c : recipe.palette) {
        palette.push_back({png_byte(qRed(c)), png_byte(qGreen(c)), png_byte(qBlue(c))});
        alphas.push_back(png_byte(qAlpha(c)));
    }
    if (recipe.colourType == 3)
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
    png_color_16 colour{0, recipe.transparentGrey, recipe.transparentGrey, recipe.transparentGrey, recipe.transparentGrey};
    if (recipe.transparency && recipe.colourType == 3)
        png_set_tRNS(png, info, alphas.data(), int(alphas.size()), nullptr);
    else if (recipe.transparency)
        png_set_tRNS(png, info, nullptr, 0, &colour);
    // Indices past the palette's end are written as they are.
    png_set_check_for_invalid_index(png, 0);
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < recipe.size.height(); ++y) {
            std::vector<png_byte> row = packedRow(recipe, y);
            png_write_row(png, row.data());
        }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

QByteArray pngFile(const PngRecipe& recipe)
{
    QByteArray out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool written = info && writePng(png, info, recipe, out);
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return written ? out : QByteArray();
}

QByteArray runLengthBitmap(int width, int height, int bits, const std::vector<QRgb>& colours,
                           const std::vector<std::uint8_t>& runs)
{
    const int offset = 14 + 40 + 4 * int(colours.size());
    QByteArray b("BM");
    put32(b, quint32(offset + int(runs.size())));
    put32(b, 0);
    put32(b, quint32(offset));
    put32(b, 40);
    put32(b, quint32(width));
    put32(b, quint32(height));
    put16(b, 1);
    put16(b, bits);
    put32(b, bits == 8 ? 1 : 2);
    put32(b, quint32(runs.size()));
    for (quint32 v : {2835U, 2835U, quint32(colours.size()), 0U})
        put32(b, v);
    for (QRgb c : colours)
        b.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
    b.append(reinterpret_cast<const char*>(runs.data()), qsizetype(runs.size()));
    return b;
}

}  // namespace kalidor::test
