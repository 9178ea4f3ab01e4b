#pragma once

// Small writers of the three palette file formats Texelo reads, for tests and
// the fuzz seeds. Each takes the colours to store and returns the file bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace palettewriter
{

// clang-format off
struct Rgb { uint8_t r = 0, g = 0, b = 0; };
// clang-format on

// 8-bit channels that Texelo reduces to exactly the 5-bit channels of the
// PSX colour `psx` (red in bits 0-4).
inline Rgb rgbOfPsx(uint16_t psx)
{
    return {uint8_t((psx & 31) * 8), uint8_t(((psx >> 5) & 31) * 8), uint8_t(((psx >> 10) & 31) * 8)};
}

// Raw triplets, nothing else (the ACT layout).
inline std::vector<uint8_t> rawPalette(const std::vector<Rgb>& colours)
{
    std::vector<uint8_t> bytes;
    for (const Rgb& c : colours)
        bytes.insert(bytes.end(), {c.r, c.g, c.b});
    return bytes;
}

// "RIFF" size "PAL " "data" size, version 0x0300, count, then red, green,
// blue, flags per colour. `declaredCount` is what the header claims.
inline std::vector<uint8_t> riffPalette(const std::vector<Rgb>& colours, uint16_t declaredCount,
                                        uint8_t flags = 0)
{
    const auto dataSize = static_cast<uint32_t>(4 + colours.size() * 4);
    const auto le32 = [](uint32_t v) {
        return std::vector<uint8_t>{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    };
    std::vector<uint8_t> bytes{'R', 'I', 'F', 'F'};
    for (const auto& part : {le32(12 + dataSize), {'P', 'A', 'L', ' ', 'd', 'a', 't', 'a'}, le32(dataSize)})
        bytes.insert(bytes.end(), part.begin(), part.end());
    bytes.insert(bytes.end(), {0x00, 0x03, uint8_t(declaredCount), uint8_t(declaredCount >> 8)});
    for (const Rgb& c : colours)
        bytes.insert(bytes.end(), {c.r, c.g, c.b, flags});
    return bytes;
}

// The text form: header line, version line, colour count line, then one
// "r g b" line per colour, with CR LF line ends.
inline std::string jascPalette(const std::vector<Rgb>& colours, const std::string& countLine)
{
    std::string text = "JASC-PAL\r\n0100\r\n" + countLine + "\r\n";
    for (const Rgb& c : colours)
        text += std::to_string(c.r) + " " + std::to_string(c.g) + " " + std::to_string(c.b) + "\r\n";
    return text;
}

inline std::vector<uint8_t> bytesOf(const std::string& text)
{
    return {text.begin(), text.end()};
}

// Colours that differ from each other and from their neighbours.
inline std::vector<Rgb> distinctColours(std::size_t count = 256)
{
    std::vector<Rgb> colours;
    for (std::size_t i = 0; i < count; ++i)
        colours.push_back({uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)});
    return colours;
}

} // namespace palettewriter
