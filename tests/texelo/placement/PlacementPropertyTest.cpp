// Properties every successful placement must have, checked on a few hundred
// seeded random banks: sizes and depths, tiled textures, NULL and palette
// lines, shared and multi-row CLUTs, with and without SEPERATE, EDGE, SORT
// and MATCHCLUTS.

#include "ExpectedBank.h"
#include "InMemoryBank.h"
#include "texelo/TempFolder.h"
#include "vram/BankWriter.h"

#include <functional>
#include <map>
#include <random>

namespace
{

constexpr uint32_t kBanks = 400;
constexpr int kBandLines = 256;

struct Dice
{
    std::mt19937 engine;
    int pick(int low, int high)
    {
        return low + static_cast<int>(engine() % static_cast<uint32_t>(high - low + 1));
    }
    bool chance(int percent) { return pick(0, 99) < percent; }
};

struct Shape
{
    TimKind kind;
    uint16_t width, height, clutWidth = 16, extraRows = 0;
    bool tiled = false;
    int palette = -1;
};

// The record with a one-texel TIM of its depth; the TIM's size does not
// matter, the bank writer only sets the positions in its blocks.
void add(InMemoryBank& bank, const Shape& s)
{
    const std::size_t clutEntries = s.kind == k4 ? 16 : s.kind == k8 ? 256 : 0;
    bank.add(s.kind, s.width, s.height, s.palette, s.clutWidth, s.extraRows, s.tiled).TimData =
        std::make_unique<TimImage>(TimImage{s.kind, std::vector<uint16_t>(clutEntries, 0x1234), 1, 1, {0, 0}});
}

// A random bank, placed; nullptr when it could not be.
std::unique_ptr<InMemoryBank> placedRandomBank(uint32_t seed, bool alwaysSeparate)
{
    Dice dice{std::mt19937(seed)};
    const bool separate = dice.chance(25) || alwaysSeparate;
    auto bank = std::make_unique<InMemoryBank>(true, separate);
    bank->ctx.state.EdgeClear = dice.chance(20);
    bank->ctx.state.SortTextures = dice.chance(75);
    bank->ctx.state.MatchCluts = dice.chance(80);
    for (int i = dice.pick(1, 60); i > 0; --i)
    {
        const int roll = dice.pick(0, 99);
        const int palette = dice.pick(0, 5); // few palettes: sharing is common
        if (roll < 4)
            bank->placeholder();
        else if (roll < 8)
            bank->paletteOnly(palette);
        else
        {
            const auto kind = static_cast<TimKind>(dice.pick(0, 2));
            const int texels = dice.chance(60) ? dice.pick(1, 64) : dice.pick(1, 256);
            const auto width = static_cast<uint16_t>(kind == k4   ? (texels + 3) / 4
                                                     : kind == k8 ? (texels + 1) / 2
                                                                  : texels);
            const auto height = static_cast<uint16_t>(dice.chance(60) ? dice.pick(1, 64) : dice.pick(1, 256));
            const bool tiled = dice.chance(10);
            const int remap = dice.pick(0, 9); // 0: remapped across, 1: remapped down
            uint16_t clutWidth = 16, extraRows = 0;
            if (kind == k4)
            {
                clutWidth = static_cast<uint16_t>(remap == 0 ? 16 * dice.pick(2, 4) : 16);
                extraRows = static_cast<uint16_t>(remap == 1 ? dice.pick(1, 3) : 0);
            }
            else if (kind == k8)
            {
                static constexpr uint16_t kWidths[] = {16, 32, 48, 64, 128, 256};
                clutWidth = kWidths[dice.pick(0, separate && !dice.chance(5) ? 3 : 5)];
                extraRows = remap == 1 ? 1 : 0;
            }
            add(*bank, {kind, width, height, clutWidth, extraRows, tiled, palette});
        }
    }
    return bank->place() ? std::move(bank) : nullptr;
}

// A violation of the property in a placed bank, or "" when there is none.
using Property = std::function<std::string(InMemoryBank&)>;

void expectOnEveryBank(const Property& property, bool alwaysSeparate = false)
{
    uint32_t placed = 0;
    for (uint32_t seed = 1; seed <= kBanks; ++seed)
    {
        const auto bank = placedRandomBank(seed, alwaysSeparate);
        if (!bank)
            continue;
        ++placed;
        if (const std::string found = property(*bank); !found.empty())
        {
            ADD_FAILURE() << "seed " << seed << ": " << found;
            return;
        }
    }
    EXPECT_GT(placed, kBanks / 2) << "the generator must keep producing banks that place";
}

struct Rect
{
    int x, y, w, h;
    bool operator==(const Rect&) const = default;
};

bool overlap(const Rect& a, const Rect& b)
{
    return a.w > 0 && a.h > 0 && b.w > 0 && b.h > 0 && a.x < b.x + b.w && b.x < a.x + a.w &&
           a.y < b.y + b.h && b.y < a.y + a.h;
}

Rect imageOf(const TextureRecord& r)
{
    return {r.GroupX + r.X, r.GroupY + r.Y, r.Width, r.Height};
}

Rect clutOf(const TextureRecord& r, bool inGroup = false)
{
    return {r.ClutX + (inGroup ? 0 : r.ClutGroupX), r.ClutY + (inGroup ? 0 : r.ClutGroupY), r.ClutWidth,
            r.ClutExtraRows + 1};
}

std::string name(const TextureRecord& r)
{
    return formatText("%s (group %d at %d,%d, CLUT at %d,%d)", r.Name.c_str(), r.Group, r.X, r.Y, r.ClutX,
                      r.ClutY);
}

// Images never meet each other nor a CLUT in VRAM; CLUTs (in VRAM, or with
// separate CLUTs in the separate area) are one shared position with the same
// colours or apart.
std::string overlaps(InMemoryBank& bank)
{
    const bool separate = bank.ctx.state.BankSeparateCluts;
    for (const auto& a : bank.ctx.bank.PendingList)
        for (const auto& b : bank.ctx.bank.PendingList)
        {
            const Rect ca = clutOf(*a, separate), cb = clutOf(*b, separate);
            if (a != b && overlap(imageOf(*a), imageOf(*b)))
                return "images of " + name(*a) + " and " + name(*b) + " overlap";
            if (a != b && a->HasClut && b->HasClut && overlap(ca, cb) &&
                !(ca == cb && a->ClutData == b->ClutData))
                return "CLUTs of " + name(*a) + " and " + name(*b) + " overlap";
            if (!separate && b->HasClut && overlap(imageOf(*a), cb))
                return "image of " + name(*a) + " overlaps the CLUT of " + name(*b);
        }
    return {};
}

std::string pageAndTileRules(InMemoryBank& bank)
{
    const auto aligned = [](int v) { return (v & (v - 1)) == 0; };
    for (const auto& r : bank.ctx.bank.PendingList)
    {
        const int x = r->GroupX + r->X;
        const int allowed = r->Kind == 0 ? 0 : r->Kind == 1 ? 1 : 3;
        if (r->Width != 0 && (x + r->Width - 1) / 64 - x / 64 > allowed)
            return name(*r) + " crosses too many page columns";
        if (r->Kind == 2 && x % 2 != 0)
            return name(*r) + " is 16-bit at an odd column";
        if (r->Tiled && (!aligned(r->X % 64) || r->X % 64 > 32 || !aligned(r->Y) || r->Y > 128))
            return "tiled " + name(*r) + " is not aligned";
    }
    return {};
}

std::string insideGroupAndBand(InMemoryBank& bank)
{
    const TexeloContext& ctx = bank.ctx;
    for (const auto& r : ctx.bank.PendingList)
    {
        if (r->Group == 0 || ctx.bank.GroupWidths[r->Group - 1u] == 0)
            return name(*r) + " has no group";
        const int groupWidth = ctx.bank.GroupWidths[r->Group - 1u] * 64;
        if (r->X + r->Width > groupWidth - ctx.state.EdgeClear || r->GroupX + groupWidth > 1024 ||
            (r->GroupY != 0 && r->GroupY != kBandLines) || r->Y + r->Height > kBandLines)
            return name(*r) + " leaves its group or band";
        const int lastRow = r->ClutY + r->ClutExtraRows;
        const bool inside = ctx.state.BankSeparateCluts
                                ? r->ClutX + r->ClutWidth <= 64 && lastRow <= ctx.bank.ClutRow - 256
                                : r->ClutGroupX == r->GroupX && r->ClutGroupY == r->GroupY &&
                                      r->ClutX + r->ClutWidth <= groupWidth && lastRow < kBandLines;
        if (r->HasClut && !inside)
            return "CLUT of " + name(*r) + " leaves its area";
    }
    return {};
}

// The bank file holds every placed record once, where it was placed and
// within its group's lines. The writer moves CLUTs up under the images (which
// cannot meet them there); two CLUTs that were apart must still be apart.
std::string writtenBankMatches(InMemoryBank& bank)
{
    const TexeloContext& ctx = bank.ctx;
    const bool separate = ctx.state.BankSeparateCluts;
    std::map<uint32_t, const TextureRecord*> unwritten;
    std::map<const TextureRecord*, Rect> before;
    for (const auto& r : ctx.bank.PendingList)
    {
        before[r.get()] = clutOf(*r, true);
        if (r->Width != 0)
            unwritten[r->Id] = r.get();
    }
    TempFolder folder;
    bank.ctx.state.BankName = folder.path() + "/P";
    WriteBank(bank.ctx.bank, bankOptions(bank.ctx.state), bank.reporter, bank.ctx.files);
    const std::vector<uint8_t> bytes = expected::readFile(folder.path() + "/P.TBK");
    bool ok = true;
    const auto u16 = [&](std::size_t offset) -> int
    {
        ok = ok && offset + 2 <= bytes.size();
        return ok ? bytes[offset] | bytes[offset + 1] << 8 : 0;
    };
    const auto u32 = [&](std::size_t offset) { return uint32_t(u16(offset) | u16(offset + 2) << 16); };
    if (u32(0) != ctx.bank.PendingList.size())
        return "TextureTotal " + std::to_string(u32(0));
    if (u32(4) != (separate ? ctx.bank.ClutRow - 255u : 0u))
        return "SeparateRows " + std::to_string(u32(4));
    std::size_t at = 8;
    for (uint32_t group = 1; ok && at < bytes.size(); ++group)
    {
        const uint32_t lines = u32(at + 4), count = u32(at + 8);
        at += 12;
        for (uint32_t i = 0; ok && i < count; ++i)
        {
            const uint32_t size = u32(at);
            const auto found = unwritten.find(u32(at + 4));
            if (found == unwritten.end())
                return "record " + std::to_string(u32(at + 4)) + " is written but not placed, or twice";
            const TextureRecord& r = *found->second;
            unwritten.erase(found);
            const std::size_t body = at + 8;
            int x = r.X, y = r.Y, clutX = -1, clutY = -1;
            if (size & 0x80000000) // a palette record: its tag in the top bits
            {
                clutX = u16(body);
                clutY = u16(body + 2);
                at = body + (size & 0x1FFFFFFF);
            }
            else
            {
                std::size_t pixels = body + 8;
                if (u32(body + 4) & 8)
                {
                    clutX = u16(body + 12);
                    clutY = u16(body + 14);
                    pixels += u32(body + 8);
                }
                x = u16(pixels + 4);
                y = u16(pixels + 6);
                at = body + size;
            }
            if (group != r.Group || (size & 0x80000000) != (r.PaletteOnly ? 0x80000000 : 0) || x != r.X ||
                y != r.Y || (r.HasClut && (clutX != r.ClutX || clutY != r.ClutY)))
                return name(r) + " is written elsewhere";
            if (r.Y + r.Height > lines || (!separate && r.HasClut && r.ClutY + r.ClutExtraRows + 1u > lines))
                return name(r) + " reaches below GroupLines " + std::to_string(lines);
        }
    }
    if (!ok || at != bytes.size())
        return "the bank does not parse";
    if (!unwritten.empty())
        return name(*unwritten.begin()->second) + " is not written";
    for (const auto& a : ctx.bank.PendingList)
        for (const auto& b : ctx.bank.PendingList)
            if (!separate && a != b && a->Group == b->Group && a->HasClut && b->HasClut && a->Width != 0 &&
                b->Width != 0 && !overlap(before[a.get()], before[b.get()]) &&
                overlap(clutOf(*a, true), clutOf(*b, true)))
                return "written: CLUTs of " + name(*a) + " and " + name(*b) + " overlap";
    return {};
}

} // namespace

TEST(PlacementProperty, ImagesAndClutsNeverOverlapUnlessTheClutIsShared)
{
    expectOnEveryBank(overlaps);
    expectOnEveryBank(overlaps, true);
}

TEST(PlacementProperty, PageCrossingsEvenColumnsAndTileAlignment)
{
    expectOnEveryBank(pageAndTileRules);
}

TEST(PlacementProperty, EveryTextureAndClutStaysInsideItsGroupBandOrArea)
{
    expectOnEveryBank(insideGroupAndBand);
}

TEST(PlacementProperty, BankParsesBackToThePlacedPositionsWithMovedClutsKeptClear)
{
    expectOnEveryBank(writtenBankMatches);
}

// The smallest banks that once broke a property, loaded in this order.
TEST(PlacementProperty, BanksThatOnceBrokeAProperty)
{
    const struct
    {
        const char* what;
        std::vector<Shape> shapes;
        Property property;
        bool fits = true;
    } cases[] = {
        // Its height is judged on the tile line it drops to.
        {"a tiled texture above its tile line stays inside its band",
         {{k4, 40, 100}, {k4, 1, 152, 16, 0, true}},
         insideGroupAndBand},
        // The texture's own CLUT may start a new strip or bring more rows into it.
        {"an image ends above its own new CLUT strip", {{k8, 8, 1, 64}, {k4, 16, 255}}, overlaps},
        // 253 lines and four CLUT rows cannot share a band.
        {"an image never runs into its own CLUT rows", {{k4, 16, 253, 16, 3}}, overlaps, false},
        // A failed search gives back the strip it started.
        {"a new strip never starts on the row of CLUTs already there",
         {{k16, 2, 254}, {k8, 16, 1, 48}, {k4, 1, 1, 64}},
         overlaps},
        // The tall CLUT starts above the images' bottom and reaches below it.
        {"CLUTs moved up by the writer stop above a tall one",
         {{k8, 4, 1, 64}, {k16, 16, 253}, {k4, 4, 4, 16, 3}},
         writtenBankMatches},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        InMemoryBank bank(false);
        for (const Shape& shape : c.shapes)
            add(bank, shape);
        ASSERT_EQ(bank.place(), c.fits);
        if (c.fits)
        {
            EXPECT_EQ(c.property(bank), "");
        }
    }
}
