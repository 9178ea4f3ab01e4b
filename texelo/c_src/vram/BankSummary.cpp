#include "vram/BankSummary.h"

#include "vram/VramGeometry.h"

#include <algorithm>
#include <set>
#include <utility>

namespace
{

// The separate CLUT area: the last page column of the bottom band.
constexpr int kSeparateAreaX = kVramWidth - kPageWidth;
constexpr int kSeparateAreaY = kBandHeight;

PlacedClut clutOf(const TextureRecord& record, bool separateCluts)
{
    PlacedClut clut;
    clut.dx = record.ClutX;
    clut.dy = record.ClutY;
    clut.width = record.ClutWidth;
    clut.rows = static_cast<uint16_t>(record.ClutExtraRows + 1);
    clut.separate = separateCluts;
    clut.vramX = separateCluts ? kSeparateAreaX + record.ClutX : record.ClutGroupX + record.ClutX;
    clut.vramY = separateCluts ? kSeparateAreaY + record.ClutY : record.ClutGroupY + record.ClutY;
    clut.sharedWith = record.ClutSharedWith;
    return clut;
}

} // namespace

BankSummary summariseBank(const TextureBank& bank, bool separateCluts, std::string file, unsigned line)
{
    BankSummary summary;
    summary.file = std::move(file);
    summary.line = line;
    const auto groups = static_cast<std::size_t>(
        std::find(bank.GroupWidths.begin(), bank.GroupWidths.end(), 0) - bank.GroupWidths.begin());
    std::set<std::pair<int, int>> clutsCounted;
    for (const auto& record : bank.PendingList)
    {
        // What the bank file holds: placed records of its groups with an image.
        if (record->Group == 0 || record->Group > groups || record->Width == 0)
            continue;
        PlacedTexture texture;
        texture.id = record->Id;
        texture.name = record->NameAsWritten;
        texture.source = record->SourcePath;
        texture.line = record->ScriptLine;
        texture.colours = record->ColourCount;
        texture.depth = bitsPerTexel(static_cast<TimKind>(record->Kind));
        texture.group = record->Group;
        texture.dx = record->X;
        texture.dy = record->Y;
        texture.widthWords = record->Width;
        texture.widthPixels = record->PixelWidth;
        texture.height = record->Height;
        texture.vramX = record->GroupX + record->X;
        texture.vramY = record->GroupY + record->Y;
        texture.semiTransparency = record->SemiTrans == 0 ? -1 : record->SemiTrans & 0x7F;
        texture.paletteOnly = record->PaletteOnly != 0;
        texture.tiled = record->Tiled != 0;
        if (record->HasClut)
        {
            texture.clut = clutOf(*record, separateCluts);
            if (clutsCounted.insert({texture.clut->vramX, texture.clut->vramY}).second)
                summary.clutWords += uint64_t{texture.clut->width} * texture.clut->rows;
        }
        if (!texture.paletteOnly)
            summary.imageWords += uint64_t{texture.widthWords} * texture.height;
        summary.textures.push_back(std::move(texture));
    }
    std::sort(summary.textures.begin(), summary.textures.end(),
              [](const PlacedTexture& a, const PlacedTexture& b) { return a.id < b.id; });
    return summary;
}
