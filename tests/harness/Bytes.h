#pragma once

// Bytes of files, and the little-endian fields the tests read and corrupt.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// The whole file; empty when it cannot be read.
[[nodiscard]] inline Bytes readFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

[[nodiscard]] inline bool writeFileBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

// The unsigned little-endian field of `width` bytes at `at` (bounds-checked).
[[nodiscard]] inline uint64_t littleEndianAt(const Bytes& bytes, std::size_t at, int width)
{
    uint64_t value = 0;
    for (int i = 0; i < width; ++i)
        value |= uint64_t{bytes.at(at + static_cast<std::size_t>(i))} << (8 * i);
    return value;
}

// Overwrites `width` bytes at `at` with `value`, little-endian: how the damage
// tests corrupt one field of a good file.
inline void patchLittleEndian(Bytes& bytes, std::size_t at, uint64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes.at(at + static_cast<std::size_t>(i)) = static_cast<uint8_t>(value >> (8 * i));
}
