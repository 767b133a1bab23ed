#pragma once
// Numbers as picture files and the recovery copy store them: little-endian,
// whatever the machine, the caller having checked that the bytes are there.

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

// The same for up to 8 bytes.
inline std::uint64_t littleEndian64(const QByteArray& b, qsizetype at, int bytes)
{
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

// Writes the low `bytes` (1 to 8) bytes of `v` from `at`, the lowest first.
inline void putLittleEndian(QByteArray& b, qsizetype at, std::uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i, v >>= 8)
        b[at + i] = static_cast<char>(v & 0xFF);
}

}  // namespace kalidor
