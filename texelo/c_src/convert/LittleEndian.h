#pragma once

#include <cstdint>
#include <vector>

// Values in the little-endian order of every file Texelo writes: stored at
// a place already sized, or appended.
inline void storeLittle16(uint8_t* at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

inline void putLittle16(std::vector<uint8_t>& out, uint32_t value)
{
    uint8_t bytes[2];
    storeLittle16(bytes, value);
    out.insert(out.end(), bytes, bytes + 2);
}

inline void putLittle32(std::vector<uint8_t>& out, uint32_t value)
{
    putLittle16(out, value & 0xFFFF);
    putLittle16(out, value >> 16);
}
