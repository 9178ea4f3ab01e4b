#include "vram/Organiser.h"

#include "vram/BankWriter.h"
#include "vram/Placement.h"
#include "report/TexeloAssert.h"

#include <algorithm>

namespace
{
constexpr uint16_t kTiledBonus = 256;
} // namespace

uint16_t sortKey(const TextureRecord& record)
{
    uint32_t key = record.Width;
    if (record.Kind == static_cast<uint8_t>(TimKind::Indexed8) && record.Width < record.ClutWidth)
        key += record.ClutWidth;
    if (record.Tiled)
        key += kTiledBonus;
    return static_cast<uint16_t>(key);
}

void BuildOriginalList(TexeloContext& ctx)
{
    TEXELO_ASSERT(!ctx.OriginalList, "NULL==OriginalList", kTexeloModule);
    std::vector<TextureRecord*> loadOrder;
    loadOrder.reserve(ctx.PendingList.size());
    for (const auto& record : ctx.PendingList)
        loadOrder.push_back(record.get());
    ctx.OriginalList = std::move(loadOrder);
    if (ctx.state.SortTextures)
        std::stable_sort(ctx.PendingList.begin(), ctx.PendingList.end(),
                         [](const auto& a, const auto& b) { return sortKey(*a) > sortKey(*b); });
}

bool OrganiseVram(TexeloContext& ctx)
{
    if (ctx.PendingList.empty())
        return true;
    BuildOriginalList(ctx);
    ctx.Skyline.fill(0);
    if (!PlaceTextures(ctx))
    {
        ctx.reporter.ReportError("Unable to fit textures into maximum VRAM space!");
        return false;
    }
    WriteBank(ctx);
    return true;
}
