#include "vram/BankWriter.h"

#include "convert/LittleEndian.h"
#include "files/PathLookup.h"
#include "report/TexeloAssert.h"
#include "vram/TbkFormat.h"

#include <algorithm>
#include <unordered_map>

namespace
{

// Appends `bytes` bytes of CLUT entries; entries the record lacks are 0.
void putClutEntries(std::vector<uint8_t>& out, const std::vector<uint16_t>& clut, uint32_t bytes)
{
    for (uint32_t i = 0; i < bytes / 2; ++i)
        putLittle16(out, i < clut.size() ? clut[i] : 0);
}

uint32_t paletteTag(const TextureRecord& record)
{
    switch (static_cast<HomeAwayKind>(record.HomeAway))
    {
    case HomeAwayKind::Home:
        return tbk::kHomePaletteTag;
    case HomeAwayKind::Away:
        return tbk::kAwayPaletteTag;
    default:
        return tbk::kPaletteTag;
    }
}

// The record's TIM with its transparency mode in the flags and its VRAM
// positions in the block headers.
std::vector<uint8_t> placedTim(const TextureRecord& record)
{
    const TimPlacement placement{record.SemiTrans,
                                 record.ClutX,
                                 record.ClutY,
                                 record.ClutWidth,
                                 static_cast<uint16_t>(record.ClutExtraRows + 1),
                                 record.X,
                                 record.Y};
    return EncodeTim(*record.TimData, placement);
}

void writePaletteRecord(const TextureRecord& record, std::vector<uint8_t>& out)
{
    const uint32_t rowBytes = record.ClutWidth * 2u;
    putLittle32(out, (rowBytes + tbk::kPaletteHeaderBytes) | paletteTag(record));
    putLittle32(out, record.Id);
    putLittle16(out, record.ClutX);
    putLittle16(out, record.ClutY);
    putLittle16(out, record.ClutWidth);
    putLittle16(out, record.ClutExtraRows + 1u);
    putClutEntries(out, record.ClutData, rowBytes);
}

void writeMultiClutRecord(const TextureRecord& record, const std::vector<uint8_t>& image,
                          std::vector<uint8_t>& out)
{
    const uint32_t copies = record.ClutCopies;
    const uint32_t bytesPerCopy =
        record.Kind == static_cast<uint8_t>(TimKind::Indexed8) ? record.ClutWidth * 2u : tbk::kClut4Bytes;
    const uint32_t clutBlockLength = copies * bytesPerCopy + static_cast<uint32_t>(kTimBlockHeaderBytes);
    const std::size_t pixelBlock = kTimFirstBlock + record.TimData->clutBlockBytes();
    const std::size_t pixelBytes = image.size() - pixelBlock;
    // The size counts the bytes that follow, so it stays true also when the
    // texture's own CLUT was shorter than a CLUT row.
    putLittle32(out, static_cast<uint32_t>(kTimFirstBlock + clutBlockLength + pixelBytes));
    putLittle32(out, record.Id);
    out.insert(out.end(), image.begin(), image.begin() + kTimFirstBlock);
    putLittle32(out, clutBlockLength);
    putLittle16(out, record.ClutX);
    putLittle16(out, record.ClutY);
    putLittle16(out, record.ClutWidth);
    putLittle16(out, record.ClutExtraRows + 1u);
    putClutEntries(out, record.ClutData, copies * bytesPerCopy);
    out.insert(out.end(), image.begin() + static_cast<std::ptrdiff_t>(pixelBlock), image.end());
}

// Puts PendingList back into load order, as OriginalList remembers it.
void restoreLoadOrder(TextureBank& bank)
{
    std::unordered_map<const TextureRecord*, std::size_t> position;
    for (std::size_t i = 0; i < bank.OriginalList->size(); ++i)
        position[(*bank.OriginalList)[i]] = i;
    std::stable_sort(bank.PendingList.begin(), bank.PendingList.end(),
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
    if (!record.TimData)
        return;
    const std::vector<uint8_t> image = placedTim(record);
    if (record.ClutCopies == 0)
    {
        putLittle32(out, static_cast<uint32_t>(image.size()));
        putLittle32(out, record.Id);
        out.insert(out.end(), image.begin(), image.end());
        return;
    }
    writeMultiClutRecord(record, image, out);
}

void RaiseLowCluts(TextureBank& bank, uint8_t group)
{
    const auto hasImageAndClut = [group](const TextureRecord& record)
    { return record.Group == group && record.Width != 0 && record.HasClut; };
    uint32_t imagesEnd = 0;
    for (const auto& record : bank.PendingList)
        if (record->Group == group && record->Width != 0)
            imagesEnd = std::max<uint32_t>(imagesEnd, record->Y + record->Height);
    // A CLUT that starts above the images' end but reaches below it stays,
    // and the others move up only to below it, so that none lands on another.
    uint32_t clutsFrom = imagesEnd;
    for (bool raised = true; raised;)
    {
        raised = false;
        for (const auto& record : bank.PendingList)
        {
            const uint32_t clutEnd = record->ClutY + record->ClutExtraRows + 1u;
            if (hasImageAndClut(*record) && record->ClutY < clutsFrom && clutEnd > clutsFrom)
            {
                clutsFrom = clutEnd;
                raised = true;
            }
        }
    }
    // CLUT rows count up from the band's bottom line, so row 255 lands on
    // clutsFrom and the rows above it follow.
    for (const auto& record : bank.PendingList)
        if (hasImageAndClut(*record) && record->ClutY >= clutsFrom)
            record->ClutY = static_cast<uint16_t>(clutsFrom + 255 - (record->ClutY + record->ClutExtraRows));
}

uint32_t GroupHeight(const TextureBank& bank, const BankOptions& options, uint8_t group)
{
    uint32_t height = 0;
    for (const auto& record : bank.PendingList)
    {
        if (record->Group != group || record->Width == 0)
            continue;
        height = std::max<uint32_t>(height, record->Y + record->Height);
        // Every CLUT beside the images counts: one of several rows beside
        // taller images must not be cut off.
        if (record->HasClut && !options.BankSeparateCluts)
            height = std::max<uint32_t>(height, record->ClutY + record->ClutExtraRows);
    }
    return std::min(height + 1, tbk::kBandLines);
}

bool WriteBank(TextureBank& bank, const BankOptions& options, TexeloReporter& reporter, RunFiles& files)
{
    if (bank.TextureCount == 0)
    {
        reporter.ShowMessage("Couldn't find any textures\n");
        reporter.error(
            formatText("bank %s.TBK not written: no texture was loaded for it", options.BankName.c_str()));
        return false;
    }
    TEXELO_ASSERT(bank.OriginalList, "OriginalList", kTexeloModule);
    restoreLoadOrder(bank);

    const std::string path = options.BankName + ".TBK";
    const std::string posixPath = toPosixPath(path);
    RunOutput file = files.output();
    if (!file.open(posixPath))
    {
        reporter.print(formatText("Couldn't open output file %s\n", path.c_str()));
        reporter.error(
            formatText("cannot create bank %s: %s", posixPath.c_str(), systemReason(file.error()).c_str()));
        return false;
    }
    reporter.inform("Saving Textures...\n");

    uint8_t groupCount = 0;
    while (groupCount < bank.GroupWidths.size() && bank.GroupWidths[groupCount] != 0)
        ++groupCount;
    const auto written = [&](const TextureRecord& record)
    { return record.Group >= 1 && record.Group <= groupCount; };

    std::vector<uint8_t> bytes;
    putLittle32(bytes, static_cast<uint32_t>(std::count_if(bank.PendingList.begin(), bank.PendingList.end(),
                                                           [&](const auto& r) { return written(*r); })));
    putLittle32(bytes, options.BankSeparateCluts
                           ? static_cast<uint32_t>(bank.ClutRow - tbk::kSeparateAreaFirstRow)
                           : 0u);
    for (uint8_t group = 1; group <= groupCount; ++group)
    {
        if (!options.BankSeparateCluts)
            RaiseLowCluts(bank, group);
        putLittle32(bytes, bank.GroupWidths[group - 1u]);
        putLittle32(bytes, GroupHeight(bank, options, group));
        const auto inGroup = [group](const auto& r) { return r->Group == group && r->Width != 0; };
        putLittle32(bytes, static_cast<uint32_t>(
                               std::count_if(bank.PendingList.begin(), bank.PendingList.end(), inGroup)));
        for (const auto& record : bank.PendingList)
        {
            if (!inGroup(record))
                continue;
            WriteBankRecord(*record, bytes);
        }
    }
    if (!file.write(bytes.data(), bytes.size()) || !file.commit())
    {
        reporter.print(formatText("Couldn't write output file %s\n", path.c_str()));
        reporter.error(
            formatText("cannot write bank %s: %s", posixPath.c_str(), systemReason(file.error()).c_str()));
        return false;
    }
    files.noteWritten(posixPath);
    return true;
}
