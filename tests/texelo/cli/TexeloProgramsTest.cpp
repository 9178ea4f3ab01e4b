// The texelo program as a user runs it: what it prints where, its exit
// status, and the files it writes or keeps.

#include "ProgramInputs.h"

#include <gtest/gtest.h>

TEST(TexeloProgram, RunsPrintExitAndWrite)
{
    TempFolder folder;
    const std::string shown = "t:\\Varnok\\Textures\\PSX\\TGAS\\Objects\\Global\\";
    folder.write("a.tga", texture(16, 16, 3));
    folder.write("wide.tga", texture(256, 1, 3)); // the largest texture, either way
    folder.write("high.tga", texture(1, 256, 3));
    folder.write("big.tga", texture(260, 1, 3));
    Bytes cut = texture(16, 16, 3);
    cut.resize(cut.size() / 2);
    folder.write("cut.tga", cut);
    folder.write("My Tex/b.tga", texture(8, 8, 2));
    folder.write("KEPT.TBK", "earlier bank");
    const std::pair<const char*, const char*> scripts[] = {
        {"clean.fit", "A\nFIT: bank\n"},
        {"edges.fit", "SEPERATE: ON\nWIDE\nHIGH\nFIT: edges\n"},
        {"missing.fit", "NOPE\nFIT: bank\n"},
        {"cut.fit", "CUT\nFIT: bank\n"},
        {"nofit.fit", "EDGE: ON\nWIDE\nFIT: bank\n"},
        {"large.fit", "BIG\nFIT: bank\n"},
        {"nobank.fit", "A\nFIT: nowhere\\bank\n"},
        {"empty.lay", "FIT: bank\n"},
        {"kept.lay", "a A 0 0 16 16\nFIT: kept\n"}, // a bank of 220 bytes
        {"sort.fit", "MESSAGES: ON\nSORT: OFF\n"},
        {"My Levels/Job One.fit", "PATH: my tex\\\nB\nNOPE\nFIT: BANK\n"},
    };
    for (const auto& [name, text] : scripts)
        folder.write(name, text);
    const ProgramRun help = texelo({"--help"}, folder.path());
    EXPECT_EQ(help.out.rfind("Usage: texelo [--map FILE.png] [--depfile FILE] SCRIPT [/c]\n", 0), 0u);

    const std::string saved = "1 unique CLUTs\nSaving Textures...\n";
    const std::string noWindow = "texelo: the VRAM map cannot be shown: there is no display (neither DISPLAY "
                                 "nor WAYLAND_DISPLAY is set)\n";
    const std::string lookedFor = "t\\:/Varnok/Textures/PSX/TGAS/Objects/Global/NOPE.tga";
    struct Case
    {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err = "";
        std::string file = "";     // must exist after the run
        std::string contents = ""; // what it must then hold, unless empty
        rlim_t fileSizeLimit = RLIM_INFINITY;
    };
    const Case cases[] = {
        {{"clean.fit", "/c"}, 0, "Opened A.tga\n" + saved, "", "BANK.TBK"},
        {{"edges.fit", "/c"}, 0, "Opened WIDE.tga\nOpened HIGH.tga\n" + saved, "", "EDGES.TBK"},
        {{"missing.fit", "/c"}, 1, "Failed to open " + shown + "NOPE.tga\n"},
        // A texture that does not decode is looked for in the default folder.
        {{"cut.fit", "/c"}, 1, "Failed to open " + shown + "CUT.tga\n", "Failed to decode TGA\n"},
        {{"nofit.fit", "/c"}, 1, "Opened WIDE.tga\nUnable to fit textures into maximum VRAM space!\n"},
        {{"large.fit", "/c"},
         1,
         "Opened BIG.tga\nTexture BIG.tga is too large!\nBIG.tga is 260 pixels wide and 1 pixels high.\n"},
        {{"nobank.fit", "/c"},
         1,
         "Opened A.tga\n1 unique CLUTs\nCouldn't open output file NOWHERE\\BANK.TBK\n"},
        {{"empty.lay", "/c"}, 1, "Couldn't find any textures\n"},
        {{"kept.lay", "/c"},
         1,
         "Opened A.tga\nSaving Textures...\nCouldn't write output file KEPT.TBK\n",
         "",
         "KEPT.TBK",
         "earlier bank",
         150},
        {{"none.fit", "/c"}, 1, "Failed to open script file none.fit\n"},
        // Only a lower-case /c ends the run at once; without a display the
        // program then says why it cannot wait for its window.
        {{"SORT.FIT", "/c"}, 0, "Sorting OFF\n"},
        {{"SORT.FIT", "/C"}, 0, "Sorting OFF\n", noWindow},
        {{"SORT.FIT"}, 0, "Sorting OFF\n", noWindow},
        {{"missing.fit"}, 1, "Failed to open " + shown + "NOPE.tga\n", noWindow},
        {{}, 1, "Failed to open script file \n", noWindow},
        // One argument names a script in a folder with blanks, relative or
        // absolute, in any case. The dependency file names every file read
        // or looked for as found on disk, blanks escaped.
        {{"--depfile", "job.d", "my levels/job one.fit", "/c"},
         1,
         "Opened MY TEX\\B.tga\nFailed to open " + shown + "NOPE.tga\n" + saved,
         "",
         "job.d",
         "BANK.TBK: \\\n  My\\ Levels/Job\\ One.fit \\\n  My\\ Tex/b.tga \\\n  My\\ Tex/NOPE.tga \\\n  " +
             lookedFor + "\n\nMy\\ Levels/Job\\ One.fit:\n\nMy\\ Tex/b.tga:\n\nMy\\ Tex/NOPE.tga:\n\n" +
             lookedFor + ":\n"},
        {{"--depfile=job2.d", folder.file("MY LEVELS/JOB ONE.FIT"), "/c"},
         1,
         "Opened MY TEX\\B.tga\nFailed to open " + shown + "NOPE.tga\n" + saved,
         "",
         "job2.d"},
        {{"--depfile=none/ok.d", "clean.fit", "/c"},
         1,
         "Opened A.tga\n" + saved,
         "texelo: couldn't write the dependency file none/ok.d: it cannot be created\n"},
        {{"--colour", "clean.fit"}, 2, "", "texelo: unknown option --colour\n" + help.out},
        {{"--depfile"}, 2, "", "texelo: --depfile needs the name of the dependency file\n" + help.out},
        {{"--help"}, 0, help.out},
        {{"--version"}, 0, "texelo 1.0\n"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(c.args));
        std::filesystem::remove(folder.file("BANK.TBK"));
        const ProgramRun run = texelo(c.args, folder.path(), c.fileSizeLimit);
        EXPECT_EQ(run.exitStatus, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
        EXPECT_TRUE(c.file.empty() || folder.exists(c.file)) << c.file;
        EXPECT_TRUE(c.contents.empty() || folder.text(c.file) == c.contents) << folder.text(c.file);
    }
    EXPECT_FALSE(folder.exists("NOWHERE"));
    EXPECT_FALSE(folder.exists("none"));
}
