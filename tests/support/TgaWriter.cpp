#include "TgaWriter.h"

#include <cstddef>
#include <cstdio>
#include <utility>

namespace tgawriter
{
namespace
{

constexpr int kMaxPacketPixels = 128;

// A value as `byteCount` little-endian bytes; bytes past the fourth (odd
// colour-map entry sizes) are zero.
void put(Bytes& out, uint32_t value, int byteCount)
{
    for (int i = 0; i < byteCount; ++i)
        out.push_back(i < 4 ? static_cast<uint8_t>(value >> (8 * i)) : 0);
}

int bytesFor(int bits)
{
    return (bits + 7) / 8;
}

// Runs of two or more equal values become run packets; everything between
// them goes into raw packets. No packet is longer than 128 pixels.
void encodeRowRle(Bytes& out, const uint32_t* row, int width, int byteCount)
{
    for (int x = 0; x < width;)
    {
        int run = 1;
        while (x + run < width && run < kMaxPacketPixels && row[x + run] == row[x])
            ++run;
        if (run >= 2)
        {
            put(out, 0x80u | static_cast<uint32_t>(run - 1), 1);
            put(out, row[x], byteCount);
            x += run;
            continue;
        }
        int raw = 1;
        while (x + raw < width && raw < kMaxPacketPixels &&
               !(x + raw + 1 < width && row[x + raw] == row[x + raw + 1]))
            ++raw;
        put(out, static_cast<uint32_t>(raw - 1), 1);
        for (int i = 0; i < raw; ++i)
            put(out, row[x + i], byteCount);
        x += raw;
    }
}

} // namespace

uint32_t storedValue(Rgba colour, int bits)
{
    const uint32_t r = colour.r, g = colour.g, b = colour.b, a = colour.a;
    if (bits == 15 || bits == 16)
        return (r >> 3) << 10 | (g >> 3) << 5 | b >> 3 | (bits == 16 && a >= 128 ? 0x8000u : 0u);
    return b | g << 8 | r << 16 | (bits == 32 ? a << 24 : 0u);
}

Bytes encodeTga(const TgaImage& tga)
{
    // Image type: 1 colour-mapped, 3 grey (8 bits without a map), else 2; +8 run-length.
    const uint32_t type = (tga.colourMap ? 1u : tga.depth == 8 ? 3u : 2u) + (tga.rle ? 8u : 0u);
    const ColourMap map = tga.colourMap.value_or(ColourMap{.entryBits = 0});
    // ID length, map type, image type, first entry, map length, entry size, x and y origin,
    // width, height, depth, descriptor (alpha bits, top row first).
    const auto u32 = [](auto value) { return static_cast<uint32_t>(value); };
    // clang-format off
    const uint32_t fields[] = {u32(tga.id.size()), tga.colourMap ? 1u : 0u, type, map.first, u32(map.entries.size()),
                               map.entryBits, 0, 0, u32(tga.width), u32(tga.height), tga.depth,
                               (tga.depth == 32 ? 8u : 0u) | (tga.topDown ? 0x20u : 0u)};
    // clang-format on
    const int sizes[] = {1, 1, 1, 2, 2, 1, 2, 2, 2, 2, 1, 1};
    Bytes out;
    for (std::size_t i = 0; i < std::size(fields); ++i)
        put(out, fields[i], sizes[i]);
    out.insert(out.end(), tga.id.begin(), tga.id.end());
    for (const uint32_t entry : map.entries)
        put(out, entry, bytesFor(map.entryBits));
    if (tga.pixelData)
    {
        out.insert(out.end(), tga.pixelData->begin(), tga.pixelData->end());
        return out;
    }
    const int byteCount = bytesFor(tga.depth);
    for (int stored = 0; stored < tga.height; ++stored)
    {
        const int row = tga.topDown ? stored : tga.height - 1 - stored;
        const uint32_t* values = tga.values.data() + static_cast<std::size_t>(row) * tga.width;
        if (tga.rle)
            encodeRowRle(out, values, tga.width, byteCount);
        else
            for (int x = 0; x < tga.width; ++x)
                put(out, values[x], byteCount);
    }
    return out;
}

TgaImage fromColours(int width, int height, const std::vector<Rgba>& pixels, uint8_t depth)
{
    TgaImage tga{.width = width, .height = height, .depth = depth};
    for (Rgba colour : pixels)
        tga.values.push_back(storedValue(colour, depth));
    return tga;
}

TgaImage indexedImage(int width, int height, const std::vector<uint8_t>& indices,
                      const std::vector<Rgba>& palette, uint8_t entryBits)
{
    TgaImage tga{.width = width, .height = height, .depth = 8, .values = {indices.begin(), indices.end()}};
    tga.colourMap = ColourMap{.entryBits = entryBits};
    for (Rgba colour : palette)
        tga.colourMap->entries.push_back(storedValue(colour, entryBits));
    return tga;
}

bool writeTgaFile(const std::string& path, const Bytes& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

} // namespace tgawriter
