// Properties every successful placement must have, checked on a few hundred
// seeded random banks: sizes and depths, tiled textures, NULL and palette
// lines, shared and multi-row CLUTs, with and without SEPERATE, EDGE, SORT
// and MATCHCLUTS.

#include "BankWriter.h"
#include "ExpectedBank.h"
#include "InMemoryBank.h"
#include "texelo/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <random>

namespace
{

constexpr uint32_t kBanks = 400;
constexpr int kBandLines = 256;

struct BankCase
{
    bool separate = false, edge = false, sort = true, match = true;
    std::vector<TextureRecord> records;
};

struct Dice
{
    std::mt19937 engine;
    int pick(int low, int high)
    {
        return low + static_cast<int>(engine() % static_cast<uint32_t>(high - low + 1));
    }
    bool chance(int percent) { return pick(0, 99) < percent; }
};

// A record of `width` words; indexed kinds get a CLUT of `clutWidth` x
// `extraRows + 1` whose colours come from `palette`.
TextureRecord record(TimKind kind, uint16_t width, uint16_t height, uint16_t clutWidth = 16,
                     uint16_t extraRows = 0, bool tiled = false, int palette = -1)
{
    TextureRecord r;
    r.Kind = static_cast<uint8_t>(kind);
    r.Width = width;
    r.Height = height;
    r.Tiled = tiled;
    if (kind != TimKind::Direct16)
    {
        r.HasClut = 1;
        r.ClutWidth = clutWidth;
        r.ClutExtraRows = extraRows;
        r.ClutData.resize(static_cast<std::size_t>(clutWidth) * (extraRows + 1u));
        for (std::size_t i = 0; i < r.ClutData.size(); ++i)
            r.ClutData[i] = static_cast<uint16_t>(palette < 0 ? width : palette * 977 + static_cast<int>(i));
    }
    return r;
}

BankCase randomBank(uint32_t seed, bool alwaysSeparate)
{
    Dice dice{std::mt19937(seed)};
    BankCase bank{dice.chance(25) || alwaysSeparate, dice.chance(20), dice.chance(75), dice.chance(80), {}};
    const int count = dice.pick(1, 60);
    for (int i = 0; i < count; ++i)
    {
        const int roll = dice.pick(0, 99);
        const int palette = dice.pick(0, 5); // few palettes: sharing is common
        if (roll < 4)
            bank.records.emplace_back(); // NULL
        else if (roll < 8)
        {
            bank.records.push_back(record(TimKind::Indexed4, 1, 0, 16, 0, false, palette)); // PAL
            bank.records.back().PaletteOnly = 1;
        }
        else
        {
            const auto kind = static_cast<TimKind>(dice.pick(0, 2));
            const int texels = dice.chance(60) ? dice.pick(1, 64) : dice.pick(1, 256);
            const auto width = static_cast<uint16_t>(kind == TimKind::Indexed4   ? (texels + 3) / 4
                                                     : kind == TimKind::Indexed8 ? (texels + 1) / 2
                                                                                 : texels);
            const auto height = static_cast<uint16_t>(dice.chance(60) ? dice.pick(1, 64) : dice.pick(1, 256));
            const bool tiled = dice.chance(10);
            const int shape = dice.pick(0, 9); // 0: remapped across, 1: remapped down
            uint16_t clutWidth = 16, extraRows = 0;
            if (kind == TimKind::Indexed4)
            {
                clutWidth = static_cast<uint16_t>(shape == 0 ? 16 * dice.pick(2, 4) : 16);
                extraRows = static_cast<uint16_t>(shape == 1 ? dice.pick(1, 3) : 0);
            }
            else if (kind == TimKind::Indexed8)
            {
                static constexpr uint16_t kWidths[] = {16, 32, 48, 64, 128, 256};
                clutWidth = kWidths[dice.pick(0, bank.separate && !dice.chance(5) ? 3 : 5)];
                extraRows = shape == 1 ? 1 : 0;
            }
            bank.records.push_back(record(kind, width, height, clutWidth, extraRows, tiled, palette));
        }
    }
    return bank;
}

BankCase unsorted(std::vector<TextureRecord> records)
{
    return {false, false, false, true, std::move(records)};
}

// A TIM of the record's depth; its size does not matter, the bank writer only
// patches the positions in its blocks.
std::vector<uint8_t> timOfKind(uint8_t kind)
{
    static const std::vector<uint8_t> tims[] = {expected::tim(expected::pattern(1, 1, 1)),
                                                expected::tim(expected::pattern(1, 1, 17)),
                                                expected::tim(expected::pattern(257, 1, 257))};
    return tims[kind];
}

// A violation of the property in a placed bank, or "" when there is none.
using Property = std::function<std::string(InMemoryBank&)>;

// The violation found on the bank, or nullopt when it could not be placed.
std::optional<std::string> check(const BankCase& bankCase, const Property& property)
{
    InMemoryBank bank;
    TexeloContext& ctx = bank.ctx;
    ctx.state.BankSeparateCluts = bankCase.separate;
    ctx.state.EdgeClear = bankCase.edge;
    ctx.state.SortTextures = bankCase.sort;
    ctx.state.MatchCluts = bankCase.match;
    for (const TextureRecord& prototype : bankCase.records)
    {
        auto r = std::make_unique<TextureRecord>(prototype);
        r->Id = static_cast<uint32_t>(ctx.PendingList.size());
        r->Name = formatText("R%u.tga", r->Id);
        if (r->Width != 0 && !r->PaletteOnly)
            r->TimData = timOfKind(r->Kind);
        ctx.PendingList.push_back(std::move(r));
    }
    ctx.TextureCount = static_cast<uint32_t>(bankCase.records.size());
    if (!bank.place())
        return std::nullopt;
    return property(bank);
}

std::string violation(const BankCase& bankCase, const Property& property)
{
    return check(bankCase, property).value_or("");
}

void expectOnEveryBank(const Property& property, bool alwaysSeparate = false)
{
    uint32_t placed = 0;
    for (uint32_t seed = 1; seed <= kBanks; ++seed)
    {
        const std::optional<std::string> found = check(randomBank(seed, alwaysSeparate), property);
        placed += found.has_value();
        if (found && !found->empty())
        {
            ADD_FAILURE() << "seed " << seed << ": " << *found;
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
    return inGroup ? Rect{r.ClutX, r.ClutY, r.ClutWidth, r.ClutExtraRows + 1}
                   : Rect{r.ClutGroupX + r.ClutX, r.ClutGroupY + r.ClutY, r.ClutWidth, r.ClutExtraRows + 1};
}

std::string name(const TextureRecord& r)
{
    return r.Name + " (group " + std::to_string(r.Group) + " at " + std::to_string(r.X) + "," +
           std::to_string(r.Y) + ", CLUT at " + std::to_string(r.ClutX) + "," + std::to_string(r.ClutY) + ")";
}

// The first message `test` gives for a pair of distinct records.
std::string firstPair(const InMemoryBank& bank,
                      const std::function<std::string(const TextureRecord&, const TextureRecord&)>& test)
{
    const auto& all = bank.ctx.PendingList;
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = i + 1; j < all.size(); ++j)
            if (std::string found = test(*all[i], *all[j]); !found.empty())
                return found;
    return {};
}

std::string imagesOverlap(InMemoryBank& bank)
{
    return firstPair(bank,
                     [](const TextureRecord& a, const TextureRecord& b) {
                         return overlap(imageOf(a), imageOf(b))
                                    ? "images of " + name(a) + " and " + name(b) + " overlap"
                                    : "";
                     });
}

// CLUTs are either one shared position with the same colours or apart; in
// VRAM, or with separate CLUTs in the separate area.
std::string clutsCollide(InMemoryBank& bank)
{
    const bool separate = bank.ctx.state.BankSeparateCluts;
    return firstPair(bank,
                     [separate](const TextureRecord& a, const TextureRecord& b) -> std::string
                     {
                         if (!a.HasClut || !b.HasClut || !overlap(clutOf(a, separate), clutOf(b, separate)))
                             return "";
                         if (clutOf(a, separate) == clutOf(b, separate) && a.ClutData == b.ClutData)
                             return "";
                         return "CLUTs of " + name(a) + " and " + name(b) + " overlap";
                     });
}

std::string imageOverClut(InMemoryBank& bank)
{
    if (bank.ctx.state.BankSeparateCluts)
        return {};
    for (const auto& image : bank.ctx.PendingList)
        for (const auto& clut : bank.ctx.PendingList)
            if (clut->HasClut && overlap(imageOf(*image), clutOf(*clut)))
                return "image of " + name(*image) + " overlaps the CLUT of " + name(*clut);
    return {};
}

std::string pageAndTileRules(InMemoryBank& bank)
{
    const auto aligned = [](int v) { return (v & (v - 1)) == 0; };
    for (const auto& r : bank.ctx.PendingList)
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
    for (const auto& r : ctx.PendingList)
    {
        if (r->Group == 0 || ctx.GroupWidths[r->Group - 1u] == 0)
            return name(*r) + " has no group";
        const int groupWidth = ctx.GroupWidths[r->Group - 1u] * 64;
        if (r->X + r->Width > groupWidth - ctx.state.EdgeClear || r->GroupX + groupWidth > 1024 ||
            (r->GroupY != 0 && r->GroupY != kBandLines) || r->Y + r->Height > kBandLines)
            return name(*r) + " leaves its group or band";
        const int lastRow = r->ClutY + r->ClutExtraRows;
        const bool inside = ctx.state.BankSeparateCluts
                                ? r->ClutX + r->ClutWidth <= 64 && lastRow <= ctx.ClutRow - 256
                                : r->ClutGroupX == r->GroupX && r->ClutGroupY == r->GroupY &&
                                      r->ClutX + r->ClutWidth <= groupWidth && lastRow < kBandLines;
        if (r->HasClut && !inside)
            return "CLUT of " + name(*r) + " leaves its area";
    }
    return {};
}

// What a bank file says about one record.
struct Written
{
    uint32_t group = 0;
    int x = -1, y = -1, clutX = -1, clutY = -1;
};

struct WrittenBank
{
    uint32_t total = 0, separateRows = 0;
    std::vector<uint32_t> groupLines;
    std::multimap<uint32_t, Written> records; // by Id
};

std::optional<WrittenBank> parseBank(const std::vector<uint8_t>& bytes)
{
    bool ok = true;
    const auto u16 = [&](std::size_t offset) -> int
    {
        ok = ok && offset + 2 <= bytes.size();
        return ok ? bytes[offset] | bytes[offset + 1] << 8 : 0;
    };
    const auto u32 = [&](std::size_t offset)
    { return static_cast<uint32_t>(u16(offset) | u16(offset + 2) << 16); };
    WrittenBank bank{u32(0), u32(4), {}, {}};
    std::size_t at = 8;
    while (ok && at < bytes.size())
    {
        bank.groupLines.push_back(u32(at + 4));
        const uint32_t count = u32(at + 8);
        at += 12;
        for (uint32_t i = 0; ok && i < count; ++i)
        {
            const uint32_t size = u32(at);
            const std::size_t body = at + 8;
            Written& w =
                bank.records.emplace(u32(at + 4), Written{static_cast<uint32_t>(bank.groupLines.size())})
                    ->second;
            if (size & 0x80000000) // a palette record: its tag in the top bits
            {
                w.clutX = u16(body);
                w.clutY = u16(body + 2);
                at = body + (size & 0x1FFFFFFF);
                continue;
            }
            std::size_t pixels = body + 8;
            if (u32(body + 4) & 8)
            {
                w.clutX = u16(body + 12);
                w.clutY = u16(body + 14);
                pixels += u32(body + 8);
            }
            w.x = u16(pixels + 4);
            w.y = u16(pixels + 6);
            at = body + size;
        }
    }
    return ok && at == bytes.size() ? std::optional(bank) : std::nullopt;
}

std::optional<WrittenBank> writeAndParse(InMemoryBank& bank)
{
    TempFolder folder;
    bank.ctx.state.BankName = folder.path() + "/P";
    WriteBank(bank.ctx);
    std::ifstream in(folder.path() + "/P.TBK", std::ios::binary);
    return parseBank({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
}

std::string bankParsesBack(InMemoryBank& bank)
{
    const TexeloContext& ctx = bank.ctx;
    const std::optional<WrittenBank> written = writeAndParse(bank);
    if (!written)
        return "the bank does not parse";
    if (written->total != ctx.PendingList.size())
        return "TextureTotal " + std::to_string(written->total);
    if (written->separateRows != (ctx.state.BankSeparateCluts ? ctx.ClutRow - 255u : 0u))
        return "SeparateRows " + std::to_string(written->separateRows);
    for (const auto& r : ctx.PendingList)
    {
        if (r->Width == 0)
            continue;
        if (written->records.count(r->Id) != 1)
            return name(*r) + " is written " + std::to_string(written->records.count(r->Id)) + " times";
        const Written& w = written->records.find(r->Id)->second;
        if (w.group != r->Group || (!r->PaletteOnly && (w.x != r->X || w.y != r->Y)) ||
            (r->HasClut && (w.clutX != r->ClutX || w.clutY != r->ClutY)))
            return name(*r) + " is written elsewhere";
        const uint32_t lines = written->groupLines[r->Group - 1u];
        if (r->Y + r->Height > lines ||
            (!ctx.state.BankSeparateCluts && r->HasClut && r->ClutY + r->ClutExtraRows + 1u > lines))
            return name(*r) + " reaches below GroupLines " + std::to_string(lines);
    }
    return {};
}

// The bank writer moves CLUTs up under the images (which cannot meet them
// there); two CLUTs that were apart must still be apart.
std::string movedClutsKeepClear(InMemoryBank& bank)
{
    if (bank.ctx.state.BankSeparateCluts)
        return {};
    std::map<const TextureRecord*, Rect> before;
    for (const auto& r : bank.ctx.PendingList)
        before[r.get()] = clutOf(*r, true);
    if (!writeAndParse(bank))
        return "the bank does not parse";
    return firstPair(bank,
                     [&before](const TextureRecord& a, const TextureRecord& b) -> std::string
                     {
                         if (a.Group != b.Group || !a.HasClut || !b.HasClut || a.Width == 0 || b.Width == 0 ||
                             overlap(before[&a], before[&b]))
                             return "";
                         return overlap(clutOf(a, true), clutOf(b, true))
                                    ? "written: CLUTs of " + name(a) + " and " + name(b) + " overlap"
                                    : "";
                     });
}

} // namespace

TEST(PlacementProperty, ImagesNeverOverlap)
{
    expectOnEveryBank(imagesOverlap);
}

TEST(PlacementProperty, PageCrossingsEvenColumnsAndTileAlignment)
{
    expectOnEveryBank(pageAndTileRules);
}

TEST(PlacementProperty, EveryTextureAndClutStaysInsideItsGroupBandOrArea)
{
    expectOnEveryBank(insideGroupAndBand);
}

TEST(PlacementProperty, BankParsesBackToThePlacedPositions)
{
    expectOnEveryBank(bankParsesBack);
}

TEST(PlacementProperty, ClutsInTheSeparateAreaAreSharedOrApart)
{
    expectOnEveryBank(clutsCollide, true);
}

// The smallest banks that once broke a property.

// A tiled texture above its tile line drops to it; its height is
// judged there, so it cannot reach past the CLUT strip or the band.
TEST(PlacementProperty, TiledTexturesStayInsideTheirBand)
{
    EXPECT_EQ(violation(unsorted({record(TimKind::Indexed4, 40, 100),
                                  record(TimKind::Indexed4, 1, 152, 16, 0, true)}),
                        insideGroupAndBand),
              "");
}

// The texture's own CLUT may start a new strip or bring more rows
// into the strip; the image must still end above it.
TEST(PlacementProperty, NoImageOverlapsAClut)
{
    expectOnEveryBank(imageOverClut);
    EXPECT_EQ(violation(unsorted({record(TimKind::Indexed8, 8, 1, 64), record(TimKind::Indexed4, 16, 255)}),
                        imageOverClut),
              "");
    EXPECT_EQ(violation(unsorted({record(TimKind::Indexed4, 16, 253, 16, 3)}), imageOverClut), "");
}

// A CLUT search that fails after starting a new strip gives
// everything back, so the next new strip does not start on the row of the
// CLUTs already there.
TEST(PlacementProperty, CLUTsAreSharedOrApart)
{
    expectOnEveryBank(clutsCollide);
    EXPECT_EQ(violation(unsorted({record(TimKind::Direct16, 2, 254), record(TimKind::Indexed8, 16, 1, 48),
                                  record(TimKind::Indexed4, 1, 1, 64)}),
                        clutsCollide),
              "");
}

// A CLUT of several rows that starts above the images' bottom but
// reaches below it stays; the CLUTs moved up by the bank writer stop below it.
TEST(PlacementProperty, MovedClutsKeepClearInTheWrittenBank)
{
    expectOnEveryBank(movedClutsKeepClear);
    EXPECT_EQ(violation(unsorted({record(TimKind::Indexed8, 4, 1, 64), record(TimKind::Direct16, 16, 253),
                                  record(TimKind::Indexed4, 4, 4, 16, 3)}),
                        movedClutsKeepClear),
              "");
}
