// The texelo program as a user runs it: what it prints where, its exit
// status, and the files it writes or keeps.

#include "PngWriter.h"
#include "ProgramInputs.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>

TEST(TexeloProgram, RunsPrintExitAndWrite)
{
    TempFolder folder;
    const std::string shown = "t:\\Varnok\\Textures\\PSX\\TGAS\\Objects\\Global\\";
    folder.write("a.tga", texture(16, 16, 3));
    folder.write("c$#.tga", texture(4, 4, 2));
    folder.write("wide.tga", texture(256, 1, 3)); // the largest texture, either way
    folder.write("high.tga", texture(1, 256, 3));
    folder.write("big.tga", texture(260, 1, 3));
    Bytes cut = texture(16, 16, 3);
    cut.resize(cut.size() / 2);
    folder.write("cut.tga", cut);
    // A PNG file serves where no Targa file is, never for a damaged one.
    const Bytes png = pngwriter::encodePng({.width = 4, .height = 4, .colourType = 0, .samples = std::vector<uint16_t>(16, 9)});
    folder.write("cut.png", png);
    folder.write("mix.png", png);
    folder.write("mix.dir/x", ""); // FILES takes no folder
    folder.write("bad.png", "not a picture");
    folder.write("My Tex/b.tga", texture(8, 8, 2));
    folder.write("KEPT.TBK", "earlier bank");
    folder.write("Mix.Tga", texture(8, 8, 20)); // 8-bit
    folder.write("Shared Art/shared.tga", texture(8, 8, 3));
    // 16 colours twice and one a step away from the first: reduced to 16
    // colours, that one pixel is 1 step off (PSNR 10 log10(31^2 x 99 / 1)).
    std::vector<tgawriter::Rgba> pairs;
    for (int k = 0; k < 33; ++k)
        pairs.push_back({uint8_t(k == 32 ? 8 : (k % 16 + 1) * 8), 0, uint8_t(k == 32 ? 48 : (k % 16 + 1) * 5 % 32 * 8)});
    folder.write("pairs.tga", tgawriter::encodeTga(tgawriter::fromColours(11, 3, pairs, 24)));
    // clang-format off
    const std::pair<const char*, const char*> scripts[] = {
        {"clean.fit", "A\nFIT: bank\n"}, {"sym.fit", "C$#\nFIT: bank\n"},
        {"cr.fit", "A\nFIT: A\rB\n"}, {"far.fit", "PATH: nowhere\\deeper\\\nSHARED\nFIT: bank\n"},
        {"edges.fit", "SEPERATE: ON\nWIDE\nHIGH\nFIT: edges\n"}, {"missing.fit", "NOPE\nFIT: bank\n"},
        {"cut.fit", "CUT\nBAD\nFIT: bank\n"}, {"empty.lay", "FIT: bank\n"},
        {"nofit.fit", "EDGE: ON\nWIDE\nFIT: bank\nA\nFIT: later\n"}, // stops at the bank that does not fit
        {"large.fit", "BIG\nFIT: bank\n"}, {"nobank.fit", "A\nFIT: nowhere\\bank\n"},
        {"kept.lay", "a A 0 0 16 16\nFIT: kept\n"}, // a bank of 220 bytes
        {"sort.fit", "MESSAGES: ON\nSORT: OFF\n"}, {"My Levels/Job One.fit", "PATH: my tex\\\nB\nNOPE\nFIT: BANK\n"},
        {"after.fit", "A\nFIT: bank\n\nA\nA\n"}, {"noname.fit", "A\nFIT:\n"},
        {"typos.lay", "PATH:\nxyzzy\n# a comment\na A 0 0 16 16\nb A 0\nhello there\nq\nc B 1 2\nFIT: bank\n"},
        {"page2.lay", "q A 0 0 16 16\nr A 0 0 16 16\nFIT: bank\n"}, {"proj.fitdata/cells.lay", "a A 0 0 16 16\nFIT: bank\n"},
        {"shared.fit", "SHARED\nNOPE\nFIT: bank\n"}, {"mixed.fit", "FILES: MIX.*\nFIT: bank\n"},
        {"separate.lay", "SEPERATE: ON\na MIX.TGA 0 0 8 8\nFIT: bank\n"}, {"reduce.fit", "REDUCE: 16\nDITHER: 0\nPAIRS\nFIT: bank\n"},
        {"reduce.lay", "REDUCE: 256\nREDUCE: 16\na PAIRS 0 0 11 3\nFIT: bank\n"},
        {"reduceoff.fit", "REDUCE: 17\nDITHER: 101\nREDUCE: 16\nREDUCE: OFF\nMIX\nFIT: bank\n"},
    };
    // clang-format on
    for (const auto& [name, text] : scripts)
        folder.write(name, text);
    const ProgramRun help = texelo({"--help"}, folder.path());
    EXPECT_TRUE(help.out.starts_with(
        "Usage: texelo [-q] [--dry-run] [--map FILE.png] [--depfile FILE] [--report FILE.json]\n"));

    const std::string saved = "1 unique CLUTs\nSaving Textures...\n";
    const std::string noWindow = "texelo: the VRAM map cannot be shown: there is no display (neither DISPLAY "
                                 "nor WAYLAND_DISPLAY is set)\n";
    const std::string lookedFor = "t\\:/Varnok/Textures/PSX/TGAS/Objects/Global/NOPE.";
    const std::string defaultFolder = "t:/Varnok/Textures/PSX/TGAS/Objects/Global/";
    // The four places a missing texture is looked for: Targa, then PNG, in its folder and the default one.
    const auto places = [&](const std::string& first, const std::string& second)
    { return first + "NOPE.tga, " + second + "NOPE.tga, " + first + "NOPE.png and " + second + "NOPE.png\n"; };
    const std::string notFound =
        "texelo: missing.fit:1: error: texture NOPE not found; looked for " + places("", defaultFolder);
    const std::string usage = "\n" + help.out;
    const std::string reduced = "Reduced PAIRS.tga from 17 to 16 colours, PSNR 49.8 dB\n";
    const auto eightBit = [](const std::string& name)
    { return "Image " + name + " with 20 colours couldn't be saved as 4 BPP.\ndefaulting to 8 BPP.\n"; };
    // `file` must exist after the run and then hold `contents`.
    // clang-format off
    struct Case { std::vector<std::string> args; int status; std::string out; std::string err = ""; std::string file = "";
                  std::optional<std::string> contents = {}; rlim_t fileSizeLimit = RLIM_INFINITY; std::vector<std::string> environment = {}; };
    // clang-format on
    const std::pair<std::string, std::string> unwritable = {
        "Opened A.tga\n1 unique CLUTs\nCouldn't open output file NOWHERE\\BANK.TBK\n",
        "texelo: nobank.fit:2: error: cannot create bank NOWHERE/BANK.TBK: No such file or directory\n"};
    const std::string noBank = "texelo: SORT.FIT: warning: the script wrote no bank: it has no FIT line\n";
    const std::string lostEntry =
        ": error: A.tga is left out of bank BANK: page 1 holds no texture, and a bank ends at its first empty page\n";
    // clang-format off
    const Case cases[] = {
        {{"clean.fit", "/c"}, 0, "Opened A.tga\n" + saved, "", "BANK.TBK"},
        {{"edges.fit", "/c"}, 0, "Opened WIDE.tga\nOpened HIGH.tga\n" + saved, "", "EDGES.TBK"},
        {{"missing.fit", "/c"}, 1, "Failed to open " + shown + "NOPE.tga\n", notFound},
        // A texture that does not decode is looked for in the default folder;
        // the diagnostic gives the decoder's reason for the file that was there.
        {{"cut.fit", "/c"}, 1, "Failed to open " + shown + "CUT.tga\nFailed to open " + shown + "BAD.tga\n",
         "texelo: cut.fit:1: error: cut.tga does not decode as a Targa file: truncated: 393 of 786 bytes\n"
         "texelo: cut.fit:2: error: bad.png does not decode as a PNG file: Not a PNG file\n"},
        {{"nofit.fit", "/c"}, 1, "Opened WIDE.tga\nUnable to fit textures into maximum VRAM space!\n",
         "texelo: nofit.fit:3: error: bank BANK does not fit in VRAM: no place for the image of WIDE.tga (4-bit, line 2; image 64 x 1, CLUT 16 x 1 "
         "in VRAM words x lines); the bank had filled 0.0% of VRAM (0 of 524,288 words); EDGE: ON keeps the last column of each page group free, so "
         "a texture a whole number of pages wide needs EDGE: OFF\n"},
        {{"large.fit", "/c"}, 1, "Opened BIG.tga\nTexture BIG.tga is too large!\nBIG.tga is 260 pixels wide and 1 pixels high.\n",
         "texelo: large.fit:1: error: BIG.tga is 260 x 1 texels; a texture is at most 256 x 256\n"},
        // A dry run writes nothing, yet says what a real run would.
        {{"nobank.fit", "/c"}, 1, unwritable.first, unwritable.second},
        {{"--dry-run", "nobank.fit", "/c"}, 1, unwritable.first, unwritable.second},
        {{"empty.lay", "/c"}, 1, "Couldn't find any textures\n",
         "texelo: empty.lay:1: error: bank BANK.TBK not written: no texture was loaded for it\n"},
        {{"kept.lay", "/c"}, 1, "Opened A.tga\nSaving Textures...\nCouldn't write output file KEPT.TBK\n",
         "texelo: kept.lay:2: error: cannot write bank KEPT.TBK: File too large\n", "KEPT.TBK", "earlier bank", 150},
        {{"none.fit", "/c"}, 1, "Failed to open script file none.fit\n",
         "texelo: none.fit: error: cannot read the script: No such file or directory\n"},
        // Slips that pass: warnings, and the exit status of a clean run.
        {{"after.fit", "/c"}, 0, "Opened A.tga\n" + saved + "Opened A.tga\nOpened A.tga\n",
         "texelo: after.fit:4: warning: 2 textures after the last FIT are in no bank\n"},
        {{"noname.fit", "/c"}, 0, "Opened A.tga\n" + saved,
         "texelo: noname.fit:2: warning: FIT without a bank name: the bank is written as the hidden file .TBK\n", ".TBK"},
        {{"typos.lay", "/c"}, 0, "Opened A.tga\nSaving Textures...\n",
         "texelo: typos.lay:2: warning: \"xyzzy\" is neither a keyword nor a cell line with an entry\ntexelo: typos.lay:5: warning: \"b A 0\" is "
         "neither a keyword nor a cell line with an entry\ntexelo: typos.lay:6: warning: \"hello there\" is neither a keyword nor a cell line with "
         "an entry\ntexelo: typos.lay: warning: 5 lines in all match no form of a layout script\n"},
        // Entries of a page after one without a texture are in no file.
        {{"page2.lay", "/c"}, 1, "Opened A.tga\nOpened A.tga\nSaving Textures...\n",
         "texelo: page2.lay:1" + lostEntry + "texelo: page2.lay:2" + lostEntry, "BANK.TBK", std::string("\0\0\0\0\0\0\0\0", 8)},
        // The dialect follows the script's own name, not its folder's.
        {{"proj.fitdata/cells.lay", "/c"}, 0, "Opened A.tga\nSaving Textures...\n", "", "BANK.TBK"},
        // TEXELO_TEXTURE_FOLDER is the second place, with its real letter case in the diagnostic.
        {{"shared.fit", "/c"}, 1, "Opened shared art/SHARED.tga\nFailed to open shared art/NOPE.tga\n" + saved,
         "texelo: shared.fit:2: error: texture NOPE not found; looked for " + places("", "Shared Art/"),
         "BANK.TBK", {}, RLIM_INFINITY, {"TEXELO_TEXTURE_FOLDER=shared art"}},
        // FILES passes names as found, .png ones too; a layout's 8-bit CLUT stays beside its image.
        {{"mixed.fit", "/c"}, 0, "Opened mix.png\nOpened Mix.Tga\n" + eightBit("Mix.Tga") + "2" + saved.substr(1), "", "BANK.TBK"},
        {{"separate.lay", "/c"}, 0, "Opened MIX.TGA\n" + eightBit("MIX.TGA") + "Saving Textures...\n",
         "texelo: separate.lay:2: warning: MIX.TGA is an 8-bit texture, whose CLUT the separate CLUT area does not take: it goes beside the images\n"},
        // REDUCE in both dialects; values it does not take are named and change nothing.
        {{"reduce.fit", "/c"}, 0, "Opened PAIRS.tga\n" + reduced + saved, "", "BANK.TBK"},
        {{"reduce.lay", "/c"}, 0, "Opened PAIRS.tga\n" + reduced + "Saving Textures...\n", "", "BANK.TBK"},
        {{"reduceoff.fit", "/c"}, 0, "Opened MIX.tga\n" + eightBit("MIX.tga") + saved,
         "texelo: reduceoff.fit:1: warning: REDUCE takes 16, 256 or OFF, not \"17\"; it stays OFF\n"
         "texelo: reduceoff.fit:2: warning: DITHER takes a level from 0 to 100, not \"101\"; it stays 50\n"},
        // The batch switch in any case, and -c; -q keeps only what is not progress.
        {{"SORT.FIT", "/C"}, 0, "Sorting OFF\n", noBank},
        {{"-c", "-q", "clean.fit"}, 0, ""},
        {{"--quiet", "missing.fit", "/c"}, 1, "Failed to open " + shown + "NOPE.tga\n", notFound},
        {{"SORT.FIT"}, 0, "Sorting OFF\n", noBank + noWindow},
        {{"SORT.FIT"}, 0, "Sorting OFF\n", noBank + "texelo: the VRAM map cannot be shown: the display named by DISPLAY or "
         "WAYLAND_DISPLAY cannot be opened\n", "", {}, RLIM_INFINITY, {"DISPLAY=:4711"}},
        {{"missing.fit"}, 1, "Failed to open " + shown + "NOPE.tga\n", notFound + noWindow},
        // One argument names a script in a folder with blanks, relative or absolute, in any case. The
        // dependency file names every file read or looked for as found on disk, blanks escaped.
        {{"--depfile", "job.d", "my levels/job one.fit", "/c"}, 1, "Opened MY TEX\\B.tga\nFailed to open " + shown + "NOPE.tga\n" + saved,
         "texelo: my levels/job one.fit:3: error: texture NOPE not found; looked for " + places("My Tex/", defaultFolder), "job.d",
         "BANK.TBK: \\\n  My\\ Levels/Job\\ One.fit \\\n  My\\ Tex/b.tga \\\n  My\\ Tex/NOPE.tga \\\n  " +
             lookedFor + "tga \\\n  My\\ Tex/NOPE.png \\\n  " + lookedFor +
             "png\n\nMy\\ Levels/Job\\ One.fit:\n\nMy\\ Tex/b.tga:\n\nMy\\ Tex/NOPE.tga:\n\n" + lookedFor +
             "tga:\n\nMy\\ Tex/NOPE.png:\n\n" + lookedFor + "png:\n"},
        {{"--depfile=job2.d", folder.file("MY LEVELS/JOB ONE.FIT"), "/c"}, 1, "Opened MY TEX\\B.tga\nFailed to open " + shown + "NOPE.tga\n" + saved,
         "texelo: " + folder.file("MY LEVELS/JOB ONE.FIT") + ":3: error: texture NOPE not found; looked for " + places("My Tex/", defaultFolder),
         "job2.d"},
        // A run that wrote nothing has no rule; $ and # are escaped; a place only looked in, in a folder
        // that is not there, is listed through the nearest that is; a name with a line break is refused.
        {{"--depfile", "none.d", "missing.fit", "/c"}, 1, "Failed to open " + shown + "NOPE.tga\n", notFound, "none.d", ""},
        {{"--depfile", "sym.d", "sym.fit", "/c"}, 0, "Opened C$#.tga\n" + saved, "", "sym.d",
         "BANK.TBK: \\\n  sym.fit \\\n  c$$\\#.tga\n\nsym.fit:\n\nc$$\\#.tga:\n"},
        {{"--depfile", "far.d", "far.fit", "/c"}, 0, "Opened shared art/SHARED.tga\n" + saved, "", "far.d", // through "."
         "BANK.TBK: \\\n  far.fit \\\n  Shared\\ Art/shared.tga \\\n  .\n\nfar.fit:\n\nShared\\ Art/shared.tga:\n\n.:\n",
         RLIM_INFINITY, {"TEXELO_TEXTURE_FOLDER=shared art"}},
        {{"--depfile", "cr.d", "cr.fit", "/c"}, 1, "Opened A.tga\n" + saved,
         "texelo: cr.fit: error: cannot write the dependency file cr.d: the file name \"A\\rB.TBK\" holds a line break\n"},
        {{"--report", "no/r.json", "clean.fit", "/c"}, 1, "Opened A.tga\n" + saved,
         "texelo: clean.fit: error: cannot write the report no/r.json: No such file or directory\n"},
        {{"--depfile=none/ok.d", "clean.fit", "/c"}, 1, "Opened A.tga\n" + saved,
         "texelo: clean.fit: error: cannot write the dependency file none/ok.d: No such file or directory\n"},
        // Usage errors name what is wrong.
        {{"--colour", "clean.fit"}, 2, "", "texelo: unknown option '--colour'" + usage},
        {{"--depfile"}, 2, "", "texelo: --depfile needs the name of the dependency file" + usage},
        {{"clean.fit", "/c", "extra"}, 2, "", "texelo: unexpected argument 'extra'" + usage},
        {{}, 2, "", "texelo: no script named" + usage},
        {{"/c"}, 2, "", "texelo: no script named" + usage},
        {{"--version"}, 0, "texelo 1.0\n"},
    };
    // clang-format on
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(c.args));
        std::filesystem::remove(folder.file("BANK.TBK"));
        RunOptions options = within(folder.path(), c.fileSizeLimit);
        options.environment = c.environment;
        std::vector<std::string> command = c.args;
        command.insert(command.begin(), TEXELO_EXECUTABLE);
        const ProgramRun run = runProgram(command, options);
        EXPECT_EQ(run.exitStatus, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
        EXPECT_TRUE(c.file.empty() || folder.exists(c.file)) << c.file;
        EXPECT_TRUE(!c.contents || folder.text(c.file) == *c.contents) << folder.text(c.file);
    }
    EXPECT_FALSE(folder.exists("NOWHERE"));
    // Texts lost to a full disk fail the run, though the bank is written.
    RunOptions full = within(folder.path());
    full.standardOutput = "/dev/full";
    const ProgramRun lost = runProgram({TEXELO_EXECUTABLE, "clean.fit", "/c"}, full);
    EXPECT_EQ(lost.exitStatus, 1);
    EXPECT_EQ(lost.err, "texelo: clean.fit: error: cannot write standard output: No space left on device\n");
    // The report lists what the bank holds: not the entries left out of it.
    ASSERT_EQ(texelo({"--report", "lost.json", "page2.lay", "/c"}, folder.path()).exitStatus, 1);
    EXPECT_NE(folder.text("lost.json").find("\"textures\": []"), std::string::npos) << folder.text("lost.json");
    EXPECT_FALSE(folder.exists("none"));
}

// The samples, run for real with a report and then dry: the dry run prints
// and exits as the real one, writes only its report (the same), and the
// report agrees with tbkinfo's reading of the banks the real run wrote.
TEST(TexeloProgram, DryRunAndReportAgreeWithTheBanks)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.file("samples"));
    std::filesystem::copy(SAMPLES_DIR "/texelo", folder.file("samples/texelo"),
                          std::filesystem::copy_options::recursive);
    const std::pair<const char*, std::vector<std::string>> scripts[] = {
        // Besides the palettes NEWBACKDROP reads from the working folder.
        {"level1.txt", {"0.act", "1.act", "2.act", "LEVEL1.TBK", "report.json"}},
        {"level2.fit", {"0.act", "1.act", "2.act", "LEVEL2.TBK", "report.json"}},
        {"backdrops.fit", {"0.act", "1.act", "2.act", "STARS", "TITLE", "report.json"}},
    };
    for (const auto& [script, written] : scripts)
    {
        SCOPED_TRACE(script);
        const std::string path = std::string("../../samples/texelo/") + script;
        for (const char* run : {"run/real", "run/dry"})
            for (const char* act : {"0.act", "1.act", "2.act"})
                folder.write(std::string(run) + "/" + act,
                             folder.read(std::string("samples/texelo/backdrops/") + act));
        const ProgramRun real = texelo({"--report", "report.json", path, "/c"}, folder.file("run/real"));
        const ProgramRun dry =
            texelo({"--dry-run", "--report=report.json", path, "/c"}, folder.file("run/dry"));
        EXPECT_EQ(real.exitStatus, 0) << real.err;
        EXPECT_EQ(dry.exitStatus, real.exitStatus);
        EXPECT_EQ(dry.out, real.out);
        EXPECT_NE(real.out.find(script[0] == 'b' ? "" : "Saving Textures...\n"), std::string::npos);
        EXPECT_EQ(dry.err, real.err);
        EXPECT_EQ(folder.entries("run/real"), written);
        const std::vector<std::string> dryWritten{"0.act", "1.act", "2.act", "report.json"};
        EXPECT_EQ(folder.entries("run/dry"), dryWritten);
        EXPECT_EQ(folder.text("run/dry/report.json"), folder.text("run/real/report.json"));

        const nlohmann::json report = nlohmann::json::parse(folder.text("run/real/report.json"));
        EXPECT_EQ(report["script"], path);
        EXPECT_EQ(report["banks"].size(), script[0] == 'b' ? 0u : 1u);
        for (const auto& bank : report["banks"])
        {
            const ProgramRun read =
                runProgram({TBKINFO_EXECUTABLE, "--json", bank["file"]}, within(folder.file("run/real")));
            ASSERT_EQ(read.exitStatus, 0) << read.err;
            const nlohmann::json tbk = nlohmann::json::parse(read.out);
            std::size_t records = 0;
            for (std::size_t g = 0; g < tbk["groups"].size(); ++g)
                for (const auto& record : tbk["groups"][g]["records"])
                {
                    ++records;
                    const auto texture = std::find_if(bank["textures"].begin(), bank["textures"].end(),
                                                      [&](const auto& t) { return t["id"] == record["id"]; });
                    ASSERT_NE(texture, bank["textures"].end()) << record;
                    EXPECT_EQ((*texture)["group"], g + 1);
                    const auto agree =
                        [&](const char* area, const char* ours, std::vector<const char*> fields)
                    {
                        for (const char* field : fields)
                            EXPECT_EQ((*texture)[ours][field], record[area][field]) << field << record;
                    };
                    if (!record["pixels"].is_null())
                        agree("pixels", "image", {"dx", "dy", "width_words", "height"});
                    if (!record["clut"].is_null())
                        agree("clut", "clut", {"dx", "dy"});
                }
            EXPECT_EQ(bank["textures"].size(), records);
            // A shared CLUT names another texture whose CLUT sits at the same place (level 2 has some).
            int shared = 0;
            for (const auto& t : bank["textures"])
                if (!t["clut"].is_null() && !t["clut"]["shared_with"].is_null())
                {
                    const auto& owner = bank["textures"][t["clut"]["shared_with"].get<std::size_t>()];
                    EXPECT_TRUE(owner["id"] != t["id"] && owner["clut"]["vram"] == t["clut"]["vram"]) << t;
                    ++shared;
                }
            EXPECT_EQ(shared > 0, std::string(script) == "level2.fit");
        }
        for (const char* run : {"run/real", "run/dry"})
            std::filesystem::remove_all(folder.file(run));
    }
}
