#include "BankModel.h"

namespace tbk
{

uint64_t recordCount(const Bank& bank)
{
    uint64_t count = 0;
    for (const BankGroup& group : bank.groups)
        count += group.records.size();
    return count;
}

uint32_t occupancyTenths(const BankGroup& group)
{
    constexpr uint64_t kPageWords = 64;
    constexpr uint64_t kTenthsOfPercent = 1000;
    const uint64_t groupArea = group.columns * kPageWords * group.lines;
    if (groupArea == 0)
        return 0;
    uint64_t textureArea = 0;
    for (const BankRecord& record : group.records)
        if (record.pixels)
            textureArea += uint64_t{record.pixels->widthWords} * record.pixels->height;
    // Images may overlap or reach past a damaged group, so the figure may
    // pass 100%; 64-bit products cannot overflow with 16-bit sizes.
    return static_cast<uint32_t>((textureArea * kTenthsOfPercent * 2 + groupArea) / (groupArea * 2));
}

std::string_view formName(RecordForm form)
{
    switch (form)
    {
    case RecordForm::Palette:
        return "palette";
    case RecordForm::SeveralCluts:
        return "several-cluts";
    default:
        return "texture";
    }
}

std::string_view tagName(PaletteTag tag)
{
    switch (tag)
    {
    case PaletteTag::Pal:
        return "PAL";
    case PaletteTag::HomePal:
        return "HOMEPAL";
    case PaletteTag::AwayPal:
        return "AWAYPAL";
    default:
        return "";
    }
}

std::string_view modeName(PixelMode mode)
{
    switch (mode)
    {
    case PixelMode::Indexed4:
        return "4-bit";
    case PixelMode::Indexed8:
        return "8-bit";
    default:
        return "16-bit";
    }
}

std::string_view transparencyName(Transparency transparency)
{
    switch (transparency)
    {
    case Transparency::Trans:
        return "TRANS";
    case Transparency::Alpha:
        return "ALPHA";
    case Transparency::Sub:
        return "SUB";
    default:
        return "none";
    }
}

} // namespace tbk
