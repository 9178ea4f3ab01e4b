#include "backdrop/BackdropFile.h"

#include "convert/LittleEndian.h"

namespace
{

constexpr std::size_t kHalfRows = kBackdropHeight / 2;
constexpr std::size_t kWideBytes = 256; // pixels 0-511 of a row
constexpr std::size_t kStripBytes = kBackdropRowBytes - kWideBytes;

void putPalette(std::vector<uint8_t>& out, const BackdropPalette& palette)
{
    for (const uint16_t colour : palette)
        putLittle16(out, colour);
}

} // namespace

std::vector<uint8_t> EncodeBackdrop(const BackdropPalette& basePalette,
                                    std::span<const BackdropPalette> extraPalettes,
                                    std::span<const uint8_t> pixels4)
{
    if (pixels4.size() != kBackdropPixelBytes)
        return {};
    std::vector<uint8_t> out;
    const std::size_t paletteBytes = kBackdropPaletteColours * sizeof(uint16_t);
    out.reserve(8 + paletteBytes * (1 + extraPalettes.size()) + kBackdropPixelBytes);
    putLittle32(out, kBackdropWidth);
    // A 32-bit field: it would wrap only beyond four million palettes.
    putLittle32(out,
                kBackdropHeight + kBackdropHeightPerPalette * static_cast<uint32_t>(extraPalettes.size()));
    putPalette(out, basePalette);
    for (const BackdropPalette& palette : extraPalettes)
        putPalette(out, palette);
    const auto append = [&](std::size_t row, std::size_t first, std::size_t count)
    {
        const auto from = pixels4.begin() + static_cast<std::ptrdiff_t>(row * kBackdropRowBytes + first);
        out.insert(out.end(), from, from + static_cast<std::ptrdiff_t>(count));
    };
    for (std::size_t line = 0; line < kHalfRows; ++line)
    {
        append(line, 0, kWideBytes);
        append(line + kHalfRows, 0, kWideBytes);
        append(line, kWideBytes, kStripBytes);
        append(line + kHalfRows, kWideBytes, kStripBytes);
    }
    return out;
}

BackdropWriteResult WriteBackdropBytes(RunOutput& file, const std::string& posixPath,
                                       const std::vector<uint8_t>& bytes)
{
    if (!file.open(posixPath))
        return BackdropWriteResult::CannotCreate;
    if (!file.write(bytes.data(), bytes.size()) || !file.commit())
        return BackdropWriteResult::CannotWrite;
    return BackdropWriteResult::Written;
}
