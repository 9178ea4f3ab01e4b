#include "BankRecordReader.h"

#include "BankFieldText.h"
#include "convert/TimImage.h"
#include "vram/TbkFormat.h"

namespace tbk
{
namespace
{

constexpr uint32_t kKnownFlags =
    kTimModeMask | kTimFlagHasClut | kTimTransparencyMask << kTimTransparencyShift | kTimTransparencyOn;

// Reads fields and, at the first that fails, names it and its offset.
class FieldReader
{
public:
    explicit FieldReader(BankDamage& damage) : m_damage(damage) {}

    bool u32(ByteReader& reader, uint32_t& value, std::string_view field, std::string_view container)
    {
        const uint64_t at = reader.offset();
        value = reader.u32();
        return !reader.failed() || pastEnd(at, field, container);
    }

    bool u16(ByteReader& reader, uint16_t& value, std::string_view field, std::string_view container)
    {
        const uint64_t at = reader.offset();
        value = reader.u16();
        return !reader.failed() || pastEnd(at, field, container);
    }

    // The four u16 fields DX, DY, W, H of a block.
    bool area(ByteReader& reader, uint16_t (&values)[4], std::string_view block, std::string_view container)
    {
        static constexpr std::string_view kNames[] = {" DX", " DY", " W", " H"};
        for (int i = 0; i < 4; ++i)
        {
            const std::string name = MessageText{} << block << kNames[i];
            if (!u16(reader, values[i], name, container))
                return false;
        }
        return true;
    }

    bool fail(uint64_t offset, std::string what)
    {
        m_damage = {offset, std::move(what)};
        return false;
    }

private:
    bool pastEnd(uint64_t at, std::string_view field, std::string_view container)
    {
        return fail(at, MessageText{} << field << " ends past the end of the " << container);
    }

    BankDamage& m_damage;
};

uint16_t widthInWords(PixelMode mode, uint16_t pixels)
{
    switch (mode)
    {
    case PixelMode::Indexed4:
        return static_cast<uint16_t>((pixels + 3u) / 4u);
    case PixelMode::Indexed8:
        return static_cast<uint16_t>((pixels + 1u) / 2u);
    default:
        return pixels;
    }
}

std::optional<PaletteTag> paletteTag(uint32_t size)
{
    switch (size & kTagMask)
    {
    case kPaletteTag:
        return PaletteTag::Pal;
    case kHomePaletteTag:
        return PaletteTag::HomePal;
    case kAwayPaletteTag:
        return PaletteTag::AwayPal;
    default:
        return std::nullopt;
    }
}

bool readPalette(ByteReader& file, FieldReader& fields, BankRecord& record, uint32_t sizeField)
{
    const std::optional<PaletteTag> tag = paletteTag(sizeField);
    if (!tag)
        return fields.fail(record.offset, MessageText{}
                                              << "record Size " << hex32(sizeField)
                                              << " has bit 31 set but no PAL, HOMEPAL or AWAYPAL tag");
    record.form = RecordForm::Palette;
    record.tag = *tag;
    record.size = sizeField & kPaletteLengthMask;
    if (record.size > file.remaining())
        return fields.fail(record.offset, MessageText{} << "palette record of " << record.size
                                                        << " bytes passes the end of the file ("
                                                        << file.remaining() << " bytes remain)");
    ByteReader body = file.take(record.size);
    uint16_t area[4] = {};
    const uint64_t widthAt = body.offset() + 4;
    if (!fields.area(body, area, "palette", "record"))
        return false;
    ClutArea clut{.offset = widthAt - 4,
                  .dx = area[0],
                  .dy = area[1],
                  .w = area[2],
                  .h = area[3],
                  .count = 1,
                  .entries = area[2]};
    if (kPaletteHeaderBytes + 2u * clut.w != record.size)
        return fields.fail(widthAt, MessageText{} << "palette W " << clut.w << " needs "
                                                  << kPaletteHeaderBytes + 2u * clut.w
                                                  << " bytes, the record holds " << record.size);
    if (clut.h == 0)
        return fields.fail(widthAt + 2, "palette H is 0");
    record.clut = clut;
    return true;
}

// Flags: pixel mode in bits 0-2, a CLUT block with bit 3, and a transparency
// mode in bits 4-5 that counts only with bit 15.
bool readFlags(FieldReader& fields, uint64_t at, uint32_t flags, BankRecord& record)
{
    if ((flags & ~kKnownFlags) != 0)
        return fields.fail(at, MessageText{} << "image flags " << hex32(flags) << " set unknown bits");
    const uint32_t mode = flags & kTimModeMask;
    if (mode > static_cast<uint32_t>(PixelMode::Direct16))
        return fields.fail(at, MessageText{} << "pixel mode " << mode << " is not 4-, 8- or 16-bit");
    record.mode = static_cast<PixelMode>(mode);
    const bool indexed = record.mode != PixelMode::Direct16;
    if (indexed != ((flags & kTimFlagHasClut) != 0))
        return fields.fail(at, MessageText{} << "a " << modeName(*record.mode) << " image "
                                             << (indexed ? "without" : "with") << " a CLUT block");
    const uint32_t transparency = flags >> kTimTransparencyShift & kTimTransparencyMask;
    if ((flags & kTimTransparencyOn) == 0)
    {
        if (transparency != 0)
            return fields.fail(at, MessageText{} << "transparency mode " << transparency
                                                 << " without flag bit 15");
        record.transparency = Transparency::None;
        return true;
    }
    if (transparency > 2)
        return fields.fail(at, MessageText{} << "transparency mode " << transparency << " is unknown");
    record.transparency = static_cast<Transparency>(transparency + 1);
    return true;
}

// The CLUT block: its length must match W x H colours. One exception loads
// all the same: a single-row CLUT whose W was rounded up to a multiple of 16
// over the colours the block holds (an 8-bit image with a short CLUT).
//
// How many CLUTs the block holds follows from the pixel mode: a 4-bit CLUT
// is 16 colours, so W x H / 16 of them whether the copies lie side by side
// or one per row; an 8-bit CLUT is a whole row, so H of them. More than one
// is the several-CLUT form. A single copy written in that form has the same
// bytes as a plain texture and loads the same, so it reads as one.
bool readClutBlock(ByteReader& image, FieldReader& fields, BankRecord& record,
                   std::vector<BankWarning>& warnings)
{
    const uint64_t lengthAt = image.offset();
    uint32_t length = 0;
    if (!fields.u32(image, length, "CLUT block length", "record"))
        return false;
    // The pixel block's header must still fit behind the CLUT block.
    const uint64_t room = image.remaining() + 4;
    if (length < kTimBlockHeaderBytes || length % 2 != 0 || uint64_t{length} + kTimBlockHeaderBytes > room)
        return fields.fail(lengthAt, MessageText{} << "CLUT block length " << length << " does not fit the "
                                                   << room << " bytes left in the record");
    uint16_t area[4] = {};
    if (!fields.area(image, area, "CLUT", "record"))
        return false;
    ClutArea clut{.offset = lengthAt + 4, .dx = area[0], .dy = area[1], .w = area[2], .h = area[3]};
    const uint64_t widthAt = lengthAt + 8;
    const uint64_t declared = uint64_t{clut.w} * clut.h;
    clut.entries = static_cast<uint32_t>((length - kTimBlockHeaderBytes) / 2);
    if (declared == 0)
        return fields.fail(widthAt,
                           MessageText{} << "CLUT of " << clut.w << " x " << clut.h << " has no entries");
    const bool shortRow =
        clut.h == 1 && clut.entries < clut.w &&
        (clut.entries + kClutRowRounding - 1) / kClutRowRounding * kClutRowRounding == clut.w;
    if (declared != clut.entries && !shortRow)
        return fields.fail(widthAt, MessageText{} << "CLUT of " << clut.w << " x " << clut.h << " needs "
                                                  << kTimBlockHeaderBytes + 2 * declared
                                                  << " bytes, its block holds " << length);
    if (shortRow)
        warnings.push_back({widthAt, MessageText{} << "CLUT W is " << clut.w << " but its block holds "
                                                   << clut.entries << " colours"});
    if (record.mode == PixelMode::Indexed4)
    {
        if (declared % kClut4Entries != 0)
            return fields.fail(widthAt, MessageText{} << "a 4-bit CLUT area of " << declared
                                                      << " entries is no whole number of 16-entry CLUTs");
        clut.count = static_cast<uint32_t>(declared / kClut4Entries);
    }
    else
    {
        // An 8-bit image's CLUT is a whole row: copies go one per row.
        clut.count = clut.h;
    }
    image.skip(length - kTimBlockHeaderBytes);
    record.clut = clut;
    return true;
}

bool readPixelBlock(ByteReader& image, FieldReader& fields, BankRecord& record)
{
    const uint64_t lengthAt = image.offset();
    const uint64_t left = image.remaining();
    uint32_t length = 0;
    if (!fields.u32(image, length, "pixel block length", "record"))
        return false;
    if (length != left)
        return fields.fail(lengthAt, MessageText{} << "pixel block length " << length
                                                   << " does not match the " << left
                                                   << " bytes left in the record");
    uint16_t area[4] = {};
    if (!fields.area(image, area, "pixel", "record"))
        return false;
    PixelArea pixels{
        .offset = lengthAt + 4, .dx = area[0], .dy = area[1], .widthPixels = area[2], .height = area[3]};
    pixels.widthWords = widthInWords(*record.mode, pixels.widthPixels);
    const uint64_t needed = kTimBlockHeaderBytes + 2 * uint64_t{pixels.widthWords} * pixels.height;
    if (needed != length)
        return fields.fail(lengthAt + 8, MessageText{} << "a " << modeName(*record.mode) << " image of "
                                                       << pixels.widthPixels << " x " << pixels.height
                                                       << " pixels needs " << needed
                                                       << " bytes, its block holds " << length);
    record.pixels = pixels;
    return true;
}

bool readImage(ByteReader& file, FieldReader& fields, BankRecord& record, std::vector<BankWarning>& warnings)
{
    if (record.size > file.remaining())
        return fields.fail(record.offset, MessageText{} << "record of " << record.size
                                                        << " bytes passes the end of the file ("
                                                        << file.remaining() << " bytes remain)");
    if (record.size < kTimFirstBlock + kTimBlockHeaderBytes)
        return fields.fail(record.offset,
                           MessageText{} << "record Size " << record.size << " is too small for an image");
    ByteReader image = file.take(record.size);
    const uint64_t idAt = image.offset();
    uint32_t imageId = 0;
    uint32_t flags = 0;
    if (!fields.u32(image, imageId, "image id", "record") ||
        !fields.u32(image, flags, "image flags", "record"))
        return false;
    if (imageId != kTimId)
        return fields.fail(idAt, MessageText{} << "image id " << hex32(imageId) << " is not 0x00000010");
    if (!readFlags(fields, idAt + 4, flags, record))
        return false;
    if ((flags & kTimFlagHasClut) != 0 && !readClutBlock(image, fields, record, warnings))
        return false;
    if (!readPixelBlock(image, fields, record))
        return false;
    if (record.clut && record.clut->count > 1)
        record.form = RecordForm::SeveralCluts;
    return true;
}

} // namespace

std::optional<BankRecord> readBankRecord(ByteReader& file, BankDamage& damage,
                                         std::vector<BankWarning>& warnings)
{
    FieldReader fields(damage);
    BankRecord record;
    record.offset = file.offset();
    uint32_t sizeField = 0;
    if (!fields.u32(file, sizeField, "record Size", "file") ||
        !fields.u32(file, record.id, "record Id", "file"))
        return std::nullopt;
    if ((sizeField & kPaletteBit) != 0)
    {
        if (!readPalette(file, fields, record, sizeField))
            return std::nullopt;
        return record;
    }
    record.size = sizeField;
    if (!readImage(file, fields, record, warnings))
        return std::nullopt;
    return record;
}

} // namespace tbk
