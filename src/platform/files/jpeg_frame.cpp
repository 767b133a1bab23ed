#include "platform/files/jpeg_frame.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include <QIODevice>

namespace kalidor {

namespace {

struct Component {
    int h = 0;  // sampling factors
    int v = 0;
};

bool readByte(QIODevice& file, std::uint8_t& b)
{
    char c = 0;
    if (!file.getChar(&c))
        return false;
    b = static_cast<std::uint8_t>(c);
    return true;
}

// The next marker's code, passing over what is not one as libjpeg does: stray
// bytes, 0xFF 0x00 and the 0xFF bytes that pad before a code.
bool nextMarker(QIODevice& file, std::uint8_t& code)
{
    std::uint8_t b = 0;
    for (;;) {
        do {
            if (!readByte(file, b))
                return false;
        } while (b != 0xFF);
        do {
            if (!readByte(file, b))
                return false;
        } while (b == 0xFF);
        if (b != 0x00) {
            code = b;
            return true;
        }
    }
}

long long roundUp(long long a, long long b) { return (a + b - 1) / b * b; }

// libjpeg's whole-image coefficient arrays: each component's 8 x 8 blocks,
// rounded up to whole units of its sampling, 64 coefficients of two bytes.
long long coefficientBytes(int width, int height, const std::vector<Component>& components)
{
    int hMax = 1, vMax = 1;
    for (const Component& c : components) {
        hMax = std::max(hMax, c.h);
        vMax = std::max(vMax, c.v);
    }
    long long bytes = 0;
    for (const Component& c : components) {
        const long long across = (static_cast<long long>(width) * c.h + hMax * 8 - 1) / (hMax * 8);
        const long long down = (static_cast<long long>(height) * c.v + vMax * 8 - 1) / (vMax * 8);
        bytes += roundUp(across, c.h) * roundUp(down, c.v) * 128;
    }
    return bytes;
}

bool isFrame(std::uint8_t code) { return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC; }

bool hasSegment(std::uint8_t code)
{
    return (code >= 0xC0 && code <= 0xCF) || (code >= 0xDA && code <= 0xDD) || (code >= 0xE0 && code <= 0xEF) ||
           code == 0xFE;
}

}  // namespace

std::optional<JpegFrame> jpegFrame(QIODevice& file)
{
    if (!file.seek(0))
        return std::nullopt;
    std::optional<JpegFrame> frame;
    std::vector<Component> components;
    std::uint8_t code = 0;
    while (nextMarker(file, code)) {
        if (code == 0xD9)
            return std::nullopt;
        if (!hasSegment(code))
            continue;
        const QByteArray lengthBytes = file.read(2);
        if (lengthBytes.size() < 2)
            return std::nullopt;
        const int length = (static_cast<std::uint8_t>(lengthBytes[0]) << 8 | static_cast<std::uint8_t>(lengthBytes[1])) - 2;
        const QByteArray segment = file.read(std::max(length, 0));
        if (segment.size() < length)
            return std::nullopt;
        const auto at = [&](int i) { return i < segment.size() ? static_cast<std::uint8_t>(segment[i]) : 0; };
        if (isFrame(code) && segment.size() >= 6) {
            frame = JpegFrame{at(3) << 8 | at(4), at(1) << 8 | at(2)};
            // Progressive: the second, sixth, tenth and fourteenth kinds.
            frame->gatheredWhole = (code & 3) == 2;
            components.assign(at(5), Component{});
            for (std::size_t i = 0; i < components.size(); ++i) {
                const int sampling = at(6 + 3 * static_cast<int>(i) + 1);
                components[i] = Component{std::clamp(sampling >> 4, 1, 4), std::clamp(sampling & 15, 1, 4)};
            }
        } else if (code == 0xDA) {
            if (!frame)
                return std::nullopt;
            frame->gatheredWhole = frame->gatheredWhole || at(0) < static_cast<int>(components.size());
            frame->coefficientBytes = coefficientBytes(frame->width, frame->height, components);
            return frame;
        }
    }
    return std::nullopt;
}

}  // namespace kalidor
