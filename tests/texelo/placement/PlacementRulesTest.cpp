// The placement pass and CLUT placement rule by rule, on banks built in
// memory. Every scenario loads its records with SORT OFF unless it is about
// sorting, so the order in which they meet the cursor is the order written.

#include "InMemoryBank.h"
#include "texelo/TempFolder.h"

#include <algorithm>
#include <filesystem>

// The bank this gives, with the CLUTs moved under the images, is checked
// byte for byte by the executable's tests.
TEST(PlacementRules, WorkedExampleSortsPlacesAndSharesCluts)
{
    InMemoryBank bank;
    // Loaded B, C, A: sorting puts A first and keeps B before C.
    const TextureRecord &b = bank.add(k4, 16, 32, 7), &c = bank.add(k4, 16, 32, 7), &a = bank.add(k4, 32, 64);
    ASSERT_TRUE(bank.place());
    EXPECT_EQ(bank.ctx.bank.PendingList.front().get(), &a);
    expectAt(a, 1, 0, 0);
    expectAt(b, 1, 32, 0);
    expectAt(c, 1, 48, 0);
    EXPECT_EQ(clutAt(a), (std::pair{0, 255}));
    EXPECT_EQ(clutAt(b), (std::pair{16, 255}));
    EXPECT_EQ(clutAt(c), (std::pair{16, 255}));
    EXPECT_EQ(bank.ctx.bank.GroupWidths[0], 1);
    EXPECT_EQ(bank.ctx.bank.GroupWidths[1], 0);
    EXPECT_EQ(bank.reporter.output(), "2 unique CLUTs\n");
}

TEST(PlacementRules, EachTextureLandsWhereTheCursorRulesPutIt)
{
    enum Line
    {
        Plain,
        Tiled,
        Null
    };
    struct Texture
    {
        TimKind kind;
        uint16_t width, height;
        Line line = Plain;
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
         {{k8, 48, 8, Plain, 128}, {k4, 32, 8}},
         {{1, 1, 64, 0}}},
        // 64-191 crosses 128 only; 32-159 would cross 64 and 128.
        {"an 8-bit texture may cross one page boundary but not two",
         {{k8, 32, 8}, {k8, 128, 8, Plain, 16}},
         {{1, 1, 64, 0}}},
        // The 16-bit ones are tried at 17 and 30; the refused one frees 29.
        {"16 bits start at an even column",
         {{k4, 17, 4}, {k16, 8, 4}, {k4, 3, 4}, {k16, 47, 4}, {k4, 1, 4}},
         {{1, 1, 18, 0}, {4, 1, 29, 0}, {3, 1, 0, 4}}},
        // Skyline 5: the tile line is the next power of two; the cursor stays.
        {"a tiled texture skips offset 40 and drops to the tile line",
         {{k4, 40, 5}, {k4, 8, 8, Tiled}, {k4, 4, 4}},
         {{2, 1, 40, 0}, {1, 1, 0, 8}}},
        {"a tiled width refusal keeps the aligned cursor",
         {{k4, 5, 4}, {k4, 60, 4, Tiled}, {k4, 2, 4}},
         {{2, 1, 8, 0}}},
        {"a refused 16-bit tile steps back one column",
         {{k4, 5, 4}, {k16, 60, 4, Tiled}, {k4, 1, 4}},
         {{2, 1, 7, 0}}},
        // The third lands at 0-4 on the retry; the tile line 8 has skyline 10.
        // The tiled texture's CLUT was placed at each refused try and stays.
        {"a tile-line refusal returns to the saved cursor",
         {{k4, 8, 8}, {k4, 56, 10}, {k4, 5, 2}, {k4, 8, 4, Tiled}, {k4, 2, 1}},
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
        {"a NULL placeholder alone gets the first group", {{k4, 0, 0, Null}}, {{0, 1, 0, 0}}},
        // At cursor 64, a page boundary, it is refused; on the retry it lands
        // at the left edge and leaves the skyline alone.
        {"a NULL placeholder takes no space",
         {{k16, 64, 10}, {k4, 0, 0, Null}, {k4, 16, 4}},
         {{1, 1, 0, 10}, {2, 1, 0, 10}}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        InMemoryBank bank(false);
        for (const Texture& t : c.textures)
            (void)(t.line == Null ? bank.placeholder()
                                  : bank.add(t.kind, t.width, t.height, -1, t.clutWidth, 0, t.line == Tiled));
        ASSERT_TRUE(bank.place());
        for (const At& at : c.expected)
        {
            expectAt(bank.loaded(at.index), at.group, at.x, at.y);
            EXPECT_NE(bank.ctx.bank.GroupWidths[at.group - 1], 0);
        }
        if (*c.output != '\0')
        {
            EXPECT_EQ(bank.reporter.output(), c.output);
        }
    }
}

TEST(PlacementRules, TiledTextureMovesFromOffset5To8AndReportsOnlyInTheMessageLine)
{
    InMemoryBank bank(false);
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
    EXPECT_FALSE(OrganiseVram(bank.ctx.bank, bankOptions(bank.ctx.state), bank.reporter, bank.ctx.files));
    EXPECT_EQ(bank.reporter.output(), "Unable to fit textures into maximum VRAM space!\n");
    EXPECT_EQ(bank.reporter.messageLine(), "Unable to fit textures into maximum VRAM space!");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    // One single-column group after another, through both bands.
    EXPECT_EQ(std::count(bank.ctx.bank.GroupWidths.begin(), bank.ctx.bank.GroupWidths.end(), 1), 32);
}

TEST(PlacementRules, SortDecidesWhichTextureSetsTheFirstGroupWidth)
{
    for (const bool sorted : {false, true})
    {
        SCOPED_TRACE(sorted ? "SORT ON" : "SORT OFF");
        InMemoryBank bank(sorted);
        const TextureRecord& narrow = bank.add(k4, 16, 8);
        const TextureRecord& wide = bank.add(k16, 128, 8);
        ASSERT_TRUE(bank.place());
        expectAt(narrow, 1, 0, sorted ? 8 : 0);
        expectAt(wide, sorted ? 1 : 2, 0, 0);
        EXPECT_EQ(wide.GroupX, sorted ? 0 : 64);
        EXPECT_EQ(bank.ctx.bank.GroupWidths[0], sorted ? 2 : 1);
        EXPECT_EQ(bank.ctx.bank.GroupWidths[1], sorted ? 0 : 2);
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
    BuildOriginalList(bank.ctx.bank, bank.ctx.state.SortTextures);
    std::vector<uint32_t> order;
    for (const auto& record : bank.ctx.bank.PendingList)
        order.push_back(record->Id);
    EXPECT_EQ(order, (std::vector<uint32_t>{3, 2, 1, 5, 0, 4}));
    for (uint32_t id = 0; id < 6; ++id)
        EXPECT_EQ(bank.loaded(id).Id, id);
}

TEST(PlacementRules, ClutFailureMovesTheCursorAndATooWideClutGetsAGroupOfItsOwn)
{
    InMemoryBank bank(false);
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
    EXPECT_EQ(bank.ctx.bank.GroupWidths[1], 2);
}

// Sixteen full columns, or fifteen and a group that would pass column 1024,
// start the bottom band; a 33rd column does not exist.
TEST(PlacementRules, BottomBandStartsAfterSixteenColumnsOrWhenAGroupWouldPassColumn1024)
{
    for (const int full : {16, 15, 32})
    {
        SCOPED_TRACE(full);
        InMemoryBank bank(false);
        for (int i = 0; i < full; ++i)
            bank.add(k16, 64, 200);
        const TextureRecord& last = bank.add(k16, full == 15 ? 128 : 64, full == 15 ? 8 : 200);
        ASSERT_EQ(bank.place(), full != 32);
        if (full == 32)
        {
            EXPECT_EQ(bank.reporter.output(), "");
            continue;
        }
        expectAt(last, full + 1, 0, 0);
        EXPECT_EQ((std::pair{int(last.GroupX), int(last.GroupY)}), (std::pair{0, 256}));
        EXPECT_EQ(bank.ctx.bank.GroupWidths[full], full == 15 ? 2 : 1);
    }
}

TEST(PlacementRules, LastGroupOfTheBandNeverReadsPastColumn1023)
{
    // Fifteen groups too full for anything else, then the last one at 960.
    InMemoryBank bank(false);
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
    EXPECT_EQ((std::pair{int(tall.GroupX), int(tall.GroupY)}), (std::pair{0, 256}));
}

// In VRAM identical CLUTs are shared only within their group; in the
// separate area across the bank; with MATCHCLUTS OFF never. Group 1 holds
// the first and the last record; the middle one is too tall to share it.
TEST(ClutPlacement, IdenticalClutsAreSharedWhereTheyCanBe)
{
    const struct
    {
        bool separate, match;
        std::pair<int, int> other, last;
        const char* output;
    } cases[] = {
        {false, true, {0, 255}, {0, 255}, "2 unique CLUTs\n"},
        {true, true, {0, 0}, {0, 0}, "1 unique CLUTs\n"},
        {false, false, {0, 255}, {16, 255}, "3 unique CLUTs\n"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "separate " << c.separate << ", match " << c.match);
        InMemoryBank bank(false, c.separate);
        bank.ctx.state.MatchCluts = c.match;
        const TextureRecord &first = bank.add(k4, 64, 200, 7), &other = bank.add(k4, 64, 200, 7),
                            &last = bank.add(k4, 16, 10, 7);
        ASSERT_TRUE(bank.place());
        EXPECT_EQ(last.Group, 1);
        EXPECT_EQ(other.Group, 2);
        EXPECT_EQ(c.separate ? bank.ctx.bank.ClutRow : other.ClutGroupX, c.separate ? 256 : 64);
        EXPECT_EQ(clutAt(first), (c.separate ? std::pair{0, 0} : std::pair{0, 255}));
        EXPECT_EQ(clutAt(other), c.other);
        EXPECT_EQ(clutAt(last), c.last);
        EXPECT_EQ(bank.reporter.output(), c.output);
    }
}

// Four sixteen-entry CLUTs to a row; the fifth starts row 1, and when it is
// three rows high the rows below it stay reserved, also when it is the last.
TEST(ClutPlacement, SeparateAreaFillsRowsAndReservesEveryRowOfATallClut)
{
    const struct
    {
        uint16_t fifthExtraRows;
        int count;
        std::pair<int, int> last;
        int separateRows;
    } cases[] = {{0, 5, {0, 1}, 2}, {2, 5, {0, 1}, 4}, {2, 9, {0, 4}, 5}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << c.count << " CLUTs, the fifth " << c.fifthExtraRows + 1 << " rows");
        InMemoryBank bank(false, true);
        for (int i = 0; i < c.count; ++i)
            bank.add(k4, 8, 8, -1, 16, i == 4 ? c.fifthExtraRows : 0);
        ASSERT_TRUE(bank.place());
        EXPECT_EQ(clutAt(*bank.ctx.bank.PendingList[3]), (std::pair{48, 0}));
        EXPECT_EQ(clutAt(*bank.ctx.bank.PendingList[4]), (std::pair{0, 1}));
        EXPECT_EQ(clutAt(*bank.ctx.bank.PendingList.back()), c.last);
        EXPECT_EQ(bank.ctx.bank.ClutRow - 255, c.separateRows);
    }
}

// The separate area holds 256 rows, down to VRAM's last line; a CLUT that
// would reach below it does not fit, and neither does the bank.
TEST(ClutPlacement, SeparateAreaEndsWithVram)
{
    const struct
    {
        int rows;            // one-row CLUTs of 64 entries, one to a row
        uint16_t lastExtraRows; // then one more of this many extra rows
        bool fits;
    } cases[] = {{255, 0, true}, {256, 0, false}, {254, 1, true}, {255, 1, false}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.rows << " rows, then " << c.lastExtraRows + 1);
        InMemoryBank bank(false, true);
        for (int i = 0; i < c.rows; ++i)
            bank.add(k4, 1, 1, -1, 64);
        const TextureRecord& last = bank.add(k4, 1, 1, -1, 64, c.lastExtraRows);
        EXPECT_EQ(bank.place(), c.fits);
        if (c.fits)
        {
            EXPECT_EQ(clutAt(last), (std::pair{0, c.rows}));
            EXPECT_EQ(bank.ctx.bank.ClutRow, 511);
        }
    }
}

TEST(ClutPlacement, NewStripSitsAboveTheTallestClutOfTheStripBelow)
{
    InMemoryBank bank(false);
    const TextureRecord& tall = bank.add(k4, 4, 4, -1, 16, 1);
    for (int i = 0; i < 4; ++i)
        bank.add(k4, 4, 4);
    ASSERT_TRUE(bank.place());
    EXPECT_EQ(clutAt(tall), (std::pair{0, 254}));
    EXPECT_EQ(clutAt(*bank.ctx.bank.PendingList.back()), (std::pair{0, 253}));
}

TEST(ClutPlacement, ImagesStayAboveTheTopRowOfTheCurrentStrip)
{
    for (const uint16_t height : {242, 243})
    {
        SCOPED_TRACE(height);
        InMemoryBank bank(false);
        const TextureRecord& low = bank.add(k4, 16, 10, -1, 16, 3); // CLUT rows 252-255
        const TextureRecord& wide = bank.add(k16, 64, height);
        ASSERT_TRUE(bank.place());
        EXPECT_EQ(low.ClutY, 252);
        EXPECT_EQ(wide.Group, height == 242 ? 1 : 2); // 10 + 242 reaches line 251
    }
}

TEST(ClutPlacement, GroupOfANarrowEightBitTextureIsRoundedUpToWholePages)
{
    for (const auto& [clutWidth, columns] : {std::pair<uint16_t, int>{80, 2}, {48, 1}})
    {
        InMemoryBank bank;
        bank.add(k8, 16, 4, -1, clutWidth);
        ASSERT_TRUE(bank.place());
        EXPECT_EQ(bank.ctx.bank.GroupWidths[0], columns) << clutWidth;
    }
}

TEST(ClutPlacement, ClutTooWideForTheSeparateAreaIsReportedOnceAndTheBankFails)
{
    TempFolder folder;
    InMemoryBank bank(false, true);
    bank.ctx.state.BankName = folder.path() + "/WIDE";
    bank.add(k4, 8, 8);
    bank.add(k4, 8, 8, -1, 80).Name = "ACROSS.tga"; // five palettes side by side
    EXPECT_FALSE(OrganiseVram(bank.ctx.bank, bankOptions(bank.ctx.state), bank.reporter, bank.ctx.files));
    const std::string out = bank.reporter.output();
    const std::string first = out.substr(0, out.find('\n'));
    EXPECT_EQ(out.substr(first.size()), "\nUnable to fit textures into maximum VRAM space!\n");
    EXPECT_NE(first.find("ACROSS.tga"), std::string::npos) << first;
    EXPECT_NE(first.find("CLUT"), std::string::npos) << first;
}

TEST(ClutPlacement, BlockedStripThatCannotMoveFailsInsteadOfLooping)
{
    InMemoryBank bank(false);
    bank.add(k16, 64, 255); // every column filled down to line 254
    const TextureRecord& palette = bank.paletteOnly();
    ASSERT_TRUE(bank.place());
    EXPECT_EQ(palette.Group, 2);
    EXPECT_EQ(clutAt(palette), (std::pair{0, 255}));
}

TEST(ClutPlacement, ClutWiderThanItsGroupNeverReachesIntoTheNextGroup)
{
    InMemoryBank bank(false);
    bank.add(k4, 64, 8);
    const TextureRecord& eight = bank.add(k8, 32, 8); // 256 entries in a one-column group
    ASSERT_TRUE(bank.place());
    EXPECT_EQ(eight.Group, 2);
    EXPECT_EQ(eight.GroupX, 64);
    EXPECT_EQ(bank.ctx.bank.GroupWidths[1], 4);
    EXPECT_EQ(clutAt(eight), (std::pair{0, 255}));
}
