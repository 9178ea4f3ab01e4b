#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Offsets of a TIM image as the converter lays it out: id and flags, an
// optional CLUT block (length, x, y, entries, rows, colours), then the pixel
// block (length, x, y, width in pixels, height, texels). Little-endian.
namespace tim
{
inline constexpr uint32_t kId = 0x10;
inline constexpr uint32_t kFlagHasClut = 8;
inline constexpr uint32_t kFlagModeMask = 7;
inline constexpr std::size_t kFlagsOffset = 4;
inline constexpr std::size_t kFirstBlock = 8;
inline constexpr std::size_t kBlockHeaderBytes = 12;
// Inside a block: length, then x, y, w, h as 16-bit values.
inline constexpr std::size_t kBlockX = 4;
inline constexpr std::size_t kBlockY = 6;
inline constexpr std::size_t kBlockW = 8;
inline constexpr std::size_t kBlockH = 10;

struct Layout
{
    uint32_t flags = 0;
    bool hasClut = false;
    std::size_t clutBlock = 0;   // offset of the CLUT block (when hasClut)
    uint32_t clutLength = 0;     // its length, 0 without a CLUT
    std::size_t pixelBlock = 0;  // offset of the pixel block
    uint16_t pixelWidth = 0;     // width field: pixels, not words
    uint16_t pixelHeight = 0;
};

[[nodiscard]] uint16_t read16(const std::vector<uint8_t>& bytes, std::size_t offset);
[[nodiscard]] uint32_t read32(const std::vector<uint8_t>& bytes, std::size_t offset);
void write16(std::vector<uint8_t>& bytes, std::size_t offset, uint16_t value);

// The block offsets of an image; nothing when the blocks do not fit in it.
[[nodiscard]] std::optional<Layout> parse(const std::vector<uint8_t>& image);
} // namespace tim
