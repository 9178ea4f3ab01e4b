#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Overwrites `width` bytes at `at` with `value`, little-endian: how the damage
// tests corrupt one field of a good file.
inline void patchLittleEndian(std::vector<uint8_t>& bytes, std::size_t at, uint64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes.at(at + static_cast<std::size_t>(i)) = static_cast<uint8_t>(value >> (8 * i));
}
