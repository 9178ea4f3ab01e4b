#include "image/TgaDecoder.h"

#include "files/PathLookup.h"
#include "image/TgaHeader.h"

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

// Every complaint of the decoder is an error of the run, whether or not it
// reaches MessageLine.
void reportFailure(TexeloReporter& reporter, const std::string& text)
{
    reporter.noteError();
    reporter.printError(text + "\n");
    reporter.setMessageLine(text);
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
    bool read(TexeloReporter& reporter, uint32_t index, uint8_t* out) const
    {
        const int64_t entry = static_cast<int64_t>(index) - first;
        if (entry < 0 || entry >= length)
        {
            std::memset(out, 0, kRgbaBytesPerPixel);
            return true;
        }
        if (colours.empty())
        {
            reportFailure(reporter,
                          formatText("Can't decode palette of depth %d bits per pixel.", entrySize));
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
template <int Bytes, typename Reader>
Outcome decodeRows(ByteReader& src, RgbaImage& image, bool runLength, const Reader& read)
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
Outcome decodeWithReader(TexeloReporter& reporter, ByteReader& src, RgbaImage& image, bool runLength,
                         const std::optional<ColourMapTable>& map)
{
    if (map)
        return decodeRows<Bytes>(src, image, runLength,
                                 [&](const uint8_t* stored, uint8_t* out)
                                 { return map->read(reporter, storedValue<Bytes>(stored), out); });
    if constexpr (Bytes == 1)
        return decodeRows<Bytes>(src, image, runLength,
                                 [&](const uint8_t*, uint8_t*)
                                 {
                                     reportFailure(reporter,
                                                   "Can't decode 8 bit / pixel image without a palette.");
                                     return false;
                                 });
    else
        return decodeRows<Bytes>(src, image, runLength,
                                 [](const uint8_t* stored, uint8_t* out)
                                 {
                                     const Rgba colour = storedColour<Bytes>(stored);
                                     std::memcpy(out, colour.data(), kRgbaBytesPerPixel);
                                     return true;
                                 });
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

} // namespace

int DecodeTga(TexeloReporter& reporter, RgbaImage& image, const uint8_t* fileBytes, std::size_t fileLength)
{
    image = RgbaImage{};
    if (!fileBytes)
        return 0;
    ByteReader file({fileBytes, fileLength});
    const TgaHeader header = readTgaHeader(file);
    if (file.failed())
        return 0;
    const int pixelBytes = storedPixelBytes(header.PixelDepth);
    if (pixelBytes == 0)
    {
        reporter.noteError();
        reporter.printError(formatText(
            "Can't decode TGA - Only 8,15,16,24 and 32 bit TGA accepted. (ie not %d)\n", header.PixelDepth));
        return 0;
    }

    // Nothing is allocated for a size the file cannot back.
    const uint64_t mapBytes = header.ColourMapType != 0
                                  ? uint64_t{header.ColourMapLength} * ((header.ColourMapEntrySize + 7u) / 8u)
                                  : 0;
    // Sizes are signed 16-bit fields here: a width above 32767 is refused.
    const auto width = static_cast<int16_t>(header.ImageWidth);
    const auto height = static_cast<int16_t>(header.ImageHeight);
    const uint64_t pixelStart = TgaHeader::kSize + header.IdLength + mapBytes;
    if (width < 0 || height < 0 || pixelStart + minimumPixelBytes(header, pixelBytes) > fileLength)
    {
        reportFailure(reporter, "Failed to decode TGA");
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
        return 0;
    }

    const bool runLength = header.runLength();
    Outcome outcome = Outcome::Decoded;
    switch (pixelBytes)
    {
    case 1:
        outcome = decodeWithReader<1>(reporter, file, image, runLength, map);
        break;
    case 2:
        outcome = decodeWithReader<2>(reporter, file, image, runLength, map);
        break;
    case 3:
        outcome = decodeWithReader<3>(reporter, file, image, runLength, map);
        break;
    default:
        outcome = decodeWithReader<4>(reporter, file, image, runLength, map);
        break;
    }
    if (outcome == Outcome::Decoded)
        return 1;
    reporter.noteError();
    if (outcome == Outcome::PacketCrossesRow)
        reporter.printError("Error in compressed data.\n");
    else
        reportFailure(reporter, "Failed to decode TGA");
    image = RgbaImage{};
    return 0;
}

std::unique_ptr<RgbaImage> LoadTgaFile(TexeloReporter& reporter, RunFiles& files, std::string_view path)
{
    std::optional<std::vector<uint8_t>> fileBytes = files.readWholeFile(path);
    if (!fileBytes)
        return nullptr;
    auto image = std::make_unique<RgbaImage>();
    if (!DecodeTga(reporter, *image, fileBytes->data(), fileBytes->size()))
        return nullptr;
    return image;
}
