#include "MapHover.h"

#include "convert/TimImage.h"
#include "report/TexeloReporter.h"
#include "vram/VramGeometry.h"

namespace
{

bool inside(int64_t value, int64_t start, int64_t length)
{
    return value >= start && value < start + length;
}

bool onTexture(const TextureRecord& record, VramPoint point)
{
    return inside(point.x, int64_t{record.GroupX} + record.X, record.Width) &&
           inside(point.y, int64_t{record.GroupY} + record.Y, record.Height);
}

int64_t clutLeft(const TextureRecord& record)
{
    return int64_t{record.ClutGroupX} + record.ClutX;
}

int64_t clutTop(const TextureRecord& record)
{
    return int64_t{record.ClutGroupY} + record.ClutY;
}

bool onClut(const TextureRecord& record, VramPoint point)
{
    return record.HasClut && inside(point.x, clutLeft(record), record.ClutWidth) &&
           inside(point.y, clutTop(record), record.ClutExtraRows + int64_t{1});
}

std::string depthText(const TextureRecord& record)
{
    switch (static_cast<TimKind>(record.Kind))
    {
    case TimKind::Indexed4:
        return record.Tiled ? "4-bit, tiled" : "4-bit";
    case TimKind::Indexed8:
        return "8-bit";
    case TimKind::Direct16:
        return "16-bit";
    default:
        return "24-bit";
    }
}

std::string clutText(const TextureRecord& record)
{
    if (!record.HasClut)
        return "CLUT: none";
    std::string text = formatText("CLUT: %lld,%lld", static_cast<long long>(clutLeft(record)),
                                  static_cast<long long>(clutTop(record)));
    if (record.ClutExtraRows != 0)
        text += formatText(", %u rows", record.ClutExtraRows + 1u);
    return text;
}

std::string textureText(const TextureRecord& record)
{
    return record.NameAsWritten + "\nsource: " + record.SourcePath + "\ndepth: " + depthText(record) +
           formatText("\nsize: %u x %u words, %u x %u texels\nVRAM: %u,%u\n", record.Width, record.Height,
                      record.PixelWidth, record.Height, record.GroupX + record.X, record.GroupY + record.Y) +
           clutText(record);
}

} // namespace

std::optional<VramPoint> vramPointAt(const MapGeometry& map, int x, int y)
{
    const int64_t across = int64_t{x} - map.MapLeft;
    const int64_t down = int64_t{y} - map.MapTop;
    if (map.MapWidth <= 0 || map.MapHeight <= 0 || across < 0 || down < 0)
        return std::nullopt;
    // Word w starts at pixel floor(w * MapWidth / 1024): the last word that
    // starts at or before a pixel is the one drawn there.
    const VramPoint point{((across + 1) * kVramWidth - 1) / map.MapWidth,
                          ((down + 1) * kVramHeight - 1) / map.MapHeight};
    if (point.x >= kVramWidth || point.y >= kVramHeight)
        return std::nullopt;
    return point;
}

std::string hoverText(const ShownBank& shown, VramPoint point)
{
    // Later records are drawn over earlier ones.
    for (auto it = shown.records.rbegin(); it != shown.records.rend(); ++it)
        if ((*it)->Group != 0 && onTexture(**it, point))
            return textureText(**it);
    std::string users;
    const TextureRecord* clut = nullptr;
    for (const std::unique_ptr<TextureRecord>& record : shown.records)
        if (record->Group != 0 && onClut(*record, point))
        {
            users += (users.empty() ? "" : ", ") + record->NameAsWritten;
            clut = clut != nullptr ? clut : record.get();
        }
    if (clut == nullptr)
        return {};
    return formatText("CLUT %u x %u at %lld,%lld\nused by: ", clut->ClutWidth, clut->ClutExtraRows + 1u,
                      static_cast<long long>(clutLeft(*clut)), static_cast<long long>(clutTop(*clut))) +
           users;
}
