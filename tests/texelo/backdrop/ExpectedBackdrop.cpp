#include "ExpectedBackdrop.h"

#include <tuple>

namespace expected
{
namespace
{

void put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8 & 0xFF));
}

void put32(std::vector<uint8_t>& out, uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// Byte `k` of a 4-bit row: pixel 2k in the low nibble, 2k + 1 in the high.
uint8_t packedByte(const std::vector<uint8_t>& indices, int row, int k)
{
    const std::size_t at = static_cast<std::size_t>(row) * kBackdropWidth + static_cast<std::size_t>(2 * k);
    return static_cast<uint8_t>(indices[at] | indices[at + 1] << 4);
}

} // namespace

std::vector<uint8_t> backdropFile(const Palette16& base, const std::vector<Palette16>& extras,
                                  const std::vector<uint8_t>& indices)
{
    std::vector<uint8_t> out;
    put32(out, kBackdropWidth);
    put32(out, static_cast<uint32_t>(kBackdropHeight + 1024 * extras.size()));
    for (const uint16_t colour : base)
        put16(out, colour);
    for (const Palette16& palette : extras)
        for (const uint16_t colour : palette)
            put16(out, colour);
    // Group l: the left 512 pixels of rows l and l + 256, then their right 128.
    for (int l = 0; l < 256; ++l)
    {
        for (const auto& [row, first, last] :
             {std::tuple{l, 0, 256}, {l + 256, 0, 256}, {l, 256, 320}, {l + 256, 256, 320}})
            for (int k = first; k < last; ++k)
                out.push_back(packedByte(indices, row, k));
    }
    return out;
}

uint32_t readU32(const std::vector<uint8_t>& bytes, std::size_t offset)
{
    return uint32_t{bytes[offset]} | uint32_t{bytes[offset + 1]} << 8 | uint32_t{bytes[offset + 2]} << 16 |
           uint32_t{bytes[offset + 3]} << 24;
}

} // namespace expected
