#pragma once

#include <cstdint>
#include <vector>

// Appends values in the little-endian order of every file Texelo writes.
inline void putLittle16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void putLittle32(std::vector<uint8_t>& out, uint32_t value)
{
    putLittle16(out, value & 0xFFFF);
    putLittle16(out, value >> 16);
}
