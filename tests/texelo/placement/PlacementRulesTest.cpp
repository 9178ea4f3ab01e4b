// The placement pass rule by rule, on banks built in memory. Every scenario
// loads its records with SORT OFF unless it is about sorting, so the order
// in which they meet the cursor is the order written here.

#include "BankWriter.h"
#include "ExpectedBank.h"
#include "InMemoryBank.h"
#include "texelo/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace
{

constexpr auto k4 = TimKind::Indexed4;
constexpr auto k8 = TimKind::Indexed8;
constexpr auto k16 = TimKind::Direct16;

void expectAt(const TextureRecord& record, int group, int x, int y)
{
    EXPECT_EQ(record.Group, group) << record.Name;
    EXPECT_EQ(record.X, x) << record.Name;
    EXPECT_EQ(record.Y, y) << record.Name;
}

// Records are tried in load order.
struct UnsortedBank : InMemoryBank
{
    UnsortedBank() { ctx.state.SortTextures = 0; }
};

// A 4-bit record made from a texture of the independent writer, so that the
// bank it ends up in can be compared byte for byte.
TextureRecord& addFromTexture(InMemoryBank& bank, const expected::Texture& texture)
{
    TextureRecord& record =
        bank.add(k4, static_cast<uint16_t>(texture.width / 4), static_cast<uint16_t>(texture.height));
    record.TimData = expected::tim(texture);
    record.TimSize = static_cast<uint32_t>(record.TimData.size());
    record.ClutData = expected::ownClut(texture);
    return record;
}

} // namespace

TEST(PlacementRules, WorkedExamplePlacesSharesAndMovesCluts)
{
    using namespace expected;
    const Texture a = pattern(128, 64, 5, 0x0421);
    const Texture bc = pattern(64, 32, 3, 0x0842);
    TempFolder folder;
    InMemoryBank bank;
    bank.ctx.state.BankName = folder.path() + "/WORKED";
    // Loaded B, C, A: sorting puts A first and keeps B before C.
    const TextureRecord& b = addFromTexture(bank, bc);
    const TextureRecord& c = addFromTexture(bank, bc);
    const TextureRecord& recordA = addFromTexture(bank, a);

    ASSERT_TRUE(bank.place());
    EXPECT_EQ(bank.ctx.PendingList.front().get(), &recordA);
    expectAt(recordA, 1, 0, 0);
    expectAt(b, 1, 32, 0);
    expectAt(c, 1, 48, 0);
    EXPECT_EQ(clutAt(recordA), (std::pair{0, 255}));
    EXPECT_EQ(clutAt(b), (std::pair{16, 255}));
    EXPECT_EQ(clutAt(c), (std::pair{16, 255}));
    EXPECT_EQ(bank.ctx.GroupWidths[0], 1);
    EXPECT_EQ(bank.ctx.GroupWidths[1], 0);
    EXPECT_EQ(bank.reporter.output(), "2 unique CLUTs\n");

    WriteBank(bank.ctx);
    EXPECT_EQ(readFile(folder.path() + "/WORKED.TBK"),
              expected::bank(3, 0,
                             {{1,
                               65,
                               {record(0, tim(bc, {.clutX = 16, .clutY = 64, .x = 32, .y = 0})),
                                record(1, tim(bc, {.clutX = 16, .clutY = 64, .x = 48, .y = 0})),
                                record(2, tim(a, {.clutX = 0, .clutY = 64, .x = 0, .y = 0}))}}}));
}

// Scenarios of the cursor rules, each loaded in the order written.
TEST(PlacementRules, EachTextureLandsWhereTheCursorRulesPutIt)
{
    struct Texture
    {
        TimKind kind;
        uint16_t width, height;
        bool tiled = false;
        uint16_t clutWidth = 0;
    };
    struct At
    {
        uint32_t index;
        int group, x, y;
    };
    const struct
    {
        const char* what;
        std::vector<Texture> textures;
        std::vector<At> expected;
        const char* output = "";
    } cases[] = {
        // The first opens a group as wide as its CLUT: two columns.
        {"a 4-bit texture at cursor 48 goes to the next page column",
         {{k8, 48, 8, false, 128}, {k4, 32, 8}},
         {{1, 1, 64, 0}}},
        // 64-191 crosses 128 only; 32-159 would cross 64 and 128.
        {"an 8-bit texture may cross one page boundary but not two",
         {{k8, 32, 8}, {k8, 128, 8, false, 16}},
         {{1, 1, 64, 0}}},
        // The 16-bit ones are tried at 17 and 30; the refused one frees 29.
        {"16 bits start at an even column",
         {{k4, 17, 4}, {k16, 8, 4}, {k4, 3, 4}, {k16, 47, 4}, {k4, 1, 4}},
         {{1, 1, 18, 0}, {4, 1, 29, 0}, {3, 1, 0, 4}}},
        // Skyline 5: the tile line is the next power of two; the cursor stays.
        {"a tiled texture skips offset 40 and drops to the tile line",
         {{k4, 40, 5}, {k4, 8, 8, true}, {k4, 4, 4}},
         {{2, 1, 40, 0}, {1, 1, 0, 8}}},
        {"a tiled width refusal keeps the aligned cursor",
         {{k4, 5, 4}, {k4, 60, 4, true}, {k4, 2, 4}},
         {{2, 1, 8, 0}}},
        {"a refused 16-bit tile steps back one column",
         {{k4, 5, 4}, {k16, 60, 4, true}, {k4, 1, 4}},
         {{2, 1, 7, 0}}},
        // The third lands at 0-4 on the retry; the tile line 8 has skyline 10.
        // The tiled texture's CLUT was placed at each refused try and stays.
        {"a tile-line refusal returns to the saved cursor",
         {{k4, 8, 8}, {k4, 56, 10}, {k4, 5, 2}, {k4, 8, 4, true}, {k4, 2, 1}},
         {{4, 1, 5, 8}, {3, 1, 0, 16}},
         "7 unique CLUTs\n"},
        // A pit at 16-23; the fourth lands at 0-15 on the retry.
        {"a flatness failure fills the narrow pit at the cursor",
         {{k4, 16, 10}, {k4, 8, 2}, {k4, 40, 10}, {k4, 16, 4}, {k4, 16, 4}},
         {{4, 1, 16, 10}}},
        {"a height failure moves to the first lower column, not the lowest",
         {{k4, 16, 200}, {k4, 16, 100}, {k4, 32, 50}, {k4, 16, 100}},
         {{3, 1, 16, 100}}},
        {"a group is retried while a retry places something",
         {{k16, 64, 100}, {k16, 64, 100}, {k16, 64, 100}},
         {{0, 1, 0, 0}, {1, 1, 0, 100}, {2, 2, 0, 0}},
         "0 unique CLUTs\n"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        UnsortedBank bank;
        for (const Texture& t : c.textures)
            (void)(t.tiled ? bank.tiled(t.kind, t.width, t.height)
                           : bank.add(t.kind, t.width, t.height, -1, t.clutWidth));
        ASSERT_TRUE(bank.place());
        for (const At& at : c.expected)
            expectAt(bank.loaded(at.index), at.group, at.x, at.y);
        if (*c.output != '\0')
        {
            EXPECT_EQ(bank.reporter.output(), c.output);
        }
    }
}

TEST(PlacementRules, TiledTextureMovesFromOffset5To8AndReportsOnlyInTheMessageLine)
{
    UnsortedBank bank;
    bank.add(k4, 5, 4);
    const TextureRecord& tile = bank.tiled(k4, 8, 8);
    ASSERT_TRUE(bank.place());
    expectAt(tile, 1, 8, 0);
    EXPECT_EQ(bank.reporter.messageLine(), "Tiled texture at 8, 0.");
    EXPECT_GE(bank.reporter.repaints, 1);
    EXPECT_EQ(bank.reporter.output(), "2 unique CLUTs\n");
}

TEST(PlacementRules, EdgeOnMakesAPageWideTextureUnplaceable)
{
    TempFolder folder;
    InMemoryBank bank;
    bank.ctx.state.BankName = folder.path() + "/EDGE";
    bank.ctx.state.EdgeClear = 1;
    bank.add(k4, 64, 4);
    EXPECT_FALSE(OrganiseVram(bank.ctx));
    EXPECT_EQ(bank.reporter.output(), "Unable to fit textures into maximum VRAM space!\n");
    EXPECT_EQ(bank.reporter.messageLine(), "Unable to fit textures into maximum VRAM space!");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    // One single-column group after another, through both bands.
    EXPECT_EQ(std::count(bank.ctx.GroupWidths.begin(), bank.ctx.GroupWidths.end(), 1), 32);
}

TEST(PlacementRules, SortDecidesWhichTextureSetsTheFirstGroupWidth)
{
    for (const bool sorted : {false, true})
    {
        SCOPED_TRACE(sorted ? "SORT ON" : "SORT OFF");
        InMemoryBank bank;
        bank.ctx.state.SortTextures = sorted;
        const TextureRecord& narrow = bank.add(k4, 16, 8);
        const TextureRecord& wide = bank.add(k16, 128, 8);
        ASSERT_TRUE(bank.place());
        if (sorted)
        {
            expectAt(wide, 1, 0, 0);
            expectAt(narrow, 1, 0, 8);
            EXPECT_EQ(bank.ctx.GroupWidths[0], 2);
            EXPECT_EQ(bank.ctx.GroupWidths[1], 0);
        }
        else
        {
            expectAt(narrow, 1, 0, 0);
            expectAt(wide, 2, 0, 0);
            EXPECT_EQ(wide.GroupX, 64);
            EXPECT_EQ(bank.ctx.GroupWidths[0], 1);
            EXPECT_EQ(bank.ctx.GroupWidths[1], 2);
        }
    }
}

TEST(PlacementRules, SortPutsTiledFirstThenWidthAndKeepsLoadOrderForEqualKeys)
{
    InMemoryBank bank;
    bank.add(k4, 16, 4);
    bank.add(k16, 64, 4);
    bank.tiled(k4, 16, 4);
    bank.add(k8, 20, 4); // narrower than its 256-entry CLUT: counts 276
    bank.add(k4, 16, 4);
    bank.add(k16, 64, 4);
    BuildOriginalList(bank.ctx);
    std::vector<uint32_t> order;
    for (const auto& record : bank.ctx.PendingList)
        order.push_back(record->Id);
    EXPECT_EQ(order, (std::vector<uint32_t>{3, 2, 1, 5, 0, 4}));
    for (uint32_t id = 0; id < 6; ++id)
        EXPECT_EQ(bank.loaded(id).Id, id);
}

TEST(PlacementRules, ClutFailureMovesTheCursorAndATooWideClutGetsAGroupOfItsOwn)
{
    UnsortedBank bank;
    bank.add(k4, 16, 200);
    bank.add(k4, 16, 50);
    bank.add(k4, 32, 10);
    const TextureRecord& wideClut = bank.add(k8, 8, 4, -1, 128); // never fits a one-column group
    // At the cursor 0 its vertical alignment fails, which sets no flag.
    const TextureRecord& tile = bank.tiled(k4, 16, 8);
    ASSERT_TRUE(bank.place());
    expectAt(tile, 1, 16, 64);
    expectAt(wideClut, 2, 0, 0);
    EXPECT_EQ(wideClut.GroupX, 64);
    EXPECT_EQ(clutAt(wideClut), (std::pair{0, 255}));
    EXPECT_EQ(bank.ctx.GroupWidths[1], 2);
}

TEST(PlacementRules, BottomBandStartsAfterSixteenColumnsOrWhenAGroupWouldPassColumn1024)
{
    {
        UnsortedBank bank;
        for (int i = 0; i < 17; ++i)
            bank.add(k16, 64, 200);
        ASSERT_TRUE(bank.place());
        const TextureRecord& last = *bank.ctx.PendingList.back();
        expectAt(last, 17, 0, 0);
        EXPECT_EQ(groupOrigin(last), (std::pair{0, 256}));
    }
    {
        UnsortedBank bank;
        for (int i = 0; i < 15; ++i)
            bank.add(k16, 64, 200);
        const TextureRecord& wide = bank.add(k16, 128, 8);
        ASSERT_TRUE(bank.place());
        expectAt(wide, 16, 0, 0);
        EXPECT_EQ(wide.GroupY, 256);
        EXPECT_EQ(bank.ctx.GroupWidths[15], 2);
    }
    {
        UnsortedBank bank;
        for (int i = 0; i < 33; ++i)
            bank.add(k16, 64, 200);
        EXPECT_FALSE(bank.place());
        EXPECT_EQ(bank.reporter.output(), "");
    }
}

TEST(PlacementRules, LastGroupOfTheBandNeverReadsPastColumn1023)
{
    // Fifteen groups too full for anything else, then the last one at 960.
    UnsortedBank bank;
    for (int i = 0; i < 15; ++i)
        bank.add(k16, 64, 250);
    bank.add(k4, 63, 8);                                // 960-1022, cursor 1023
    const TextureRecord& even = bank.add(k16, 2, 8);    // at 1023 it would start at 1024
    const TextureRecord& tile = bank.tiled(k4, 1, 8);   // at 1023: offset 63 refused
    const TextureRecord& tall = bank.add(k16, 64, 250); // height failure, then a scan to the end
    ASSERT_TRUE(bank.place());
    expectAt(even, 16, 0, 8);
    expectAt(tile, 16, 2, 8);
    EXPECT_EQ(tall.Group, 17);
    EXPECT_EQ(groupOrigin(tall), (std::pair{0, 256}));
}

TEST(PlacementRules, NullPlaceholdersTakeNoSpaceButGetAGroup)
{
    {
        InMemoryBank bank;
        const TextureRecord& placeholder = bank.placeholder();
        ASSERT_TRUE(bank.place());
        expectAt(placeholder, 1, 0, 0);
        EXPECT_EQ(bank.ctx.GroupWidths[0], 1);
    }
    {
        UnsortedBank bank;
        bank.add(k16, 64, 10);
        const TextureRecord& placeholder = bank.placeholder();
        const TextureRecord& after = bank.add(k4, 16, 4);
        ASSERT_TRUE(bank.place());
        // At cursor 64, a page boundary, it is refused; on the retry it
        // lands at the left edge and leaves the skyline alone.
        expectAt(placeholder, 1, 0, 10);
        expectAt(after, 1, 0, 10);
    }
}
