// Properties every successful placement must have, checked on a few hundred
// seeded random banks: sizes and depths, tiled textures, NULL and palette
// lines, shared and multi-row CLUTs, with and without SEPERATE, EDGE, SORT
// and MATCHCLUTS. A violation is shrunk to the fewest records that still
// show it, and the failure message lists them.

#include "BankWriter.h"
#include "ExpectedBank.h"
#include "InMemoryBank.h"
#include "texelo/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <sstream>

namespace
{

constexpr uint32_t kBanks = 400;
constexpr int kBandLines = 256;

struct BankCase
{
    bool separate = false, edge = false, sort = true, match = true;
    std::vector<TextureRecord> records;
};

class Dice
{
public:
    explicit Dice(uint32_t seed) : m_engine(seed) {}
    int pick(int low, int high) { return low + static_cast<int>(m_engine() % static_cast<uint32_t>(high - low + 1)); }
    bool chance(int percent) { return pick(0, 99) < percent; }

private:
    std::mt19937 m_engine;
};

uint16_t wordsOf(TimKind kind, int texels)
{
    return static_cast<uint16_t>(kind == TimKind::Indexed4 ? (texels + 3) / 4
                                 : kind == TimKind::Indexed8 ? (texels + 1) / 2
                                                             : texels);
}

void giveClut(TextureRecord& record, Dice& dice, uint16_t width, uint16_t extraRows)
{
    record.HasClut = 1;
    record.ClutWidth = width;
    record.ClutExtraRows = extraRows;
    const int palette = dice.pick(0, 5); // few palettes: sharing is common
    record.ClutData.resize(static_cast<std::size_t>(width) * (extraRows + 1u));
    for (std::size_t i = 0; i < record.ClutData.size(); ++i)
        record.ClutData[i] = static_cast<uint16_t>(palette * 977 + i);
}

// What the generator may put in a bank.
struct Mix
{
    bool alwaysSeparate = false;
};

BankCase randomBank(uint32_t seed, Mix mix)
{
    Dice dice(seed);
    BankCase bank;
    bank.separate = dice.chance(25) || mix.alwaysSeparate;
    bank.edge = dice.chance(20);
    bank.sort = dice.chance(75);
    bank.match = dice.chance(80);
    const int count = dice.pick(1, 60);
    for (int i = 0; i < count; ++i)
    {
        TextureRecord record;
        const int roll = dice.pick(0, 99);
        if (roll < 4)
        {
            bank.records.push_back(record); // NULL
            continue;
        }
        if (roll < 8)
        {
            record.PaletteOnly = 1; // PAL: one word, no lines
            record.Width = 1;
            giveClut(record, dice, 16, 0);
            bank.records.push_back(record);
            continue;
        }
        const auto kind = static_cast<TimKind>(dice.pick(0, 2));
        record.Kind = static_cast<uint8_t>(kind);
        record.Width = wordsOf(kind, dice.chance(60) ? dice.pick(1, 64) : dice.pick(1, 256));
        record.Height = static_cast<uint16_t>(dice.chance(60) ? dice.pick(1, 64) : dice.pick(1, 256));
        record.Tiled = dice.chance(10);
        const int shape = dice.pick(0, 9); // 0: remapped across, 1: remapped down
        if (kind == TimKind::Indexed4)
            giveClut(record, dice, static_cast<uint16_t>(shape == 0 ? 16 * dice.pick(2, 4) : 16),
                     static_cast<uint16_t>(shape == 1 ? dice.pick(1, 3) : 0));
        else if (kind == TimKind::Indexed8)
        {
            static constexpr uint16_t kWidths[] = {16, 32, 48, 64, 128, 256};
            const int widest = bank.separate && !dice.chance(5) ? 3 : 5;
            giveClut(record, dice, kWidths[dice.pick(0, widest)], static_cast<uint16_t>(shape == 1 ? 1 : 0));
        }
        bank.records.push_back(record);
    }
    return bank;
}

// One record of a hand-made bank; indexed kinds need `clutWidth`.
TextureRecord record(TimKind kind, uint16_t width, uint16_t height, uint16_t clutWidth = 16,
                     uint16_t extraRows = 0, bool tiled = false)
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
        r.ClutData.assign(static_cast<std::size_t>(clutWidth) * (extraRows + 1u), r.Width);
    }
    return r;
}

// A hand-made bank placed in load order.
BankCase unsorted(std::vector<TextureRecord> records)
{
    BankCase bankCase;
    bankCase.sort = false;
    bankCase.records = std::move(records);
    return bankCase;
}

// A TIM of the record's depth from the independent writer. Its size does
// not matter: the bank writer only patches the positions in its blocks.
std::vector<uint8_t> timOfKind(uint8_t kind)
{
    static const std::vector<uint8_t> tims[] = {expected::tim(expected::pattern(1, 1, 1)),
                                                expected::tim(expected::pattern(1, 1, 17)),
                                                expected::tim(expected::pattern(257, 1, 257))};
    return tims[kind];
}

struct Built
{
    InMemoryBank bank;
    bool placed = false;
};

std::unique_ptr<Built> build(const BankCase& bankCase)
{
    auto built = std::make_unique<Built>();
    TexeloContext& ctx = built->bank.ctx;
    ctx.state.BankSeparateCluts = bankCase.separate;
    ctx.state.EdgeClear = bankCase.edge;
    ctx.state.SortTextures = bankCase.sort;
    ctx.state.MatchCluts = bankCase.match;
    for (const TextureRecord& prototype : bankCase.records)
    {
        auto record = std::make_unique<TextureRecord>(prototype);
        record->Id = static_cast<uint32_t>(ctx.PendingList.size());
        record->Name = "R" + std::to_string(record->Id) + ".tga";
        if (record->Width != 0 && !record->PaletteOnly)
            record->TimData = timOfKind(record->Kind);
        ctx.PendingList.push_back(std::move(record));
    }
    ctx.TextureCount = static_cast<uint32_t>(bankCase.records.size());
    built->placed = built->bank.place();
    return built;
}

// The bank's options and records, and where each record went.
std::string describe(const BankCase& bankCase)
{
    const std::unique_ptr<Built> built = build(bankCase);
    std::ostringstream text;
    text << "SEPERATE " << bankCase.separate << ", EDGE " << bankCase.edge << ", SORT " << bankCase.sort
         << ", MATCHCLUTS " << bankCase.match << "; load order:";
    for (std::size_t i = 0; i < bankCase.records.size(); ++i)
    {
        const TextureRecord& r = bankCase.records[i];
        const TextureRecord& placed = built->bank.loaded(static_cast<uint32_t>(i));
        text << "\n  R" << i << ": kind " << int(r.Kind) << " " << r.Width << "x" << r.Height
             << (r.Tiled ? " tiled" : "") << (r.PaletteOnly ? " palette-only" : "");
        if (r.HasClut)
            text << " clut " << r.ClutWidth << "x" << r.ClutExtraRows + 1 << " colours " << r.ClutData[0] / 977;
        text << " -> group " << int(placed.Group) << " (" << placed.GroupX << "," << placed.GroupY << ") at "
             << placed.X << "," << placed.Y;
        if (r.HasClut)
            text << ", CLUT at " << placed.ClutX << "," << placed.ClutY;
    }
    return text.str();
}

// A violation of the property in a placed bank, or "" when there is none.
using Property = std::function<std::string(InMemoryBank&)>;

std::string violation(const BankCase& bankCase, const Property& property)
{
    const std::unique_ptr<Built> built = build(bankCase);
    return built->placed ? property(built->bank) : std::string();
}

// The same bank loaded in the order sorting gives it, with SORT OFF, so
// that dropping a record does not reorder the others.
BankCase presorted(BankCase bankCase)
{
    if (bankCase.sort)
        std::stable_sort(bankCase.records.begin(), bankCase.records.end(),
                         [](const auto& a, const auto& b) { return sortKey(a) > sortKey(b); });
    bankCase.sort = false;
    return bankCase;
}

// Drops records while the violation stays.
BankCase shrink(BankCase bankCase, const Property& property)
{
    if (const BankCase unsorted = presorted(bankCase); !violation(unsorted, property).empty())
        bankCase = unsorted;
    for (std::size_t i = 0; i < bankCase.records.size();)
    {
        BankCase fewer = bankCase;
        fewer.records.erase(fewer.records.begin() + static_cast<std::ptrdiff_t>(i));
        if (!violation(fewer, property).empty())
            bankCase = std::move(fewer);
        else
            ++i;
    }
    return bankCase;
}

void expectOnEveryBank(const Property& property, Mix mix = {})
{
    uint32_t placed = 0;
    for (uint32_t seed = 1; seed <= kBanks; ++seed)
    {
        const BankCase bankCase = randomBank(seed, mix);
        const std::unique_ptr<Built> built = build(bankCase);
        if (!built->placed)
            continue;
        ++placed;
        if (const std::string found = property(built->bank); !found.empty())
        {
            const BankCase minimal = shrink(bankCase, property);
            ADD_FAILURE() << "seed " << seed << ": " << found << "\nshrunk: " << violation(minimal, property)
                          << "\n" << describe(minimal);
            return;
        }
    }
    // The generator must keep producing banks that place.
    EXPECT_GT(placed, kBanks / 2);
}

struct Rect
{
    int x, y, w, h;
};

bool overlap(const Rect& a, const Rect& b)
{
    return a.w > 0 && a.h > 0 && b.w > 0 && b.h > 0 && a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h &&
           b.y < a.y + a.h;
}

bool same(const Rect& a, const Rect& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

Rect imageOf(const TextureRecord& r)
{
    return {r.GroupX + r.X, r.GroupY + r.Y, r.Width, r.Height};
}

Rect clutOf(const TextureRecord& r)
{
    return {r.ClutGroupX + r.ClutX, r.ClutGroupY + r.ClutY, r.ClutWidth, r.ClutExtraRows + 1};
}

std::string name(const TextureRecord& r)
{
    return r.Name + " (group " + std::to_string(r.Group) + " at " + std::to_string(r.X) + "," +
           std::to_string(r.Y) + ", CLUT at " + std::to_string(r.ClutX) + "," + std::to_string(r.ClutY) + ")";
}

std::vector<const TextureRecord*> placedRecords(const InMemoryBank& bank)
{
    std::vector<const TextureRecord*> all;
    for (const auto& record : bank.ctx.PendingList)
        all.push_back(record.get());
    return all;
}

std::string imagesOverlap(InMemoryBank& bank)
{
    const auto all = placedRecords(bank);
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = i + 1; j < all.size(); ++j)
            if (overlap(imageOf(*all[i]), imageOf(*all[j])))
                return "images of " + name(*all[i]) + " and " + name(*all[j]) + " overlap";
    return {};
}

// CLUTs are either one shared position with the same colours or apart; in
// VRAM, or with separate CLUTs in the separate area.
std::string clutsCollide(InMemoryBank& bank)
{
    const bool separate = bank.ctx.state.BankSeparateCluts;
    const auto at = [separate](const TextureRecord& r) {
        return separate ? Rect{r.ClutX, r.ClutY, r.ClutWidth, r.ClutExtraRows + 1} : clutOf(r);
    };
    const auto all = placedRecords(bank);
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = i + 1; j < all.size(); ++j)
        {
            const TextureRecord& a = *all[i];
            const TextureRecord& b = *all[j];
            if (!a.HasClut || !b.HasClut || !overlap(at(a), at(b)))
                continue;
            if (!same(at(a), at(b)) || a.ClutData != b.ClutData)
                return "CLUTs of " + name(a) + " and " + name(b) + " overlap";
        }
    return {};
}

std::string imageOverClut(InMemoryBank& bank)
{
    if (bank.ctx.state.BankSeparateCluts)
        return {};
    for (const TextureRecord* image : placedRecords(bank))
        for (const TextureRecord* clut : placedRecords(bank))
            if (clut->HasClut && overlap(imageOf(*image), clutOf(*clut)))
                return "image of " + name(*image) + " overlaps the CLUT of " + name(*clut);
    return {};
}

std::string pageAndTileRules(InMemoryBank& bank)
{
    for (const TextureRecord* r : placedRecords(bank))
    {
        const int x = r->GroupX + r->X;
        const int allowed = r->Kind == 0 ? 0 : r->Kind == 1 ? 1 : 3;
        if (r->Width != 0 && (x + r->Width - 1) / 64 - x / 64 > allowed)
            return name(*r) + " crosses too many page columns";
        if (r->Kind == 2 && x % 2 != 0)
            return name(*r) + " is 16-bit at an odd column";
        const auto aligned = [](int v) { return (v & (v - 1)) == 0; };
        if (r->Tiled && (!aligned(r->X % 64) || r->X % 64 > 32 || !aligned(r->Y) || r->Y > 128))
            return "tiled " + name(*r) + " is not aligned";
    }
    return {};
}

std::string insideGroupAndBand(InMemoryBank& bank)
{
    const TexeloContext& ctx = bank.ctx;
    for (const TextureRecord* r : placedRecords(bank))
    {
        if (r->Group == 0 || ctx.GroupWidths[r->Group - 1u] == 0)
            return name(*r) + " has no group";
        const int groupWidth = ctx.GroupWidths[r->Group - 1u] * 64;
        if (r->X + r->Width > groupWidth - ctx.state.EdgeClear || r->GroupX + groupWidth > 1024 ||
            (r->GroupY != 0 && r->GroupY != kBandLines) || r->Y + r->Height > kBandLines)
            return name(*r) + " leaves its group or band";
        if (!r->HasClut)
            continue;
        const int lastRow = r->ClutY + r->ClutExtraRows;
        const bool inside = ctx.state.BankSeparateCluts
                                ? r->ClutX + r->ClutWidth <= 64 && lastRow <= ctx.ClutRow - 256
                                : r->ClutGroupX == r->GroupX && r->ClutGroupY == r->GroupY &&
                                      r->ClutX + r->ClutWidth <= groupWidth && lastRow < kBandLines;
        if (!inside)
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
    std::vector<std::pair<uint32_t, uint32_t>> groups; // columns, lines
    std::multimap<uint32_t, Written> records;          // by Id
};

std::optional<WrittenBank> parseBank(const std::vector<uint8_t>& bytes)
{
    std::size_t at = 0;
    bool ok = true;
    const auto u16 = [&](std::size_t offset) -> uint32_t {
        ok = ok && offset + 2 <= bytes.size();
        return ok ? bytes[offset] | bytes[offset + 1] << 8 : 0;
    };
    const auto u32 = [&](std::size_t offset) { return u16(offset) | u16(offset + 2) << 16; };
    WrittenBank bank;
    bank.total = u32(0);
    bank.separateRows = u32(4);
    for (at = 8; ok && at < bytes.size();)
    {
        bank.groups.emplace_back(u32(at), u32(at + 4));
        const uint32_t count = u32(at + 8);
        at += 12;
        for (uint32_t i = 0; ok && i < count; ++i)
        {
            const uint32_t size = u32(at);
            const uint32_t id = u32(at + 4);
            Written record{static_cast<uint32_t>(bank.groups.size())};
            const std::size_t body = at + 8;
            if (size & 0x80000000) // a palette record: its tag in the top bits
            {
                record.clutX = static_cast<int>(u16(body));
                record.clutY = static_cast<int>(u16(body + 2));
                at = body + (size & 0x1FFFFFFF);
            }
            else
            {
                std::size_t pixels = body + 8;
                if (u32(body + 4) & 8)
                {
                    record.clutX = static_cast<int>(u16(body + 12));
                    record.clutY = static_cast<int>(u16(body + 14));
                    pixels += u32(body + 8);
                }
                record.x = static_cast<int>(u16(pixels + 4));
                record.y = static_cast<int>(u16(pixels + 6));
                at = body + size;
            }
            bank.records.emplace(id, record);
        }
    }
    if (!ok || at != bytes.size())
        return std::nullopt;
    return bank;
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
        const bool image = !r->PaletteOnly;
        if (w.group != r->Group || (image && (w.x != r->X || w.y != r->Y)) ||
            (r->HasClut && (w.clutX != r->ClutX || w.clutY != r->ClutY)))
            return name(*r) + " is written elsewhere";
        const uint32_t lines = written->groups[r->Group - 1u].second;
        if (r->Y + r->Height > lines || (!ctx.state.BankSeparateCluts && r->HasClut &&
                                         r->ClutY + r->ClutExtraRows + 1u > lines))
            return name(*r) + " reaches below GroupLines " + std::to_string(lines);
    }
    return {};
}

// The bank writer moves CLUTs up under the images (which cannot meet them
// there); two CLUTs that were apart must still be apart.
std::string movedClutsKeepClear(InMemoryBank& bank)
{
    const TexeloContext& ctx = bank.ctx;
    if (ctx.state.BankSeparateCluts)
        return {};
    std::map<const TextureRecord*, Rect> before;
    for (const auto& r : ctx.PendingList)
        before[r.get()] = {r->ClutX, r->ClutY, r->ClutWidth, r->ClutExtraRows + 1};
    if (!writeAndParse(bank))
        return "the bank does not parse";
    for (const auto& a : ctx.PendingList)
        for (const auto& b : ctx.PendingList)
        {
            if (a.get() >= b.get() || a->Group != b->Group || !a->HasClut || !b->HasClut || a->Width == 0 ||
                b->Width == 0 || overlap(before[a.get()], before[b.get()]))
                continue;
            if (overlap({a->ClutX, a->ClutY, a->ClutWidth, a->ClutExtraRows + 1},
                        {b->ClutX, b->ClutY, b->ClutWidth, b->ClutExtraRows + 1}))
                return "written: CLUTs of " + name(*a) + " and " + name(*b) + " overlap";
        }
    return {};
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
    expectOnEveryBank(clutsCollide, {.alwaysSeparate = true});
}

// The smallest banks that once broke a property, each first met at the seed
// named.

// Seed 46: a tiled texture above its tile line drops to it; its height is
// judged there, so it cannot reach past the CLUT strip or the band.
TEST(PlacementProperty, TiledTexturesStayInsideTheirBand)
{
    const BankCase bankCase =
        unsorted({record(TimKind::Indexed4, 40, 100), record(TimKind::Indexed4, 1, 152, 16, 0, true)});
    EXPECT_EQ(violation(bankCase, insideGroupAndBand), "");
}

// Seed 88: the texture's own CLUT may start a new strip or bring more rows
// into the strip; the image must still end above it.
TEST(PlacementProperty, NoImageOverlapsAClut)
{
    expectOnEveryBank(imageOverClut);
    const BankCase newStrip = unsorted({record(TimKind::Indexed8, 8, 1, 64), record(TimKind::Indexed4, 16, 255)});
    EXPECT_EQ(violation(newStrip, imageOverClut), "");
    const BankCase tallClut = unsorted({record(TimKind::Indexed4, 16, 253, 16, 3)});
    EXPECT_EQ(violation(tallClut, imageOverClut), "");
}

// Seed 37: a CLUT search that fails after starting a new strip gives
// everything back, so the next new strip does not start on the row of the
// CLUTs already there.
TEST(PlacementProperty, CLUTsAreSharedOrApart)
{
    expectOnEveryBank(clutsCollide);
    const BankCase bankCase = unsorted({record(TimKind::Direct16, 2, 254), record(TimKind::Indexed8, 16, 1, 48),
                                        record(TimKind::Indexed4, 1, 1, 64)});
    EXPECT_EQ(violation(bankCase, clutsCollide), "");
}

// Seed 27: a CLUT of several rows that starts above the images' bottom but
// reaches below it stays; the CLUTs moved up by the bank writer stop below it.
TEST(PlacementProperty, MovedClutsKeepClearInTheWrittenBank)
{
    expectOnEveryBank(movedClutsKeepClear);
    const BankCase bankCase = unsorted({record(TimKind::Indexed8, 4, 1, 64), record(TimKind::Direct16, 16, 253),
                                        record(TimKind::Indexed4, 4, 4, 16, 3)});
    EXPECT_EQ(violation(bankCase, movedClutsKeepClear), "");
}
