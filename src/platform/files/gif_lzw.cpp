#include "platform/files/gif_lzw.h"

namespace kalidor {

void GifBits::push(std::uint8_t byte)
{
    bits_ |= static_cast<std::uint32_t>(byte) << count_;
    count_ += 8;
}

bool GifBits::next(int width, int& code)
{
    if (count_ < width)
        return false;
    code = static_cast<int>(bits_ & ((1U << width) - 1));
    bits_ >>= width;
    count_ -= width;
    return true;
}

GifCodeTable::GifCodeTable(int minCodeSize) : clear_(1 << minCodeSize)
{
    for (int i = 0; i < clear_ && i < kEntries; ++i) {
        suffix_[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(i);
        first_[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(i);
        length_[static_cast<std::size_t>(i)] = 1;
    }
    reset();
}

void GifCodeTable::reset()
{
    width_ = 0;
    while ((1 << width_) <= clear_)
        ++width_;
    next_ = clear_ + 2;
    widen_ = 2 * clear_;
}

GifCodeTable::Taken GifCodeTable::take(int code)
{
    if (code == clear_) {
        if (!fresh_)
            reset();
        fresh_ = true;
        return {Kind::Clear, 0};
    }
    if (code == clear_ + 1)
        return {Kind::End, 0};
    // The table has entries up to 4095; a code size of 12 leaves no room at all.
    if (clear_ >= kEntries || (fresh_ ? code >= clear_ : code > next_ || code >= kEntries))
        return {Kind::Invalid, 0};
    if (fresh_) {
        fresh_ = false;
        previous_ = last_ = code;
        lastRepeats_ = false;
        return {Kind::String, 1};
    }
    // A code not in the table yet is the previous string and its first pixel.
    const auto old = static_cast<std::size_t>(previous_);
    lastRepeats_ = code == next_;
    last_ = lastRepeats_ ? previous_ : code;
    const auto spelled = static_cast<std::size_t>(last_);
    const int length = length_[spelled] + (lastRepeats_ ? 1 : 0);
    if (next_ < kEntries) {
        const auto added = static_cast<std::size_t>(next_);
        prefix_[added] = static_cast<std::uint16_t>(previous_);
        suffix_[added] = first_[spelled];
        first_[added] = first_[old];
        length_[added] = static_cast<std::uint16_t>(length_[old] + 1);
        if (++next_ >= widen_ && widen_ < kEntries) {
            widen_ *= 2;
            ++width_;
        }
    }
    previous_ = code;
    return {Kind::String, length};
}

void GifCodeTable::spell(std::uint8_t* out) const
{
    auto code = static_cast<std::size_t>(last_);
    int at = length_[code];
    if (lastRepeats_)
        out[at] = static_cast<std::uint8_t>(first_[code]);
    while (at > 0) {
        out[--at] = static_cast<std::uint8_t>(suffix_[code]);
        code = prefix_[code];
    }
}

}  // namespace kalidor
