#pragma once

// Texture inputs and the exact bank bytes Texelo should write for them, built
// from the file layouts alone. It shares no code with the engine, so a fault
// there cannot hide here.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace expected
{

using Bytes = std::vector<uint8_t>;

// Distinct 15-bit colours in ascending order, which is also the CLUT order
// the converter sorts them into; each pixel names its colour by index.
struct Texture
{
    int width = 0;
    int height = 0;
    std::vector<uint16_t> colours;
    std::vector<uint16_t> pixels;
};

// width x height pixels cycling through `count` ascending colours from `first`.
[[nodiscard]] Texture pattern(int width, int height, int count, uint16_t first = 0x0421);
[[nodiscard]] Texture recoloured(const Texture& texture, const std::vector<uint16_t>& colours);
// Every non-black pixel of a 24-bit Targa file gets the STP bit.
[[nodiscard]] uint16_t withStp(uint16_t colour);
// A 24-bit Targa file whose channels reduce exactly to the texture's colours.
[[nodiscard]] Bytes targa(const Texture& texture);
// 4, 8 or 16: the fewest bits per texel that hold the colours.
[[nodiscard]] int depth(const Texture& texture);
// 16 entries at 4 bits, `clutSize8` at 8 bits.
[[nodiscard]] std::vector<uint16_t> ownClut(const Texture& texture, uint16_t clutSize8 = 256);

struct TimFields
{
    uint16_t clutX = 0;
    uint16_t clutY = 480;
    std::optional<uint16_t> clutWidth{}; // default: the entries in the block
    uint16_t clutRows = 1;
    std::optional<std::vector<uint16_t>> clutEntries{}; // default: ownClut
    uint16_t x = 640;
    uint16_t y = 0;
    uint8_t semiTrans = 0; // 0, or 0x80 | mode
    uint16_t clutSize8 = 256;
    uint8_t indexOffset = 0;
};
[[nodiscard]] Bytes tim(const Texture& texture, const TimFields& fields = {});
// Size, Id, then the TIM.
[[nodiscard]] Bytes record(uint32_t id, const Bytes& timImage);
// A palette-only record: the tagged size, Id, position, shape and first row.
[[nodiscard]] Bytes paletteRecord(uint32_t tag, uint32_t id, uint16_t clutX, uint16_t clutY,
                                  const std::vector<uint16_t>& row, uint16_t rows = 1);

struct Group
{
    uint32_t columns = 1;
    uint32_t lines = 0;
    std::vector<Bytes> records;
};
[[nodiscard]] Bytes bank(uint32_t textureTotal, uint32_t separateRows, const std::vector<Group>& groups);

[[nodiscard]] Bytes readFile(const std::string& path);

} // namespace expected
