#include "BankPlacementCheck.h"

#include "BankFieldText.h"

#include <algorithm>

namespace tbk
{
namespace
{

constexpr uint64_t kPageWords = 64;
constexpr uint64_t kSeparateAreaWords = 64;

struct Box
{
    uint64_t width = 0;
    uint64_t lines = 0;
};

void checkArea(Bank& bank, uint64_t offset, std::string_view what, uint64_t dx, uint64_t dy, uint64_t width,
               uint64_t height, Box box, std::string_view boxName)
{
    if (dx + width <= box.width && dy + height <= box.lines)
        return;
    bank.warnings.push_back({offset, MessageText{} << what << " at " << dx << "," << dy << " of " << width
                                                   << " x " << height << " words leaves " << boxName << " of "
                                                   << box.width << " x " << box.lines << " words"});
}

} // namespace

void checkPlacement(Bank& bank)
{
    const bool separate = bank.separateRows != 0;
    const Box separateArea{kSeparateAreaWords, bank.separateRows};
    for (const BankGroup& group : bank.groups)
    {
        const Box groupBox{group.columns * kPageWords, group.lines};
        for (const BankRecord& record : group.records)
        {
            if (const auto& p = record.pixels)
                checkArea(bank, p->offset, "image", p->dx, p->dy, p->widthWords, p->height, groupBox,
                          "its group");
            if (const auto& c = record.clut)
                checkArea(bank, c->offset, "CLUT", c->dx, c->dy, c->w, c->h,
                          separate ? separateArea : groupBox,
                          separate ? "the separate CLUT area" : "its group");
        }
    }
    std::stable_sort(bank.warnings.begin(), bank.warnings.end(),
                     [](const BankWarning& a, const BankWarning& b) { return a.offset < b.offset; });
}

} // namespace tbk
