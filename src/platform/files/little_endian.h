#pragma once
// Numbers as picture files store them: little-endian, the caller having checked
// that the bytes are there.

#include <cstdint>

#include <QByteArray>

namespace kalidor {

// The unsigned number in `bytes` (1 to 4) bytes from `at`.
inline std::uint32_t littleEndian(const QByteArray& b, qsizetype at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

}  // namespace kalidor
