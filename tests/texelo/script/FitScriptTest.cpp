#include "ScriptFixture.h"

using FitScript = ScriptTest;

TEST_F(FitScript, TransparencyModesCarryOverToPaletteAndTileLines)
{
    for (const char* name : {"water.tga", "grass.tga", "rock.tga", "leaf.tga", "sand.tga"})
        addTexture(name, expected::pattern(4, 4, 3));
    run("m.fit", "ALPHA: water\nTILE: grass\nROCK\nSUB: leaf\nPAL: sand\nHOMEPAL: sand\nTRANS: water\n"
                 "AWAYPAL: grass\n");
    std::vector<std::string> loaded;
    for (const auto& r : ctx.bank.PendingList)
        loaded.push_back(formatText("%u %s %02X, tiled %d, palette %d, home/away %d", r->Id, r->Name.c_str(),
                                    r->SemiTrans, r->Tiled, r->PaletteOnly, r->HomeAway));
    EXPECT_EQ(loaded, (std::vector<std::string>{"0 WATER.tga 81, tiled 0, palette 0, home/away 0",
                                                "1 GRASS.tga 81, tiled 1, palette 0, home/away 0",
                                                "2 ROCK.tga 00, tiled 0, palette 0, home/away 0",
                                                "3 LEAF.tga 82, tiled 0, palette 0, home/away 0",
                                                "4 SAND.tga 82, tiled 0, palette 1, home/away 0",
                                                "5 SAND.tga 82, tiled 0, palette 1, home/away 1",
                                                "6 WATER.tga 80, tiled 0, palette 0, home/away 0",
                                                "7 GRASS.tga 80, tiled 0, palette 1, home/away 2"}));
}

TEST_F(FitScript, FilesMatchesIgnoringCaseInNameOrder)
{
    const expected::Texture texture = expected::pattern(4, 4, 3);
    for (const char* name : {"tex/b.tga", "tex/A.TGA", "tex/c.Tga", "tex/ab.tga", "tex/notes.txt"})
        addTexture(name, texture);
    folder.makeFolder("tex/d.tga");
    run("f.fit", "PATH: tex/\nALPHA: b\nCLUT: 20\nFILES: ?.tga\n");
    // An entry spelt .Tga gets ".tga" appended and is then not found.
    EXPECT_EQ(reporter.output(), std::string("Opened TEX/B.tga\nOpened TEX/A.TGA\nOpened TEX/b.tga\n"
                                             "Failed to open ") +
                                     kDefaultFolder + "c.Tga.tga\n");
    ASSERT_EQ(ctx.bank.PendingList.size(), 3u);
    EXPECT_EQ(ctx.bank.PendingList[1]->Name, "A.TGA");
    EXPECT_EQ(ctx.bank.PendingList[2]->Id, 2u);
    EXPECT_EQ(ctx.bank.PendingList[2]->SemiTrans, 0); // FILES resets the mode
    EXPECT_EQ(ctx.state.ClutSize8, 20);          // and leaves CLUT in force
}

TEST_F(FitScript, DuplicateRestartAndBlankHashLinesAreTextureNames)
{
    addTexture("duplicate.tga", expected::pattern(4, 4, 3));
    addTexture("restart.tga", expected::pattern(4, 4, 3));
    run("n.fit", "DUPLICATE: 3\nRESTART\n #x\n");
    EXPECT_EQ(reporter.output(), std::string("Opened DUPLICATE.tga\nOpened RESTART.tga\nFailed to open ") +
                                     kDefaultFolder + "#X.tga\n");
    EXPECT_EQ(ctx.state.DuplicateCount, 0u);
}

TEST_F(FitScript, EmptyFitWritesNothingClearsShownListAndResetsBankOptions)
{
    ctx.ShownList.push_back(std::make_unique<TextureRecord>());
    run("e.fit", "SEPERATE: ON\nEDGE: ON\nSORT: OFF\nMATCHCLUTS: OFF\nPALETTES: p 3\nFIT: bank\n");
    EXPECT_EQ(reporter.output(), "");
    EXPECT_EQ(reporter.messageLine(), "");
    EXPECT_FALSE(exists("BANK.TBK"));
    EXPECT_TRUE(ctx.ShownList.empty());
    EXPECT_GE(reporter.repaints, 1);
    const ScriptState& s = ctx.state;
    EXPECT_EQ(formatText("bank %s %d, separate %d, edge %d, sort %d, match %d, palettes %s %u, remap %u",
                         s.BankName.c_str(), s.BankSeparateCluts, s.SeparateCluts, s.EdgeClear,
                         s.SortTextures, s.MatchCluts, s.PaletteDir.c_str(), s.PaletteCount, s.RemapMode),
              "bank BANK 1, separate 0, edge 0, sort 1, match 0, palettes P 0, remap 0");
}

TEST_F(FitScript, ScriptThatCannotBeOpenedIsReported)
{
    RunScript(ctx, "missing.fit");
    EXPECT_EQ(reporter.output(), "Failed to open script file missing.fit\n");
    EXPECT_EQ(reporter.messageLine(), "Failed to open script file missing.fit");
}
