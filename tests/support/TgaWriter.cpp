#include "TgaWriter.h"

#include <cstddef>
#include <cstdio>
#include <utility>

namespace tgawriter
{
namespace
{

constexpr int kMaxPacketPixels = 128;
constexpr uint8_t kRunPacketBit = 0x80;
constexpr uint8_t kTopDownBit = 0x20;
constexpr uint8_t kColourMappedType = 1;
constexpr uint8_t kTrueColourType = 2;
constexpr uint8_t kGreyType = 3;
constexpr uint8_t kRleTypeOffset = 8;

void put8(Bytes& out, unsigned value)
{
    out.push_back(static_cast<uint8_t>(value));
}

void put16(Bytes& out, unsigned value)
{
    put8(out, value & 0xFF);
    put8(out, (value >> 8) & 0xFF);
}

// A stored value as `byteCount` little-endian bytes; bytes past the fourth
// (odd colour-map entry sizes) are zero.
void putValue(Bytes& out, uint32_t value, int byteCount)
{
    for (int i = 0; i < byteCount; ++i)
        put8(out, i < 4 ? (value >> (8 * i)) & 0xFF : 0);
}

int bytesFor(int bits)
{
    return (bits + 7) / 8;
}

// Runs of two or more equal values become run packets; everything between
// them goes into raw packets. No packet is longer than 128 pixels.
void encodeRowRle(Bytes& out, const uint32_t* row, int width, int byteCount)
{
    int x = 0;
    while (x < width)
    {
        int run = 1;
        while (x + run < width && run < kMaxPacketPixels && row[x + run] == row[x])
            ++run;
        if (run >= 2)
        {
            put8(out, kRunPacketBit | static_cast<unsigned>(run - 1));
            putValue(out, row[x], byteCount);
            x += run;
            continue;
        }
        int raw = 1;
        while (x + raw < width && raw < kMaxPacketPixels &&
               !(x + raw + 1 < width && row[x + raw] == row[x + raw + 1]))
            ++raw;
        put8(out, static_cast<unsigned>(raw - 1));
        for (int i = 0; i < raw; ++i)
            putValue(out, row[x + i], byteCount);
        x += raw;
    }
}

uint8_t imageType(const TgaImage& tga)
{
    uint8_t type = kTrueColourType;
    if (tga.colourMap)
        type = kColourMappedType;
    else if (tga.depth == 8)
        type = kGreyType;
    return tga.rle ? static_cast<uint8_t>(type + kRleTypeOffset) : type;
}

} // namespace

uint32_t storedValue(Rgba colour, int bits)
{
    if (bits == 15 || bits == 16)
    {
        uint32_t value = (static_cast<uint32_t>(colour.r >> 3) << 10) |
                         (static_cast<uint32_t>(colour.g >> 3) << 5) | static_cast<uint32_t>(colour.b >> 3);
        if (bits == 16 && colour.a >= 128)
            value |= 0x8000;
        return value;
    }
    uint32_t value =
        colour.b | (static_cast<uint32_t>(colour.g) << 8) | (static_cast<uint32_t>(colour.r) << 16);
    if (bits == 32)
        value |= static_cast<uint32_t>(colour.a) << 24;
    return value;
}

Bytes encodeTga(const TgaImage& tga)
{
    Bytes out;
    put8(out, static_cast<unsigned>(tga.id.size()));
    put8(out, tga.colourMap ? 1 : 0);
    put8(out, imageType(tga));
    put16(out, tga.colourMap ? tga.colourMap->first : 0);
    put16(out, tga.colourMap ? static_cast<unsigned>(tga.colourMap->entries.size()) : 0);
    put8(out, tga.colourMap ? tga.colourMap->entryBits : 0);
    put16(out, 0); // x origin
    put16(out, 0); // y origin
    put16(out, static_cast<unsigned>(tga.width));
    put16(out, static_cast<unsigned>(tga.height));
    put8(out, tga.depth);
    const unsigned alphaBits = tga.depth == 32 ? 8 : 0;
    put8(out, alphaBits | (tga.topDown ? kTopDownBit : 0));

    out.insert(out.end(), tga.id.begin(), tga.id.end());
    if (tga.colourMap)
        for (uint32_t entry : tga.colourMap->entries)
            putValue(out, entry, bytesFor(tga.colourMap->entryBits));

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
                putValue(out, values[x], byteCount);
    }
    return out;
}

TgaImage fromColours(int width, int height, const std::vector<Rgba>& pixels, uint8_t depth)
{
    TgaImage tga{.width = width, .height = height, .depth = depth};
    tga.values.reserve(pixels.size());
    for (Rgba colour : pixels)
        tga.values.push_back(storedValue(colour, depth));
    return tga;
}

TgaImage indexedImage(int width, int height, const std::vector<uint8_t>& indices,
                      const std::vector<Rgba>& palette, uint8_t entryBits)
{
    TgaImage tga{.width = width, .height = height, .depth = 8};
    tga.values.assign(indices.begin(), indices.end());
    ColourMap map{.entryBits = entryBits};
    for (Rgba colour : palette)
        map.entries.push_back(storedValue(colour, entryBits));
    tga.colourMap = std::move(map);
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
