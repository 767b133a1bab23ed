#pragma once
// The LZW code table of a GIF image's data, as Qt's reader builds it: codes
// widen as the table fills, up to 12 bits, and a full table stays as it is
// until a clear code. Each code gives a string of pixel values, whose length
// is known before it is spelled out, so that strings nobody sees cost nothing.

#include <array>
#include <cstdint>

namespace kalidor {

// The data's bits, least significant first, as codes of the width asked for.
class GifBits {
public:
    void push(std::uint8_t byte);
    bool next(int width, int& code);

private:
    std::uint32_t bits_ = 0;
    int count_ = 0;
};

class GifCodeTable {
public:
    enum class Kind { String, Clear, End, Invalid };
    struct Taken {
        Kind kind;
        int length;  // of the string
    };

    explicit GifCodeTable(int minCodeSize);
    int codeWidth() const { return width_; }
    // One code. A code the table cannot hold yet (past the next entry, or
    // anything but a single pixel right after a clear code) is invalid: the
    // reader would spell it from whatever the table held before.
    Taken take(int code);
    // The last string taken, into `out` (room for its length). Pixel values
    // wider than a byte keep their low byte, as the reader's do.
    void spell(std::uint8_t* out) const;

private:
    static constexpr int kEntries = 4096;
    void reset();

    int clear_;
    int width_ = 0;
    int next_ = 0;     // the entry the next code adds
    int widen_ = 0;    // the entry at which codes widen
    bool fresh_ = true;  // right after a clear code
    int previous_ = 0;
    int last_ = 0;       // the last string: this code's, and
    bool lastRepeats_ = false;  // then its own first pixel again
    std::array<std::uint16_t, kEntries> prefix_{};
    std::array<std::uint16_t, kEntries> suffix_{};
    std::array<std::uint16_t, kEntries> first_{};
    std::array<std::uint16_t, kEntries> length_{};
};

}  // namespace kalidor
