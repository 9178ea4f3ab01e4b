#include "ScriptFixture.h"

#include <tuple>

// X, Y, GroupX, Group
using Place = std::tuple<int, int, int, int>;
using Clut = std::pair<int, int>;

class LayoutScript : public ScriptTest
{
protected:
    LayoutScript()
    {
        for (const char* name : {"a.tga", "b.tga", "c.tga", "tree.tga", "bush.tga"})
            addTexture(name, expected::pattern(16, 16, 3));
        addTexture("e.tga", expected::pattern(16, 2, 20));
    }

    [[nodiscard]] std::vector<Place> places() const
    {
        std::vector<Place> all;
        for (const auto& r : ctx.bank.PendingList)
            all.emplace_back(r->X, r->Y, r->GroupX, r->Group);
        return all;
    }

    [[nodiscard]] std::vector<Clut> cluts() const
    {
        std::vector<Clut> all;
        for (const auto& r : ctx.bank.PendingList)
            all.emplace_back(r->ClutX, r->ClutY);
        return all;
    }
};

TEST_F(LayoutScript, CellLettersGiveCellBases)
{
    run("cells.lay", "a A 0 0 16 16\nb A 0 0 16 16\ne A 0 0 16 16\nq A 0 0 16 16\nZ A 0 0 16 16\n");
    EXPECT_EQ(places(), (std::vector<Place>{
                            {0, 0, 0, 1}, {16, 0, 0, 1}, {0, 64, 0, 1}, {0, 0, 64, 2}, {16, 128, 64, 2}}));
    EXPECT_EQ(ctx.bank.GroupWidths[0], 1);
    EXPECT_EQ(ctx.bank.GroupWidths[1], 1);
    EXPECT_EQ(ctx.bank.GroupWidths[2], 0);
}

// Two entries on a line, a negative X rounding down, two spaces after the
// cell letter or between entries (the blank an entry's reading starts at is
// not one of the five that lead to the next entry), y beyond the int range
// (read as INT_MAX; Y keeps the low 16 bits of 128 + INT_MAX), the smallest
// line in which the fuzzer found that sum overflowing.
TEST_F(LayoutScript, EntryPositionsInsideACell)
{
    const std::pair<const char*, std::vector<Place>> cases[] = {
        {"b TREE 8 4 16 16 BUSH 40 0 16 16\n", {{18, 4, 0, 1}, {26, 0, 0, 1}}},
        {"b A -5 0 16 16\n", {{14, 0, 0, 1}}},
        {"b  TREE 8 4 16 16 BUSH 40 0 16 16\n", {{18, 4, 0, 1}, {26, 0, 0, 1}}},
        {"b TREE 8 4 16 16  BUSH 40 0 16 16  A 0 8 16 16\n", {{18, 4, 0, 1}, {26, 0, 0, 1}, {16, 8, 0, 1}}},
        {"z a 0 2222222222222222222222 8 4\n", {{16, 127, 64, 2}}},
        {"z a 0 -2222222222222222222222 8 4\n", {{16, 128, 64, 2}}},
    };
    for (const auto& [line, want] : cases)
    {
        ctx.bank.PendingList.clear();
        run("b.lay", line);
        EXPECT_EQ(places(), want) << line;
    }
}

TEST_F(LayoutScript, BlankInsideAnEntryShiftsTheSpaceCount)
{
    // After A the fifth space lands before "16 B ...", which is no entry.
    run("s.lay", "a A 0 0 16  16 B 16 0 16 16\n");
    EXPECT_EQ(reporter.output(), "Opened A.tga\n");
    EXPECT_EQ(ctx.bank.PendingList.size(), 1u);
}

TEST_F(LayoutScript, NamePrefixesSetModesAndPaletteOnly)
{
    run("p.lay", "a *A 0 0 16 16 ?B 16 0 16 16 C 32 0 16 16\nb ?A 0 0 16 16 &B 16 0 16 16 C 32 0 16 16\n");
    std::vector<int> semiTrans;
    for (const auto& r : ctx.bank.PendingList)
        semiTrans.push_back(r->SemiTrans);
    EXPECT_EQ(semiTrans, (std::vector<int>{0x80, 0x81, 0, 0x81, 0x81, 0}));
    EXPECT_EQ(ctx.bank.PendingList[1]->Name, "B.tga");
    EXPECT_EQ(ctx.bank.PendingList[4]->PaletteOnly, 1);
    EXPECT_EQ(ctx.bank.PendingList[4]->Width, 1);
    EXPECT_EQ(ctx.bank.PendingList[5]->PaletteOnly, 0);
}

TEST_F(LayoutScript, FlatcrdTexelsPointOneEntryFurther)
{
    const expected::Texture texture = expected::pattern(16, 2, 20);
    addTexture("flatcrd.tga", texture);
    run("f.lay", "a FlatCrd.TGA 0 0 16 16 E 16 0 16 16\n");
    ASSERT_EQ(ctx.bank.PendingList.size(), 2u);
    EXPECT_EQ(timBytes(*ctx.bank.PendingList[0]), expected::tim(texture, {.indexOffset = 1}));
    EXPECT_EQ(timBytes(*ctx.bank.PendingList[1]), expected::tim(texture));
    EXPECT_EQ(ctx.state.IndexOffset, 0);
}

TEST_F(LayoutScript, ClutsFillRowsOf64WordsFrom255Up)
{
    run("c.lay",
        "a A 0 0 16 16 A 0 0 16 16 A 0 0 16 16 A 0 0 16 16 A 0 0 16 16\nb E 0 0 16 16\nc A 0 0 16 16\n");
    EXPECT_EQ(cluts(),
              (std::vector<Clut>{{0, 255}, {16, 255}, {32, 255}, {48, 255}, {0, 254}, {0, 253}, {0, 252}}));
}

TEST_F(LayoutScript, RestartBeforeTheFirstTextureUsesRow254)
{
    run("r.lay", "RESTART\na A 0 0 16 16\n");
    EXPECT_EQ(cluts(), (std::vector<Clut>{{0, 254}}));
}

TEST_F(LayoutScript, UnloadableEntrySkippedWithoutTouchingClutCounters)
{
    run("u.lay", "a MISSING 0 0 16 16 A 16 0 16 16\n");
    EXPECT_EQ(reporter.output(),
              std::string("Failed to open ") + kDefaultFolder + "MISSING.tga\nOpened A.tga\n");
    EXPECT_EQ(cluts(), (std::vector<Clut>{{0, 255}}));
    EXPECT_EQ(ctx.bank.PendingList[0]->Id, 0u);
}

TEST_F(LayoutScript, EntryOutsideTheFirstFourPagesRefused)
{
    run("o.lay", "z A 704 0 16 16 A 700 0 16 16\na ?B -4 0 16 16\n");
    EXPECT_EQ(reporter.output(), "Cell entry A lies outside the texture pages\nOpened A.tga\n"
                                 "Cell entry B lies outside the texture pages\n");
    EXPECT_EQ(reporter.messageLine(), "Cell entry B lies outside the texture pages");
    EXPECT_EQ(places(), (std::vector<Place>{{63, 128, 192, 4}}));
    EXPECT_EQ(ctx.bank.GroupWidths[3], 1);
}
