#include "vram/BankWriter.h"

#include "AtomicOutputFile.h"
#include "files/PathLookup.h"
#include "report/TexeloAssert.h"
#include "convert/TimImage.h"

#include <algorithm>
#include <unordered_map>

namespace
{

constexpr uint32_t kBandLines = 256;
constexpr uint32_t kPaletteTag = 0x80000000;
constexpr uint32_t kHomePaletteTag = 0xC0000000;
constexpr uint32_t kAwayPaletteTag = 0xA0000000;
constexpr uint32_t kClut4Bytes = 32;

void put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// Appends `bytes` bytes of CLUT entries; entries the record lacks are 0.
void putClutEntries(std::vector<uint8_t>& out, const std::vector<uint16_t>& clut, uint32_t bytes)
{
    for (uint32_t i = 0; i < bytes / 2; ++i)
        put16(out, i < clut.size() ? clut[i] : 0);
}

uint32_t paletteTag(const TextureRecord& record)
{
    switch (static_cast<HomeAwayKind>(record.HomeAway))
    {
    case HomeAwayKind::Home:
        return kHomePaletteTag;
    case HomeAwayKind::Away:
        return kAwayPaletteTag;
    default:
        return kPaletteTag;
    }
}

// The record's TIM with its transparency mode in the flags and its VRAM
// positions in the block headers.
std::vector<uint8_t> patchedTim(const TextureRecord& record, const tim::Layout& layout)
{
    std::vector<uint8_t> image = record.TimData;
    image[tim::kFlagsOffset] |= static_cast<uint8_t>((record.SemiTrans & 0x0F) << 4);
    image[tim::kFlagsOffset + 1] |= static_cast<uint8_t>(record.SemiTrans & 0x80);
    if (layout.hasClut)
    {
        tim::write16(image, layout.clutBlock + tim::kBlockX, record.ClutX);
        tim::write16(image, layout.clutBlock + tim::kBlockY, record.ClutY);
        tim::write16(image, layout.clutBlock + tim::kBlockW, record.ClutWidth);
        tim::write16(image, layout.clutBlock + tim::kBlockH, static_cast<uint16_t>(record.ClutExtraRows + 1));
    }
    tim::write16(image, layout.pixelBlock + tim::kBlockX, record.X);
    tim::write16(image, layout.pixelBlock + tim::kBlockY, record.Y);
    return image;
}

void writePaletteRecord(const TextureRecord& record, std::vector<uint8_t>& out)
{
    const uint32_t rowBytes = record.ClutWidth * 2u;
    put32(out, (rowBytes + 8) | paletteTag(record));
    put32(out, record.Id);
    put16(out, record.ClutX);
    put16(out, record.ClutY);
    put16(out, record.ClutWidth);
    put16(out, record.ClutExtraRows + 1u);
    putClutEntries(out, record.ClutData, rowBytes);
}

void writeMultiClutRecord(const TextureRecord& record, const std::vector<uint8_t>& image,
                          const tim::Layout& layout, std::vector<uint8_t>& out)
{
    const uint32_t copies = record.ClutCopies;
    const uint32_t bytesPerCopy =
        record.Kind == static_cast<uint8_t>(TimKind::Indexed8) ? record.ClutWidth * 2u : kClut4Bytes;
    const uint32_t clutBlockLength = copies * bytesPerCopy + static_cast<uint32_t>(tim::kBlockHeaderBytes);
    const std::size_t pixelBytes = image.size() - layout.pixelBlock;
    // The size counts the bytes that follow, so it stays true also when the
    // texture's own CLUT was shorter than a CLUT row.
    put32(out, static_cast<uint32_t>(tim::kFirstBlock + clutBlockLength + pixelBytes));
    put32(out, record.Id);
    out.insert(out.end(), image.begin(), image.begin() + tim::kFirstBlock);
    put32(out, clutBlockLength);
    put16(out, record.ClutX);
    put16(out, record.ClutY);
    put16(out, record.ClutWidth);
    put16(out, record.ClutExtraRows + 1u);
    putClutEntries(out, record.ClutData, copies * bytesPerCopy);
    out.insert(out.end(), image.begin() + static_cast<std::ptrdiff_t>(layout.pixelBlock), image.end());
}

// Puts PendingList back into load order, as OriginalList remembers it.
void restoreLoadOrder(TexeloContext& ctx)
{
    std::unordered_map<const TextureRecord*, std::size_t> position;
    for (std::size_t i = 0; i < ctx.OriginalList->size(); ++i)
        position[(*ctx.OriginalList)[i]] = i;
    std::stable_sort(ctx.PendingList.begin(), ctx.PendingList.end(),
                     [&](const auto& a, const auto& b) { return position[a.get()] < position[b.get()]; });
}

} // namespace

void WriteBankRecord(const TextureRecord& record, std::vector<uint8_t>& out)
{
    const bool paletteForm = record.ClutCopies == 0 && record.PaletteOnly;
    if (paletteForm)
    {
        writePaletteRecord(record, out);
        return;
    }
    const std::optional<tim::Layout> layout = tim::parse(record.TimData);
    if (!layout)
        return;
    const std::vector<uint8_t> image = patchedTim(record, *layout);
    if (record.ClutCopies == 0)
    {
        put32(out, static_cast<uint32_t>(image.size()));
        put32(out, record.Id);
        out.insert(out.end(), image.begin(), image.end());
        return;
    }
    writeMultiClutRecord(record, image, *layout, out);
}

uint32_t GroupHeight(TexeloContext& ctx, uint8_t group)
{
    uint32_t imagesEnd = 0;
    for (const auto& record : ctx.PendingList)
        if (record->Group == group && record->Width != 0)
            imagesEnd = std::max<uint32_t>(imagesEnd, record->Y + record->Height);

    uint32_t height = imagesEnd;
    // CLUTs below the images move up to sit right under them. A CLUT that
    // starts above that line but reaches below it stays, and the others
    // move up only to below it, so that none lands on another.
    uint32_t clutsFrom = imagesEnd;
    for (bool raised = !ctx.state.BankSeparateCluts; raised;)
    {
        raised = false;
        for (const auto& record : ctx.PendingList)
        {
            const uint32_t clutEnd = record->ClutY + record->ClutExtraRows + 1u;
            if (record->Group == group && record->Width != 0 && record->HasClut && record->ClutY < clutsFrom &&
                clutEnd > clutsFrom)
            {
                clutsFrom = clutEnd;
                raised = true;
            }
        }
    }
    for (const auto& record : ctx.PendingList)
    {
        if (record->Group != group || record->Width == 0 || !record->HasClut)
            continue;
        if (!ctx.state.BankSeparateCluts)
        {
            if (record->ClutY >= clutsFrom)
                record->ClutY = static_cast<uint16_t>(clutsFrom + 255 - (record->ClutY + record->ClutExtraRows));
            // Every CLUT counts, moved or not: one of several rows beside
            // taller images must not be cut off.
            height = std::max<uint32_t>(height, record->ClutY + record->ClutExtraRows);
        }
    }
    return std::min(height + 1, kBandLines);
}

void WriteBank(TexeloContext& ctx)
{
    if (ctx.TextureCount == 0)
    {
        ctx.reporter.ShowMessage("Couldn't find any textures\n");
        return;
    }
    TEXELO_ASSERT(ctx.OriginalList, "OriginalList", kTexeloModule);
    restoreLoadOrder(ctx);

    const std::string path = ctx.state.BankName + ".TBK";
    AtomicOutputFile file;
    if (!file.open(toPosixPath(path)))
    {
        ctx.reporter.print(formatText("Couldn't open output file %s\n", path.c_str()));
        return;
    }
    ctx.reporter.print("Saving Textures...\n");

    uint8_t groupCount = 0;
    while (groupCount < ctx.GroupWidths.size() && ctx.GroupWidths[groupCount] != 0)
        ++groupCount;
    const auto written = [&](const TextureRecord& record) {
        return record.Group >= 1 && record.Group <= groupCount;
    };

    std::vector<uint8_t> bytes;
    put32(bytes, static_cast<uint32_t>(std::count_if(ctx.PendingList.begin(), ctx.PendingList.end(),
                                                     [&](const auto& r) { return written(*r); })));
    put32(bytes, ctx.state.BankSeparateCluts ? static_cast<uint32_t>(ctx.ClutRow - 255) : 0u);
    for (uint8_t group = 1; group <= groupCount; ++group)
    {
        put32(bytes, ctx.GroupWidths[group - 1u]);
        put32(bytes, GroupHeight(ctx, group));
        const auto inGroup = [group](const auto& r) { return r->Group == group && r->Width != 0; };
        put32(bytes, static_cast<uint32_t>(std::count_if(ctx.PendingList.begin(), ctx.PendingList.end(), inGroup)));
        for (const auto& record : ctx.PendingList)
        {
            if (!inGroup(record))
                continue;
            WriteBankRecord(*record, bytes);
            record->releaseData();
        }
    }
    if (!file.write(bytes.data(), bytes.size()) || !file.commit())
        ctx.reporter.print(formatText("Couldn't write output file %s\n", path.c_str()));
}
