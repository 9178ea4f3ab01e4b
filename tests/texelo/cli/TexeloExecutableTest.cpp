#include "ExpectedBank.h"
#include "TexeloRun.h"
#include "TgaWriter.h"

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

// The exit status is 1 exactly when the run reported an error, whichever sink
// the error went to; standard output stays as it always was. A texture that
// fails to decode is still found in the default folder, so only the
// decoder's complaint tells of the failure.
TEST_F(TexeloExecutable, ExitStatusTellsWhetherTheRunReportedAnError)
{
    using namespace expected;
    const std::string fallbackFolder = "t:/Varnok/Textures/PSX/TGAS/Objects/Global/";
    const std::string shown = "t:\\Varnok\\Textures\\PSX\\TGAS\\Objects\\Global\\";
    const Texture small = pattern(16, 16, 3);
    addTexture("a.tga", small);
    addTexture("many.tga", pattern(16, 16, 20));
    addTexture("wide.tga", pattern(256, 4, 3)); // a page column: too wide with EDGE ON
    addTexture("big.tga", pattern(260, 1, 3));
    addTexture("back.tga", pattern(640, 512, 3));
    Bytes badDepth = targa(small);
    badDepth[16] = 12;
    Bytes cut = targa(small);
    cut.resize(cut.size() / 2);
    tgawriter::TgaImage crossing = tgawriter::fromColours(4, 2, {}, 24);
    crossing.rle = true;
    crossing.pixelData = Bytes{0x84, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0}; // a run of 5 in a row of 4
    const std::pair<const char*, Bytes> undecodable[] = {
        {"depth", badDepth}, {"cut", cut}, {"crossing", tgawriter::encodeTga(crossing)}};
    for (const auto& [name, bytes] : undecodable)
    {
        folder.write(std::string("bad/") + name + ".tga", bytes);
        addTexture(fallbackFolder + name + ".tga", small);
    }
    const std::pair<const char*, const char*> scripts[] = {
        {"clean.fit", "A\nFIT: bank\n"},
        {"fallback.fit", "MANY\nFIT: bank\n"},
        {"missing.fit", "MISSING\nFIT: bank\n"},
        {"depth.fit", "PATH: bad\\\nDEPTH\nFIT: bank\n"},
        {"cut.fit", "PATH: bad\\\nCUT\nFIT: bank\n"},
        {"crossing.fit", "PATH: bad\\\nCROSSING\nFIT: bank\n"},
        {"nofit.fit", "EDGE: ON\nWIDE\nFIT: bank\nMESSAGES: ON\nSORT: OFF\n"},
        {"large.fit", "BIG\nFIT: bank\n"},
        {"nobank.fit", "A\nFIT: nowhere\\bank\n"},
        {"empty.lay", "FIT: bank\n"},
        {"back.fit", "OUTPATH: nowhere\\\nBACKDROP: BACK\n"},
        {"new.fit", "NEWBACKDROP: BACK\n"},
    };
    for (const auto& [name, text] : scripts)
        folder.write(name, text);

    const std::string saved = "1 unique CLUTs\nSaving Textures...\n";
    struct Case
    {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err = "";
    };
    const Case cases[] = {
        {{"clean.fit", "/c"}, 0, "Opened A.tga\n" + saved},
        {{"fallback.fit", "/c"},
         0,
         "Opened MANY.tga\nImage MANY.tga with 20 colours couldn't be saved as 4 BPP.\n"
         "defaulting to 8 BPP.\n" +
             saved},
        {{"missing.fit", "/c"}, 1, "Failed to open " + shown + "MISSING.tga\n"},
        {{"depth.fit", "/c"},
         1,
         "Opened " + shown + "DEPTH.tga\n" + saved,
         "Can't decode TGA - Only 8,15,16,24 and 32 bit TGA accepted. (ie not 12)\n"},
        {{"cut.fit", "/c"}, 1, "Opened " + shown + "CUT.tga\n" + saved, "Failed to decode TGA\n"},
        {{"crossing.fit", "/c"},
         1,
         "Opened " + shown + "CROSSING.tga\n" + saved,
         "Error in compressed data.\n"},
        {{"nofit.fit", "/c"}, 1, "Opened WIDE.tga\nUnable to fit textures into maximum VRAM space!\n"},
        {{"large.fit", "/c"},
         1,
         "Opened BIG.tga\nTexture BIG.tga is too large!\nBIG.tga is 260 pixels wide and 1 pixels high.\n"},
        {{"nobank.fit", "/c"},
         1,
         "Opened A.tga\n1 unique CLUTs\nCouldn't open output file NOWHERE\\BANK.TBK\n"},
        {{"empty.lay", "/c"}, 1, "Couldn't find any textures\n"},
        {{"back.fit", "/c"}, 1, "Couldn't open output file NOWHERE\\BACK\n"},
        {{"new.fit", "/c"}, 1, "Need to specify number of palettes for BACK"},
        {{"none.fit", "/c"}, 1, "Failed to open script file none.fit\n"},
        {{"--colour", "clean.fit"}, 2, "", "texelo: unknown option --colour\n"},
        // Without "/c" and without a display the note follows the run.
        {{"clean.fit"}, 0, "Opened A.tga\n" + saved, "texelo: the VRAM map cannot be shown: "},
        {{"missing.fit"},
         1,
         "Failed to open " + shown + "MISSING.tga\n",
         "texelo: the VRAM map cannot be shown: "},
        {{}, 1, "Failed to open script file \n", "texelo: the VRAM map cannot be shown: "},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.front());
        const TexeloRun run = runTexelo(c.args, folder.path());
        EXPECT_EQ(run.exitStatus, c.status);
        EXPECT_EQ(run.out, c.out);
        // Runs that wait name the reason there is no window after the prefix.
        const bool waits = c.args.size() < 2 || c.args[1] != "/c";
        EXPECT_EQ(waits ? run.err.substr(0, c.err.size()) : run.err, c.err);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/NOWHERE"));
}

// A script in a folder with a blank is named by one argument, relative or
// absolute; its capitals need not match the folder's.
TEST_F(TexeloExecutable, ScriptInAFolderWithABlank)
{
    addTexture("a.tga", expected::pattern(16, 16, 3));
    folder.write("My Levels/Job One.fit", "A\nFIT: bank\n");
    for (const std::string& script :
         {std::string("My Levels/Job One.fit"), folder.path() + "/MY LEVELS/JOB ONE.FIT"})
    {
        SCOPED_TRACE(script);
        std::filesystem::remove(folder.path() + "/BANK.TBK");
        const TexeloRun run = runTexelo({script, "/c"}, folder.path());
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.out, "Opened A.tga\n1 unique CLUTs\nSaving Textures...\n");
        EXPECT_EQ(run.err, "");
        EXPECT_TRUE(std::filesystem::exists(folder.path() + "/BANK.TBK"));
    }
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
    EXPECT_EQ(run.exitStatus, 1);
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
