#include "ScriptFixture.h"

using OptionTest = ScriptTest;

TEST_F(OptionTest, MessagesOnPrintsEveryOptionState)
{
    run("o.fit", "MESSAGES: ON\nMATCHCLUTS: OFF\nSEPERATE: ON\nEDGE: ON\nSORT: OFF\nREMAP: DOWN\nREMAP: ON\n"
                 "REMAP: OFF\nMATCHCLUTS: ON\nSEPERATE: OFF\nEDGE: OFF\nSORT: ON\nREMAP: ACROSS\n");
    EXPECT_EQ(reporter.output(), "CLUT matching OFF\nSeperate CLUT's ON\nVRAM Page Edge-clear keeping ON\n"
                                 "Sorting OFF\nRemapping ON DOWN\nRemapping ON ACROSS\nRemapping OFF\n"
                                 "CLUT matching ON\nSeperate CLUT's OFF\nVRAM Page Edge-clear keeping OFF\n"
                                 "Sorting ON\nRemapping ON ACROSS\n");
}

TEST_F(OptionTest, UnknownArgumentKeepsStateButPrintsIt)
{
    run("o.fit", "MESSAGES: ON\nSORT: OFF\nSORT: YES\nREMAP: DOWN\nREMAP: YES\nEDGE: ON \nMESSAGES: YES\n");
    EXPECT_EQ(reporter.output(), "Sorting OFF\nSorting OFF\nRemapping ON DOWN\nRemapping ON DOWN\n"
                                 "VRAM Page Edge-clear keeping OFF\n");
    EXPECT_EQ(ctx.state.SortTextures, 0);
    EXPECT_EQ(ctx.state.RemapMode, 2u);
    EXPECT_EQ(ctx.state.EdgeClear, 0);
    EXPECT_EQ(ctx.state.MessagesOn, 1);
}

TEST_F(OptionTest, MessagesOffPrintsNothing)
{
    run("o.fit", "MESSAGES: ON\nMESSAGES: OFF\nSORT: OFF\nREMAP: DOWN\nMATCHCLUTS: OFF\nSEPERATE: ON\n");
    EXPECT_EQ(reporter.output(), "");
    EXPECT_EQ(ctx.state.SortTextures, 0);
    EXPECT_EQ(ctx.state.MatchCluts, 0);
    EXPECT_EQ(ctx.state.SeparateCluts, 1);
}

TEST_F(OptionTest, PalettesReadsFolderAndCountKeepingUnreadableCounts)
{
    const auto palettes = [&](const std::string& argument)
    {
        run("p.fit", "PALETTES: " + argument + "\n");
        return ctx.state.PaletteDir + " " + std::to_string(ctx.state.PaletteCount);
    };
    EXPECT_EQ(palettes("pals 4"), "PALS 4");
    EXPECT_EQ(ctx.state.RemapMode, 1u);
    run("r.fit", "REMAP: OFF\n");
    EXPECT_EQ(ctx.state.PaletteCount, 0u);
    EXPECT_EQ(palettes("more 7"), "MORE 7");
    EXPECT_EQ(ctx.state.RemapMode, 1u);
    EXPECT_EQ(palettes("other x"), "OTHER 7");
    EXPECT_EQ(palettes("big 256"), "BIG 7");
    EXPECT_EQ(palettes("neg -1"), "NEG 7");
    EXPECT_EQ(palettes("top 255"), "TOP 255");
    EXPECT_EQ(palettes("zero 0"), "ZERO 0");
}

TEST_F(OptionTest, ClutSizeClampedInto1To256)
{
    const auto clut = [&](const std::string& argument)
    {
        run("c.fit", "CLUT: " + argument + "\n");
        return ctx.state.ClutSize8;
    };
    EXPECT_EQ(clut("0"), 1);
    EXPECT_EQ(clut("300"), 256);
    EXPECT_EQ(clut("17"), 17);
    EXPECT_EQ(clut("x"), 17);
    EXPECT_EQ(clut("-5"), 1);
    EXPECT_EQ(clut("99999999999"), 256);
}

TEST_F(OptionTest, DuplicateAccepts0To255InLayoutScripts)
{
    const auto duplicate = [&](const std::string& argument)
    {
        run("d.lay", "DUPLICATE: " + argument + "\n");
        return ctx.state.DuplicateCount;
    };
    EXPECT_EQ(duplicate("3"), 3u);
    EXPECT_EQ(duplicate("256"), 3u);
    EXPECT_EQ(duplicate("-1"), 3u);
    EXPECT_EQ(duplicate("255"), 255u);
    EXPECT_EQ(duplicate("x"), 255u);
    EXPECT_EQ(duplicate("0"), 0u);
    EXPECT_EQ(reporter.output(), "");
}
