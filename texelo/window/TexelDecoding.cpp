#include "TexelDecoding.h"

#include "convert/TimImage.h"

#include <algorithm>

namespace
{

uint32_t widen(uint32_t channel5)
{
    return (channel5 << 3) | (channel5 >> 2);
}

int texelsPerWordOf(TimKind kind)
{
    switch (kind)
    {
    case TimKind::Indexed4:
        return 4;
    case TimKind::Indexed8:
        return 2;
    case TimKind::Direct16:
        return 1;
    default:
        return 0;
    }
}

// The first CLUT row the bank places, else the TIM's own CLUT.
std::vector<uint16_t> clutOf(const TextureRecord& record)
{
    const std::size_t row = record.ClutWidth;
    if (row != 0 && record.ClutData.size() >= row)
        return {record.ClutData.begin(), record.ClutData.begin() + static_cast<std::ptrdiff_t>(row)};
    return record.TimData->Clut;
}

// Texel `i` of a row of little-endian 16-bit words; the leftmost texel of
// a word sits in its lowest bits.
uint16_t rawTexel(const uint8_t* row, int i, int texelsPerWord)
{
    switch (texelsPerWord)
    {
    case 4:
        return static_cast<uint16_t>((row[i / 2] >> (4 * (i % 2))) & 0xF);
    case 2:
        return row[i];
    default:
        return static_cast<uint16_t>(row[2 * i] | (row[2 * i + 1] << 8));
    }
}

} // namespace

uint32_t argbOfPsxColour(uint16_t colour)
{
    if (colour == 0)
        return kTransparentTexel;
    return 0xFF000000u | widen(colour & 0x1Fu) << 16 | widen((colour >> 5) & 0x1Fu) << 8 |
           widen((colour >> 10) & 0x1Fu);
}

std::optional<DecodedTexels> decodeTexels(const TextureRecord& record)
{
    if (!record.TimData || record.PaletteOnly || record.Width == 0 || record.Height == 0)
        return std::nullopt;
    const TimImage& tim = *record.TimData;
    const int perWord = texelsPerWordOf(tim.Kind);
    if (perWord == 0 || static_cast<uint8_t>(tim.Kind) != record.Kind || tim.Height != record.Height)
        return std::nullopt;
    const int words = (tim.PixelWidth + perWord - 1) / perWord;
    const std::size_t rowBytes = std::size_t{2} * static_cast<std::size_t>(words);
    if (words != record.Width || tim.Texels.size() < rowBytes * tim.Height)
        return std::nullopt;

    DecodedTexels texels{words * perWord, tim.Height, perWord, {}};
    texels.argb.reserve(static_cast<std::size_t>(texels.width) * static_cast<std::size_t>(texels.height));
    const std::vector<uint16_t> clut = perWord == 1 ? std::vector<uint16_t>{} : clutOf(record);
    for (int y = 0; y < texels.height; ++y)
    {
        const uint8_t* row = tim.Texels.data() + rowBytes * static_cast<std::size_t>(y);
        for (int x = 0; x < texels.width; ++x)
        {
            const uint16_t raw = rawTexel(row, x, perWord);
            const uint16_t colour = perWord == 1 ? raw : raw < clut.size() ? clut[raw] : uint16_t{0};
            texels.argb.push_back(argbOfPsxColour(colour));
        }
    }
    return texels;
}
