#include "RecordImage.h"

#include "BankFieldText.h"
#include "ByteReader.h"
#include "convert/LittleEndian.h"
#include "convert/PsxColour.h"
#include "convert/TimImage.h"
#include "vram/TbkFormat.h"

#include <algorithm>

namespace tbk
{
namespace
{

constexpr uint64_t kWidthField = 4; // W, from a block's DX field
constexpr uint16_t kTransparent = 0x0000;

// `count` bytes of the bank from `offset`, or nothing when they pass its end.
std::optional<std::span<const uint8_t>> slice(std::span<const uint8_t> bank, uint64_t offset, uint64_t count,
                                              std::string& error)
{
    if (offset > bank.size() || count > bank.size() - offset)
    {
        error = MessageText{} << count << " bytes at byte " << offset << " pass the end of the bank";
        return std::nullopt;
    }
    return bank.subspan(offset, count);
}

// The stored PSX colours of `bytes`, in order.
std::vector<uint16_t> coloursOf(std::span<const uint8_t> bytes)
{
    ByteReader reader(bytes);
    std::vector<uint16_t> colours(bytes.size() / 2);
    for (uint16_t& colour : colours)
        colour = reader.u16();
    return colours;
}

// A 5-bit channel widened so that 0 stays 0 and 31 becomes 255.
uint8_t widen(uint32_t channel)
{
    return static_cast<uint8_t>(channel << 3 | channel >> 2);
}

void appendColour(std::vector<uint8_t>& rgba, uint16_t colour)
{
    const PsxChannels channels = unpackPsxColour(colour);
    rgba.push_back(widen(channels.r5));
    rgba.push_back(widen(channels.g5));
    rgba.push_back(widen(channels.b5));
    // Only 0x0000 is see-through; black with the STP bit is drawn.
    rgba.push_back(colour == kTransparent ? 0 : 255);
}

// The one stored row of a palette record.
std::optional<std::span<const uint8_t>> paletteColours(const BankRecord& record,
                                                       std::span<const uint8_t> bank, std::string& error)
{
    if (!record.clut)
    {
        error = "a palette record without its CLUT";
        return std::nullopt;
    }
    return slice(bank, record.clut->offset + kTimBlockAreaBytes, 2 * uint64_t{record.clut->w}, error);
}

std::vector<uint8_t> paletteTim(const ClutArea& clut, std::span<const uint8_t> colours)
{
    std::vector<uint8_t> tim;
    putLittle32(tim, kTimId);
    putLittle32(tim, static_cast<uint32_t>(TimKind::Direct16));
    putLittle32(tim, static_cast<uint32_t>(kTimBlockHeaderBytes + colours.size()));
    for (const uint16_t field : {clut.dx, clut.dy, clut.w, uint16_t{1}})
        putLittle16(tim, field);
    tim.insert(tim.end(), colours.begin(), colours.end());
    return tim;
}

// The colour index of texel x in a line of an indexed image.
uint32_t texelIndex(PixelMode mode, std::span<const uint8_t> line, uint32_t x)
{
    if (mode == PixelMode::Indexed8)
        return line[x];
    // Two texels a byte, the left one in the low nibble.
    const uint8_t pair = line[x / 2];
    return x % 2 == 0 ? pair & 0x0F : pair >> 4;
}

} // namespace

std::optional<std::vector<uint8_t>> standardTim(const BankRecord& record, std::span<const uint8_t> bank,
                                                std::string& error)
{
    if (record.form == RecordForm::Palette)
    {
        const auto colours = paletteColours(record, bank, error);
        if (!colours)
            return std::nullopt;
        return paletteTim(*record.clut, *colours);
    }
    if (!record.pixels)
    {
        error = "the record has no image";
        return std::nullopt;
    }
    const uint64_t start = record.offset + tbk::kRecordHeaderBytes;
    const auto image = slice(bank, start, record.size, error);
    if (!image)
        return std::nullopt;
    std::vector<uint8_t> tim(image->begin(), image->end());
    const uint64_t widthAt = record.pixels->offset + kWidthField - start;
    if (widthAt + 2 > tim.size())
    {
        error = "the image's width lies outside its record";
        return std::nullopt;
    }
    tim[widthAt] = static_cast<uint8_t>(record.pixels->widthWords);
    tim[widthAt + 1] = static_cast<uint8_t>(record.pixels->widthWords >> 8);
    return tim;
}

std::optional<RgbaPicture> recordPreview(const BankRecord& record, std::span<const uint8_t> bank,
                                         std::string& error)
{
    RgbaPicture picture;
    if (record.form == RecordForm::Palette)
    {
        const auto colours = paletteColours(record, bank, error);
        if (!colours)
            return std::nullopt;
        picture.width = record.clut->w;
        picture.height = 1;
        for (const uint16_t colour : coloursOf(*colours))
            appendColour(picture.rgba, colour);
        return picture;
    }
    if (!record.pixels || !record.mode)
    {
        error = "the record has no image";
        return std::nullopt;
    }
    const PixelArea& area = *record.pixels;
    const uint64_t lineBytes = 2 * uint64_t{area.widthWords};
    const auto texels = slice(bank, area.offset + kTimBlockAreaBytes, lineBytes * area.height, error);
    if (!texels)
        return std::nullopt;
    std::vector<uint16_t> clut;
    if (*record.mode != PixelMode::Direct16)
    {
        if (!record.clut)
        {
            error = "an indexed image without a CLUT";
            return std::nullopt;
        }
        // The first CLUT: 16 colours at 4 bits, the first row at 8 bits.
        const uint32_t first = *record.mode == PixelMode::Indexed4 ? tbk::kClut4Entries : record.clut->w;
        const auto stored = slice(bank, record.clut->offset + kTimBlockAreaBytes,
                                  2 * uint64_t{std::min(first, record.clut->entries)}, error);
        if (!stored)
            return std::nullopt;
        clut = coloursOf(*stored);
    }
    picture.width = area.widthPixels;
    picture.height = area.height;
    picture.rgba.reserve(uint64_t{picture.width} * picture.height * 4);
    for (uint32_t y = 0; y < area.height; ++y)
    {
        const std::span<const uint8_t> line = texels->subspan(y * lineBytes, lineBytes);
        if (*record.mode == PixelMode::Direct16)
        {
            const std::vector<uint16_t> colours = coloursOf(line);
            for (uint32_t x = 0; x < area.widthPixels; ++x)
                appendColour(picture.rgba, colours[x]);
            continue;
        }
        for (uint32_t x = 0; x < area.widthPixels; ++x)
        {
            const uint32_t index = texelIndex(*record.mode, line, x);
            appendColour(picture.rgba, index < clut.size() ? clut[index] : kTransparent);
        }
    }
    return picture;
}

} // namespace tbk
