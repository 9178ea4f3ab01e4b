#include "vram/Organiser.h"

#include "report/TexeloAssert.h"
#include "vram/Placement.h"

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

void BuildOriginalList(TextureBank& bank, bool sortTextures)
{
    TEXELO_ASSERT(!bank.OriginalList, "NULL==OriginalList", kTexeloModule);
    std::vector<TextureRecord*> loadOrder;
    loadOrder.reserve(bank.PendingList.size());
    for (const auto& record : bank.PendingList)
        loadOrder.push_back(record.get());
    bank.OriginalList = std::move(loadOrder);
    if (sortTextures)
        std::stable_sort(bank.PendingList.begin(), bank.PendingList.end(),
                         [](const auto& a, const auto& b) { return sortKey(*a) > sortKey(*b); });
}

PlacementResult OrganiseVram(TextureBank& bank, const BankOptions& options)
{
    BuildOriginalList(bank, options.SortTextures);
    return PlaceTextures(bank, options);
}
