#include "ExpectedBank.h"
#include "TexeloRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace
{

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        all.push_back(line);
    return all;
}

std::set<std::string> entries(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class TexeloExecutable : public ::testing::Test
{
protected:
    void addTexture(const std::string& relative, const expected::Texture& texture)
    {
        folder.write(relative, expected::targa(texture));
    }

    TempFolder folder;
};

} // namespace

TEST_F(TexeloExecutable, LayoutJobWritesTheBankAndOnlyTheDocumentedLines)
{
    using namespace expected;
    const Texture four = pattern(16, 16, 3);
    const Texture palette = recoloured(four, {0x7C00, 0x001F, 0x03E0}); // read in FOUR's colour order
    const Texture eight = pattern(16, 16, 20);
    const Texture direct = pattern(16, 17, 272);
    addTexture("tex/four.tga", four);
    addTexture("tex/palb.tga", palette);
    addTexture("tex/eight.tga", eight);
    addTexture("tex/direct.tga", direct);
    folder.makeFolder("OUT");
    folder.write("jobs/bank.scr", "# a layout bank\r\nPATH: tex\\\r\n"
                                  "a FOUR 0 0 16 16 NULL 16 0 16 16 &PALB 32 0 16 16\r\nb EIGHT 0 0 16 16\r\n"
                                  "q DIRECT 0 0 16 16\r\nFIT: out\\bank\r\n");

    const TexeloRun run = runTexelo({"JOBS\\BANK.SCR", "/c"}, folder.path());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(lines(run.out), (std::vector<std::string>{
                                  "Opened TEX\\FOUR.tga",
                                  "Opened TEX\\PALB.tga",
                                  "Opened TEX\\EIGHT.tga",
                                  "Image TEX\\EIGHT.tga with 20 colours couldn't be saved as 4 BPP.",
                                  "defaulting to 8 BPP.",
                                  "Opened TEX\\DIRECT.tga",
                                  "Image TEX\\DIRECT.tga with 272 colours couldn't be saved as 4 BPP.",
                                  "defaulting to 8 BPP.",
                                  "Image TEX\\DIRECT.tga couldn't be saved as 8 BPP.",
                                  "defaulting to 16 BPP.",
                                  "Saving Textures...",
                              }));
    EXPECT_TRUE(run.out.ends_with('\n'));
    EXPECT_EQ(run.err, "");
    // NULL (Id 1) counts in the total only; the palette-only line is a
    // palette record; every CLUT moved up under its group's images.
    const Bytes want = bank(5, 0,
                            {{1,
                              18,
                              {record(0, tim(four, {.clutY = 16, .x = 0})),
                               paletteRecord(0x80000000, 2, 16, 16, ownClut(palette)),
                               record(3, tim(eight, {.clutY = 17, .x = 16}))}},
                             {1, 18, {record(4, tim(direct, {.x = 0}))}}});
    EXPECT_EQ(readFile(folder.path() + "/OUT/BANK.TBK"), want);
}

TEST_F(TexeloExecutable, CapitalisedFitNameRunsAsFitScriptAndWindowNoteWithoutBatchWord)
{
    folder.write("job.fit", "MESSAGES: ON\nSORT: OFF\n");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"JOB.FIT"}, {"JOB.FIT", "/C"}, {"JOB.FIT", "/c"}})
    {
        const TexeloRun run = runTexelo(args, folder.path());
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.out, "Sorting OFF\n"); // a layout script would take both lines as cell lines
        EXPECT_EQ(run.err.empty(), args.back() == "/c") << args.back();
    }
}

TEST_F(TexeloExecutable, FailuresStillExitWithZero)
{
    // A page column wide: with EDGE ON every group opened for it is too narrow.
    addTexture("a.tga", expected::pattern(256, 4, 3));
    folder.write("a.fit", "EDGE: ON\nA\nFIT: bank\nMESSAGES: ON\nSORT: OFF\n");
    TexeloRun run = runTexelo({"a.fit", "/c"}, folder.path());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "Opened A.tga\nUnable to fit textures into maximum VRAM space!\n");

    run = runTexelo({"none.fit", "/c"}, folder.path());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "Failed to open script file none.fit\n");
    EXPECT_EQ(run.err, "");

    run = runTexelo({}, folder.path());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "Failed to open script file \n");
    EXPECT_NE(run.err, "");
}

TEST_F(TexeloExecutable, HelpAndVersion)
{
    const TexeloRun help = runTexelo({"--help"}, folder.path());
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("Usage: texelo [--map FILE.png] [--depfile FILE] SCRIPT [/c]\n", 0), 0u);
    const TexeloRun unknown = runTexelo({"--colour", "A.FIT"}, folder.path());
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err.rfind("texelo: unknown option --colour\nUsage: texelo", 0), 0u);
    const TexeloRun version = runTexelo({"--version"}, folder.path());
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out.rfind("texelo ", 0), 0u);
    EXPECT_EQ(lines(version.out).size(), 1u);
}

TEST_F(TexeloExecutable, FailedBankWriteKeepsTheEarlierBank)
{
    addTexture("a.tga", expected::pattern(16, 16, 3)); // a 220-byte bank
    folder.write("BANK.TBK", "earlier bank");
    folder.write("w.lay", "a A 0 0 16 16\nFIT: bank\n");
    const TexeloRun run = runTexelo({"w.lay", "/c"}, folder.path(), 150);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "Opened A.tga\nSaving Textures...\nCouldn't write output file BANK.TBK\n");
    const expected::Bytes kept = expected::readFile(folder.path() + "/BANK.TBK");
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "earlier bank");
    EXPECT_EQ(entries(folder.path()), (std::set<std::string>{"BANK.TBK", "a.tga", "w.lay"}));
}

// The script and textures as found on disk, both places a missing texture was
// looked for, and the bank; a dependency file that cannot be written fails
// the run.
TEST_F(TexeloExecutable, DependencyFileNamesWhatTheRunWroteReadAndLookedFor)
{
    addTexture("Tex/a.tga", expected::pattern(16, 16, 3));
    folder.write("Job.fit", "PATH:TEX\\\nA\nNOPE\nFIT: BANK\n");
    runTexelo({"--depfile", "job.d", "JOB.FIT", "/c"}, folder.path());
    const expected::Bytes depfile = expected::readFile(folder.path() + "/job.d");
    const std::string missing = "t\\:/Varnok/Textures/PSX/TGAS/Objects/Global/NOPE.tga";
    EXPECT_EQ(std::string(depfile.begin(), depfile.end()),
              "BANK.TBK: \\\n  Job.fit \\\n  Tex/a.tga \\\n  Tex/NOPE.tga \\\n  " + missing +
                  "\n\nJob.fit:\n\nTex/a.tga:\n\nTex/NOPE.tga:\n\n" + missing + ":\n");

    folder.write("ok.fit", "PATH:TEX\\\nA\nFIT: OK\n");
    const TexeloRun run = runTexelo({"--depfile=none/ok.d", "ok.fit", "/c"}, folder.path());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "texelo: couldn't write the dependency file none/ok.d: it cannot be created\n");
}
