// CLUT sharing, the strips at the bottom of a group and the separate CLUT
// area, on banks built in memory and placed in load order.

#include "InMemoryBank.h"
#include "texelo/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace
{

constexpr auto k4 = TimKind::Indexed4;
constexpr auto k8 = TimKind::Indexed8;
constexpr auto k16 = TimKind::Direct16;

struct UnsortedBank : InMemoryBank
{
    explicit UnsortedBank(bool separate = false)
    {
        ctx.state.SortTextures = 0;
        ctx.state.BankSeparateCluts = separate;
    }
};

// Group 1 holds the first and the last record; the middle one is too tall
// to share it and goes to group 2. All three have the same CLUT.
struct ThreeSameCluts : UnsortedBank
{
    explicit ThreeSameCluts(bool separate) : UnsortedBank(separate) {}
    const TextureRecord& first = add(k4, 64, 200, 7);
    const TextureRecord& other = add(k4, 64, 200, 7);
    const TextureRecord& last = add(k4, 16, 10, 7);
};

} // namespace

// In VRAM identical CLUTs are shared only within their group; in the
// separate area across the bank; with MATCHCLUTS OFF never.
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
        ThreeSameCluts bank(c.separate);
        bank.ctx.state.MatchCluts = c.match;
        ASSERT_TRUE(bank.place());
        EXPECT_EQ(bank.last.Group, 1);
        EXPECT_EQ(bank.other.Group, 2);
        EXPECT_EQ(c.separate ? bank.ctx.ClutRow : bank.other.ClutGroupX, c.separate ? 256 : 64);
        EXPECT_EQ(clutAt(bank.first), (c.separate ? std::pair{0, 0} : std::pair{0, 255}));
        EXPECT_EQ(clutAt(bank.other), c.other);
        EXPECT_EQ(clutAt(bank.last), c.last);
        EXPECT_EQ(bank.reporter.output(), c.output);
    }
}

TEST(ClutPlacement, FifthSixteenEntryClutStartsRowOneOfTheSeparateArea)
{
    UnsortedBank bank(true);
    for (int i = 0; i < 5; ++i)
        bank.add(k4, 8, 8);
    ASSERT_TRUE(bank.place());
    EXPECT_EQ(clutAt(*bank.ctx.PendingList[3]), (std::pair{48, 0}));
    EXPECT_EQ(clutAt(*bank.ctx.PendingList[4]), (std::pair{0, 1}));
    EXPECT_EQ(bank.ctx.ClutRow - 255, 2); // the bank's SeparateRows
}

TEST(ClutPlacement, NewStripSitsAboveTheTallestClutOfTheStripBelow)
{
    UnsortedBank bank;
    const TextureRecord& tall = bank.add(k4, 4, 4, -1, 16, 1);
    for (int i = 0; i < 3; ++i)
        bank.add(k4, 4, 4);
    const TextureRecord& fifth = bank.add(k4, 4, 4);
    ASSERT_TRUE(bank.place());
    EXPECT_EQ(clutAt(tall), (std::pair{0, 254}));
    EXPECT_EQ(clutAt(fifth), (std::pair{0, 253}));
}

TEST(ClutPlacement, ImagesStayAboveTheTopRowOfTheCurrentStrip)
{
    for (const uint16_t height : {242, 243})
    {
        SCOPED_TRACE(height);
        UnsortedBank bank;
        bank.add(k4, 16, 10, -1, 16, 3); // CLUT rows 252-255
        const TextureRecord& wide = bank.add(k16, 64, height);
        ASSERT_TRUE(bank.place());
        EXPECT_EQ(bank.ctx.PendingList[0]->ClutY, 252);
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
        EXPECT_EQ(bank.ctx.GroupWidths[0], columns) << clutWidth;
    }
}

TEST(ClutPlacement, SeparateAreaReservesEveryRowOfATallClut)
{
    UnsortedBank bank(true);
    for (int i = 0; i < 4; ++i)
        bank.add(k4, 8, 8);
    const TextureRecord& tall = bank.add(k4, 8, 8, -1, 16, 2); // row 1, three rows high
    for (int i = 0; i < 3; ++i)
        bank.add(k4, 8, 8);
    const TextureRecord& next = bank.add(k4, 8, 8);
    ASSERT_TRUE(bank.place());
    EXPECT_EQ(clutAt(tall), (std::pair{0, 1}));
    EXPECT_EQ(clutAt(next), (std::pair{0, 4}));
    EXPECT_EQ(bank.ctx.ClutRow - 255, 5);

    UnsortedBank endsTall(true);
    for (int i = 0; i < 4; ++i)
        endsTall.add(k4, 8, 8);
    endsTall.add(k4, 8, 8, -1, 16, 2);
    ASSERT_TRUE(endsTall.place());
    EXPECT_EQ(endsTall.ctx.ClutRow - 255, 4); // the last row's extra rows count
}

TEST(ClutPlacement, ClutTooWideForTheSeparateAreaIsReportedOnceAndTheBankFails)
{
    TempFolder folder;
    UnsortedBank bank(true);
    bank.ctx.state.BankName = folder.path() + "/WIDE";
    bank.add(k4, 8, 8);
    bank.add(k4, 8, 8, -1, 80).Name = "ACROSS.tga"; // five palettes side by side
    EXPECT_FALSE(OrganiseVram(bank.ctx));
    std::istringstream out(bank.reporter.output());
    std::vector<std::string> lines;
    for (std::string line; std::getline(out, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 2u) << bank.reporter.output();
    EXPECT_NE(lines[0].find("ACROSS.tga"), std::string::npos);
    EXPECT_NE(lines[0].find("CLUT"), std::string::npos);
    EXPECT_EQ(lines[1], "Unable to fit textures into maximum VRAM space!");
}

TEST(ClutPlacement, BlockedStripThatCannotMoveFailsInsteadOfLooping)
{
    UnsortedBank bank;
    bank.add(k16, 64, 255); // every column filled down to line 254
    const TextureRecord& palette = bank.paletteOnly();
    ASSERT_TRUE(bank.place());
    EXPECT_EQ(palette.Group, 2);
    EXPECT_EQ(clutAt(palette), (std::pair{0, 255}));
}

TEST(ClutPlacement, ClutWiderThanItsGroupNeverReachesIntoTheNextGroup)
{
    UnsortedBank bank;
    bank.add(k4, 64, 8);
    const TextureRecord& eight = bank.add(k8, 32, 8); // 256 entries in a one-column group
    ASSERT_TRUE(bank.place());
    EXPECT_EQ(eight.Group, 2);
    EXPECT_EQ(eight.GroupX, 64);
    EXPECT_EQ(bank.ctx.GroupWidths[1], 4);
    EXPECT_EQ(clutAt(eight), (std::pair{0, 255}));
}
