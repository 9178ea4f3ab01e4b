#include "image/TgaImageLoader.h"

#include "files/PathLookup.h"
#include "image/CreatePixelFormat.h"
#include "image/IndexedPixelFormat.h"
#include "image/Palette.h"
#include "image/TgaHeader.h"

#include <algorithm>
#include <vector>

namespace
{

constexpr uint8_t kRunPacketBit = 0x80;
constexpr uint8_t kPacketCountMask = 0x7F;
constexpr int32_t kPaletteEntries = 256;
constexpr int32_t kIndexBits = 8;
constexpr int32_t kMaxTargetBytesPerPixel = 4; // WriteRaw stores at most 32 bits

std::size_t bytesOfBits(uint32_t bits)
{
    return (bits + 7) / 8;
}

bool readIndexByte(const uint8_t*& cursor, const uint8_t* end, uint32_t& value)
{
    if (cursor == end)
        return false;
    value = *cursor++;
    return true;
}

// The format of colour-map entries of `bits` bits; 0 when there is none.
int32_t paletteEntryFormatId(uint8_t bits)
{
    switch (bits)
    {
    case 15:
    case 16:
        return 21; // X1 R5 G5 B5, little-endian
    case 24:
        return 11;
    case 32:
        return 5;
    default:
        return 0;
    }
}

int32_t trueColourFormatId(uint8_t depth)
{
    switch (depth)
    {
    case 15:
    case 16:
        return 21;
    case 24:
        return 11;
    case 32:
        return 1;
    default:
        return 0;
    }
}

} // namespace

TgaImageLoader::TgaImageLoader(MemBuffer fileData, std::size_t fileLength)
    : FileData(std::move(fileData)), FileLength(FileData ? fileLength : 0)
{
    const uint8_t* bytes = FileData.get();
    ByteReader file({bytes, FileLength});
    const TgaHeader header = readTgaHeader(file);
    if (file.failed())
        return;
    Header = header;

    uint64_t offset = TgaHeader::kSize + Header.IdLength;
    if (Header.ColourMapType != 0)
    {
        const uint64_t mapStart = offset;
        offset += uint64_t{Header.ColourMapLength} * bytesOfBits(Header.ColourMapEntrySize);
        if (offset > FileLength)
            return;
        ColourMapData = bytes + mapStart;
    }
    if (offset > FileLength)
        return;
    PixelData = bytes + offset;
    try
    {
        chooseFormat();
    }
    catch (const std::bad_alloc&)
    {
        LoaderFormat.reset(); // out of memory: a loader that decodes nothing
        ReadIndexFn = nullptr;
    }
}

// Only 8-bit colour-mapped files get an index reader; true colour gets a
// format that says what the file holds, but no reader.
void TgaImageLoader::chooseFormat()
{
    if (Header.PixelDepth != kIndexBits)
    {
        LoaderFormat = CreatePixelFormat(trueColourFormatId(Header.PixelDepth));
        return;
    }
    const int32_t entryFormatId = ColourMapData ? paletteEntryFormatId(Header.ColourMapEntrySize) : 0;
    if (entryFormatId == 0)
        return; // nothing to build a palette from
    std::shared_ptr<const PixelFormat> entryFormat = CreatePixelFormat(entryFormatId);
    if (!entryFormat)
        return;
    // The map's first stored entry is entry 0, whatever ColourMapFirst says.
    const std::size_t entryBytes = bytesOfBits(Header.ColourMapEntrySize);
    std::vector<uint8_t> entries(kPaletteEntries * entryBytes, 0);
    const std::size_t supplied = std::min<std::size_t>(Header.ColourMapLength, kPaletteEntries);
    std::copy_n(ColourMapData, supplied * entryBytes, entries.begin());
    auto palette = makeUniqueOrNull<Palette>(entries.data(), kPaletteEntries, std::move(entryFormat));
    if (!palette)
        return;
    LoaderFormat = makeUniqueOrNull<IndexedPixelFormat>(kIndexBits, kIndexedFormatId, std::move(palette));
    if (LoaderFormat)
        ReadIndexFn = readIndexByte;
}

std::unique_ptr<TgaImageLoader> TgaImageLoader::FromFileData(MemBuffer fileData, std::size_t fileLength)
{
    if (!fileData || fileLength < TgaHeader::kSize)
        return nullptr;
    std::unique_ptr<TgaImageLoader> loader =
        makeUniqueOrNull<TgaImageLoader>(std::move(fileData), fileLength);
    if (!loader || loader->PixelData == nullptr)
        return nullptr;
    return loader;
}

int TgaImageLoader::Decode(Bitmap& bitmap)
{
    if (ReadIndexFn == nullptr || !LoaderFormat || PixelData == nullptr)
        return kDecodeFailed;
    const PixelFormat* target = bitmap.Format();
    if (target == nullptr || bitmap.Width() != Header.ImageWidth || bitmap.Height() != Header.ImageHeight)
        return kDecodeFailed;
    const int32_t targetBits = target->BitsPerPixel();
    if (targetBits <= 0 || bytesOfBits(static_cast<uint32_t>(targetBits)) > kMaxTargetBytesPerPixel)
        return kDecodeFailed;
    const std::size_t bytesPerPixel = bytesOfBits(static_cast<uint32_t>(targetBits));
    if (std::size_t{Header.ImageWidth} * bytesPerPixel > bitmap.Pitch())
        return kDecodeFailed; // a format whose pixels are wider than its rows allow
    if (Header.ImageWidth == 0 || Header.ImageHeight == 0)
        return kDecodeSucceeded;
    uint8_t* row = bitmap.WritableData();
    if (row == nullptr)
        return kDecodeFailed;

    const uint8_t* cursor = PixelData;
    const uint8_t* end = FileData.get() + FileLength;
    for (uint32_t y = 0; y < Header.ImageHeight; ++y, row += bitmap.Pitch())
    {
        if (!decodeRow(row, *target, bytesPerPixel, cursor, end))
            return kDecodeFailed;
    }
    return kDecodeSucceeded;
}

bool TgaImageLoader::decodeRow(uint8_t* row, const PixelFormat& target, std::size_t bytesPerPixel,
                               const uint8_t*& cursor, const uint8_t* end) const
{
    uint32_t x = 0;
    uint32_t value = 0;
    const auto put = [&](uint32_t raw) { target.WriteRaw(raw, row + std::size_t{x++} * bytesPerPixel); };
    if (Header.ImageType <= TgaHeader::kLastPlainImageType)
    {
        while (x < Header.ImageWidth)
        {
            if (!ReadIndexFn(cursor, end, value))
                return false;
            put(target.ConvertFrom(value, *LoaderFormat));
        }
        return true;
    }
    while (x < Header.ImageWidth)
    {
        if (cursor == end)
            return false;
        const uint8_t header = *cursor++;
        const uint32_t count = (header & kPacketCountMask) + 1u;
        if (x + count > Header.ImageWidth)
            return false; // packets never cross rows
        if (header & kRunPacketBit)
        {
            if (!ReadIndexFn(cursor, end, value))
                return false;
            const uint32_t raw = target.ConvertFrom(value, *LoaderFormat);
            for (uint32_t i = 0; i < count; ++i)
                put(raw);
            continue;
        }
        for (uint32_t i = 0; i < count; ++i)
        {
            if (!ReadIndexFn(cursor, end, value))
                return false;
            put(target.ConvertFrom(value, *LoaderFormat));
        }
    }
    return true;
}

std::unique_ptr<TgaImageLoader> LoadTgaImage(RunFiles& files, std::string_view path)
{
    const std::optional<std::vector<uint8_t>> bytes = files.readWholeFile(path);
    if (!bytes || bytes->size() < TgaHeader::kSize)
        return nullptr;
    MemBuffer buffer = AllocateBuffer(bytes->size());
    if (!buffer)
        return nullptr;
    std::copy(bytes->begin(), bytes->end(), buffer.get());
    return TgaImageLoader::FromFileData(std::move(buffer), bytes->size());
}
