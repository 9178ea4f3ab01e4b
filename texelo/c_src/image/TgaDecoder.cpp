#include "image/TgaDecoder.h"

#include "files/PathLookup.h"
#include "image/TgaHeader.h"
#include "report/TexeloReporter.h"

#include <array>
#include <cstring>
#include <new>
#include <optional>

namespace
{

constexpr uint8_t kRunPacketBit = 0x80;
constexpr uint8_t kPacketCountMask = 0x7F;
constexpr uint64_t kMaxPacketPixels = 128;

using Rgba = std::array<uint8_t, kRgbaBytesPerPixel>;

// A stored value of `Bytes` little-endian bytes.
template <int Bytes>
uint32_t storedValue(const uint8_t* bytes)
{
    uint32_t value = 0;
    for (int i = Bytes - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

// Stored colours of 2 (15/16-bit), 3 or 4 bytes as RGBA. Five-bit channels
// are widened by a plain shift; bit 15 and missing alpha give A = 0, which
// the PSX conversion relies on for its transparency bit.
template <int Bytes>
Rgba storedColour(const uint8_t* bytes)
{
    if constexpr (Bytes == 2)
    {
        const uint32_t v = storedValue<2>(bytes);
        return {static_cast<uint8_t>(((v >> 10) & 31) << 3), static_cast<uint8_t>(((v >> 5) & 31) << 3),
                static_cast<uint8_t>((v & 31) << 3), 0};
    }
    else if constexpr (Bytes == 3)
        return {bytes[2], bytes[1], bytes[0], 0};
    else
        return {bytes[2], bytes[1], bytes[0], bytes[3]};
}

// The colour map converted once, so that mapped pixels are a lookup.
struct ColourMapTable
{
    uint16_t first = 0;
    uint16_t length = 0;
    uint8_t entrySize = 0;
    std::vector<Rgba> colours; // empty when the entry size cannot be decoded

    // An index outside the map gives a pixel of zeros; an index inside a map
    // whose entries cannot be decoded fails the reader.
    bool read(std::string& reason, uint32_t index, uint8_t* out) const
    {
        const int64_t entry = static_cast<int64_t>(index) - first;
        if (entry < 0 || entry >= length)
        {
            std::memset(out, 0, kRgbaBytesPerPixel);
            return true;
        }
        if (colours.empty())
        {
            reason = formatText("a colour map of %d-bit entries, which cannot be decoded", entrySize);
            return false;
        }
        std::memcpy(out, colours[static_cast<std::size_t>(entry)].data(), kRgbaBytesPerPixel);
        return true;
    }
};

template <int Bytes>
void convertEntries(ColourMapTable& table, const uint8_t* entries)
{
    for (std::size_t i = 0; i < table.length; ++i)
        table.colours[i] = storedColour<Bytes>(entries + i * Bytes);
}

ColourMapTable makeColourMapTable(const TgaHeader& header, const uint8_t* entries)
{
    ColourMapTable table{header.ColourMapFirst, header.ColourMapLength, header.ColourMapEntrySize, {}};
    const int entryBytes = (header.ColourMapEntrySize + 7) / 8;
    const bool decodable = header.ColourMapEntrySize == 15 || header.ColourMapEntrySize == 16 ||
                           header.ColourMapEntrySize == 24 || header.ColourMapEntrySize == 32;
    if (!decodable || table.length == 0)
        return table;
    table.colours.resize(table.length);
    if (entryBytes == 2)
        convertEntries<2>(table, entries);
    else if (entryBytes == 3)
        convertEntries<3>(table, entries);
    else
        convertEntries<4>(table, entries);
    return table;
}

enum class Outcome
{
    Decoded,
    ReaderFailed,
    DataEnded,
    PacketCrossesRow,
};

// Writes rows from the bottom of the image up: the first stored row is the
// bottom one. `read` turns one stored pixel into RGBA and may fail.
// `storedRow` ends as the stored row (from 1) where decoding stopped.
template <int Bytes, typename Reader>
Outcome decodeRows(ByteReader& src, RgbaImage& image, bool runLength, const Reader& read, int32_t& storedRow)
{
    // `count` stored pixels, each turned into RGBA at `out`.
    const auto readPixels = [&](std::size_t count, uint8_t*& out)
    {
        const std::span<const uint8_t> stored = src.bytes(static_cast<uint64_t>(count) * Bytes);
        if (src.failed())
            return Outcome::DataEnded;
        for (std::size_t i = 0; i < count; ++i, out += kRgbaBytesPerPixel)
            if (!read(stored.data() + i * Bytes, out))
                return Outcome::ReaderFailed;
        return Outcome::Decoded;
    };
    const auto width = static_cast<std::size_t>(image.Width);
    for (int32_t row = image.Height - 1; row >= 0; --row)
    {
        uint8_t* out = image.pixels.data() + static_cast<std::size_t>(row) * width * kRgbaBytesPerPixel;
        storedRow = image.Height - row;
        if (!runLength)
        {
            if (const Outcome outcome = readPixels(width, out); outcome != Outcome::Decoded)
                return outcome;
            continue;
        }
        // Packets never cross the end of a row.
        for (std::size_t x = 0; x < width;)
        {
            const uint8_t packet = src.u8();
            if (src.failed())
                return Outcome::DataEnded;
            const std::size_t count = (packet & kPacketCountMask) + 1u;
            if (x + count > width)
                return Outcome::PacketCrossesRow;
            if (packet & kRunPacketBit)
            {
                Rgba colour{};
                uint8_t* first = colour.data();
                if (const Outcome outcome = readPixels(1, first); outcome != Outcome::Decoded)
                    return outcome;
                for (std::size_t i = 0; i < count; ++i, out += kRgbaBytesPerPixel)
                    std::memcpy(out, colour.data(), kRgbaBytesPerPixel);
            }
            else if (const Outcome outcome = readPixels(count, out); outcome != Outcome::Decoded)
                return outcome;
            x += count;
        }
    }
    return Outcome::Decoded;
}

// Picks the reader for the stored pixel size: colour-map indices when a map
// is present, else direct colours; 8-bit pixels need a map.
template <int Bytes>
Outcome decodeWithReader(std::string& reason, ByteReader& src, RgbaImage& image, bool runLength,
                         const std::optional<ColourMapTable>& map, int32_t& storedRow)
{
    if (map)
        return decodeRows<Bytes>(
            src, image, runLength,
            [&](const uint8_t* stored, uint8_t* out)
            { return map->read(reason, storedValue<Bytes>(stored), out); },
            storedRow);
    if constexpr (Bytes == 1)
        return decodeRows<Bytes>(
            src, image, runLength,
            [&](const uint8_t*, uint8_t*)
            {
                reason = "8-bit pixels without a colour map";
                return false;
            },
            storedRow);
    else
        return decodeRows<Bytes>(
            src, image, runLength,
            [](const uint8_t* stored, uint8_t* out)
            {
                const Rgba colour = storedColour<Bytes>(stored);
                std::memcpy(out, colour.data(), kRgbaBytesPerPixel);
                return true;
            },
            storedRow);
}

int storedPixelBytes(uint8_t depth)
{
    switch (depth)
    {
    case 8:
        return 1;
    case 15:
    case 16:
        return 2;
    case 24:
        return 3;
    case 32:
        return 4;
    default:
        return 0;
    }
}

// The fewest bytes of pixel data that can describe the image: every pixel
// stored once, or for run-length data one run packet per 128 pixels of a row.
uint64_t minimumPixelBytes(const TgaHeader& header, int pixelBytes)
{
    const auto width = static_cast<uint64_t>(header.ImageWidth);
    const auto height = static_cast<uint64_t>(header.ImageHeight);
    if (!header.runLength())
        return width * height * static_cast<uint64_t>(pixelBytes);
    const uint64_t packetsPerRow = (width + kMaxPacketPixels - 1) / kMaxPacketPixels;
    return height * packetsPerRow * (1 + static_cast<uint64_t>(pixelBytes));
}

std::string truncationReason(uint64_t present, uint64_t needed)
{
    return "truncated: " + groupedNumber(present) + " of " + groupedNumber(needed) + " bytes";
}

} // namespace

int DecodeTga(RgbaImage& image, const uint8_t* fileBytes, std::size_t fileLength, std::string& reason)
{
    image = RgbaImage{};
    reason.clear();
    ByteReader file({fileBytes, fileBytes != nullptr ? fileLength : 0});
    const TgaHeader header = readTgaHeader(file);
    if (file.failed())
    {
        reason = truncationReason(fileBytes != nullptr ? fileLength : 0, TgaHeader::kSize);
        return 0;
    }
    const int pixelBytes = storedPixelBytes(header.PixelDepth);
    if (pixelBytes == 0)
    {
        reason = formatText("pixel depth %d (only 8, 15, 16, 24 and 32 bits are decoded)", header.PixelDepth);
        return 0;
    }

    // Nothing is allocated for a size the file cannot back.
    const uint64_t mapBytes = header.ColourMapType != 0
                                  ? uint64_t{header.ColourMapLength} * ((header.ColourMapEntrySize + 7u) / 8u)
                                  : 0;
    // Sizes are signed 16-bit fields here: a width above 32767 is refused.
    const auto width = static_cast<int16_t>(header.ImageWidth);
    const auto height = static_cast<int16_t>(header.ImageHeight);
    if (width < 0 || height < 0)
    {
        reason = formatText("%u x %u pixels, beyond the largest side of 32,767", header.ImageWidth,
                            header.ImageHeight);
        return 0;
    }
    const uint64_t pixelStart = TgaHeader::kSize + header.IdLength + mapBytes;
    if (const uint64_t needed = pixelStart + minimumPixelBytes(header, pixelBytes); needed > fileLength)
    {
        reason = truncationReason(fileLength, needed);
        return 0;
    }

    file.skip(header.IdLength);
    const std::span<const uint8_t> mapEntries = file.bytes(mapBytes); // inside the file: checked above
    std::optional<ColourMapTable> map;
    try
    {
        if (header.ColourMapType != 0)
            map = makeColourMapTable(header, mapEntries.data());
        image.Width = width;
        image.Height = height;
        image.pixels.assign(static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height) *
                                kRgbaBytesPerPixel,
                            0);
    }
    catch (const std::bad_alloc&)
    {
        image = RgbaImage{};
        reason = formatText("out of memory for %d x %d pixels", width, height);
        return 0;
    }

    const bool runLength = header.runLength();
    Outcome outcome = Outcome::Decoded;
    int32_t storedRow = 0;
    switch (pixelBytes)
    {
    case 1:
        outcome = decodeWithReader<1>(reason, file, image, runLength, map, storedRow);
        break;
    case 2:
        outcome = decodeWithReader<2>(reason, file, image, runLength, map, storedRow);
        break;
    case 3:
        outcome = decodeWithReader<3>(reason, file, image, runLength, map, storedRow);
        break;
    default:
        outcome = decodeWithReader<4>(reason, file, image, runLength, map, storedRow);
        break;
    }
    if (outcome == Outcome::DataEnded)
        reason =
            formatText("truncated: the run-length data ends in stored row %d of %d", storedRow, image.Height);
    else if (outcome == Outcome::PacketCrossesRow)
        reason =
            formatText("a run-length packet crosses the end of stored row %d of %d", storedRow, image.Height);
    if (outcome == Outcome::Decoded)
        return 1;
    image = RgbaImage{};
    return 0;
}

PictureFile LoadTgaFile(RunFiles& files, std::string_view path, Presence presence)
{
    return LoadPictureFile(files, path, presence, DecodeTga, "Targa");
}
