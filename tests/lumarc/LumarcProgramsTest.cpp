// lumarc and rlfinfo as a user runs them: exit statuses, what they print and
// the files they leave. Every path holds blanks and is one argument.
#include "LumarcFiles.h"
#include "PngWriter.h"
#include "ProgramRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <optional>

namespace
{
namespace fs = std::filesystem;

// `output`: the output file afterwards; none: as it was.
// clang-format off
struct Case { const char* name; std::vector<std::string> args; RunOptions options; int exitStatus; std::string out;
              std::string err; std::optional<Bytes> output = std::nullopt; };
// clang-format on

// `output` holds an earlier file before each run.
void expectRuns(const std::string& program, const std::vector<Case>& cases, const std::string& output)
{
    const Bytes earlier{'o', 'l', 'd'};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeFileBytes(output, earlier));
        std::vector<std::string> command{program};
        command.insert(command.end(), c.args.begin(), c.args.end());
        const ProgramRun run = runProgram(command, c.options);
        EXPECT_EQ(run.exitStatus, c.exitStatus);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(readFileBytes(output), c.output.value_or(earlier));
    }
}

} // namespace

// A failed write keeps the earlier output; the size line comes before the write. Every failure names
// the file and the system's reason. The trace setting "1" sends the writer's trace to standard error.
// The output is a picture in the --render rows: a refused input or command line leaves it as it was,
// and a gadget outside the canvas is named.
TEST(LumarcProgram, ConvertListRenderAndFail)
{
    const TempFolder folder;
    const std::string in = folder.write("my screens/title screen.mdf", mdfwriter::mdfFile(panelLayout()));
    const std::string families = folder.write("my screens/families.mdf", mdfwriter::mdfFile(familyLayout()));
    const std::string cut = folder.write("my screens/cut screen.mdf", Bytes{0x05, 0x00});
    const std::string out = folder.file("my screens/title screen.rlf");
    const std::string absent = folder.file("my screens/absent.mdf");
    const std::string noFolder = folder.file("absent/x.rlf");
    const std::string small = folder.file("small.png");
    const std::string list = folder.write("panel.rlf", savedRlf(panelLayout(), 0));
    ASSERT_EQ(runProgram({RLFINFO_EXECUTABLE, "--size", "32x24", "--render", small, list}).exitStatus, 0);
    const ProgramRun help = runProgram({LUMARC_EXECUTABLE, "--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("Usage: lumarc", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("Run without\narguments, lumarc opens its converter dialog"), std::string::npos);
    // A render list kept read-only (by version control, say) is refused, not
    // replaced, by a user who may write its folder.
    const std::string locked = folder.write("my screens/locked.rlf", "locked");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder.path(), fs::perms::all);
    fs::permissions(folder.file("my screens"), fs::perms::all);
    const std::string log = folder.write("trace.log", "earlier\n"); // a trace file is added to
    // clang-format off
    const RunOptions full{.standardOutput = "/dev/full"}, nobody{.unprivileged = true};
    const RunOptions traced{.environment = {"PSX_DEBUG_OUTPUT=1"}}, toFile{.environment = {"PSX_DEBUG_OUTPUT=" + log}};
    const RunOptions unreachable{.environment = {"DISPLAY=:4711"}};
    const std::string noSpace = "lumarc: cannot write standard output: No space left on device\n";
    const std::string noDisplay = "lumarc: cannot open the dialog: no display can be reached (is DISPLAY or "
                                  "WAYLAND_DISPLAY set?)\nlumarc: converting needs no display: see lumarc --help\n";
    // The limit holds standard error too: the output is named from its own
    // folder so that the message fits.
    const RunOptions limited{.workingFolder = folder.file("my screens"), .fileSizeLimit = 64};
    const std::string size = "128 bytes\n";
    const std::string trace = "Writing RLF header ... done.\nWriting gadgets ...\nWriting gadget header ...done.\nWriting child areas ...\n"
        "Writing rect ... done.\nWriting hotspots ...\nWriting hotspot ... done.\nWriting renderlist header ... done.\n"
        "Writing renderlist entries ...\nWriting renderlist entry ... done.\nWriting renderlist entry ... done.\ndone.\n";
    const std::string outside = "lumarc: '" + in + "': gadget 0's box x 1 y 2 w 30 h 38 reaches outside the 32 x 24 canvas; only the part "
                                "inside is drawn\n";
    expectRuns(LUMARC_EXECUTABLE,
               {{"PC", {in, out}, {}, 0, size, "", savedRlf(panelLayout(), 0)},
                {"console", {"--psx", families, out}, {}, 0, "544 bytes\n", "", savedRlf(familyLayout(), kPsxYOffset)},
                {"trace", {in, out}, traced, 0, size, trace, savedRlf(panelLayout(), 0)},
                {"trace to a file", {in, out}, toFile, 0, size, "", savedRlf(panelLayout(), 0)},
                {"dialog without a display", {}, {}, 1, "", noDisplay},
                {"dialog on a display that cannot be reached", {}, unreachable, 1, "", "lumarc: could not connect to display :4711\n"
                 "lumarc: Could not load the Qt platform plugin \"xcb\" in \"\" even though it was found.\n" + noDisplay},
                {"list", {"--list", families}, {}, 0, "0000\tKinds\t3\t2\t9\n0001\tPoints\t0\t4\t0\n0002\tArea\t1\t0\t0\n0003\tEmpty\t0\t0\t0\n", ""},
                {"list to a full disk", {"--list", families}, full, 1, "", noSpace},
                {"size line to a full disk", {in, out}, full, 1, "", noSpace, savedRlf(panelLayout(), 0)},
                {"help to a full disk", {"--help"}, full, 1, "", noSpace},
                {"read-only output", {in, locked}, nobody, 1, "", "lumarc: cannot write '" + locked + "': Permission denied\n"},
                {"list and convert", {"--list", "--psx", in}, {}, 2, "", "lumarc: --psx cannot be used with --list\n" + help.out},
                {"one file", {in}, {}, 2, "", "lumarc: missing OUTPUT.rlf\n" + help.out},
                {"three files", {in, out, "x"}, {}, 2, "", "lumarc: unexpected argument 'x'\n" + help.out},
                {"unknown option", {"--colour", in, out}, {}, 2, "", "lumarc: unknown option '--colour'\n" + help.out},
                {"missing input", {absent, out}, {}, 1, "", "lumarc: cannot open '" + absent + "': No such file or directory\n"},
                {"cut input", {cut, out}, {}, 1, "", "lumarc: Couldn't read MDF file " + cut + ": unexpected end of file at byte 0\n"},
                {"output folder missing", {in, noFolder}, {}, 1, "", "lumarc: cannot write '" + noFolder + "': No such file or directory\n"},
                {"output is a folder", {in, folder.file("my screens")}, {}, 1, "",
                 "lumarc: cannot write '" + folder.file("my screens") + "': Is a directory\n"},
                {"write fails", {in, "title screen.rlf"}, limited, 1, size, "lumarc: cannot write 'title screen.rlf': File too large\n"},
                {"picture on a small canvas", {"--render", out, "--size", "32x24", in}, {}, 0, "", outside, readFileBytes(small)},
                {"picture of a cut input", {"--render", out, cut}, {}, 1, "",
                 "lumarc: Couldn't read MDF file " + cut + ": unexpected end of file at byte 0\n"},
                {"list and render", {"--list", "--render", out, in}, {}, 2, "", "lumarc: --render cannot be used with --list\n" + help.out},
                {"size without render", {"--size", "32x24", in, "x.rlf"}, {}, 2, "", "lumarc: --size needs --render\n" + help.out},
                {"no size", {"--render", out, "--size", "640", in}, {}, 2, "",
                 "lumarc: --size takes WxH, each side 1 to 4096, not '640'\n" + help.out}},
               out);
    // clang-format on
    EXPECT_EQ(folder.text("trace.log"), "earlier\n" + trace);
    EXPECT_EQ(folder.text("my screens/locked.rlf"), "locked");
}

// The output is a picture: the report rows leave it alone, and a damaged
// list or a wrong command line leaves it as it was.
TEST(RlfInfoProgram, ReportsDamageAndUsageAsTextOrJson)
{
    const TempFolder folder;
    const Bytes good = savedRlf(panelLayout(), 0);
    const std::string file = folder.write("my lists/panel list.rlf", good);
    const std::string cut = folder.write("my lists/cut list.rlf", Bytes(good.begin(), good.begin() + 60));
    const std::string missing = folder.file("my lists/absent.rlf");
    const std::string picture = folder.file("my lists/panel list.png");
    const RunOptions cutShort{.fileSizeLimit = 64}, full{.standardOutput = "/dev/full"};
    const ProgramRun help = runProgram({RLFINFO_EXECUTABLE, "--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("Usage: rlfinfo [--json] FILE\n", 0), 0u) << help.out;
    // clang-format off
    const std::string report = "gadgets 1\nbytes 128\nbyteOrder little-endian\noffsetsChecked 6\ngadget 0 offset 8 childAreas 1 hotspots 1 "
        "entries 2\n  box x 1 y 2 w 30 h 38\n  offsets childAreas 28 hotspots 36 renderList 44\n  childArea 0 x 10 y 20 w 20 h 20\n"
        "  hotspot 0 flagsA 1 flagsB 2 x 5 y 6\n  entry 0 offset 56 kind textured modeLow 2 textureId 7 points 1,2 17,2 1,18 17,18 colours "
        "#102030 #102030 #102030 #102030\n  entry 1 offset 92 kind untextured modeLow 1 textureId -1 points 21,2 31,2 21,12 31,12 colours "
        "#112233 #445566 #778899 #AABBCC\n";
    const std::string damaged = " is damaged at byte 44: gadget 0 render list count 2 needs 84 bytes from byte 44, the file has 60\n";
    expectRuns(RLFINFO_EXECUTABLE,
               {{"report", {file}, {}, 0, report, ""},
                {"version", {"--version"}, {}, 0, "rlfinfo 1.0\n", ""},
                {"version to a full disk", {"--version"}, full, 1, "", "rlfinfo: cannot write standard output: No space left on device\n"},
                {"report cut short", {file}, cutShort, 1, "gadgets 1\nbytes 128\nbyteOrder little-endian\noffsetsChecked 6\ngad",
                 "rlfinfo: cannot write the report: File too large\n"},
                {"damaged", {cut}, {}, 1, "", "rlfinfo: " + cut + damaged},
                {"picture of a damaged list", {"--render", picture, cut}, {}, 1, "", "rlfinfo: " + cut + damaged},
                {"missing", {missing}, {}, 1, "", "rlfinfo: cannot open " + missing + ": No such file or directory\n"},
                {"two files", {file, file}, {}, 2, "", help.out}, {"no file", {}, {}, 2, "", help.out},
                {"json and render", {"--json", "--render", picture, file}, {}, 2, "", help.out},
                {"no size", {"--render", picture, "--size", "0x480", file}, {}, 2, "", help.out},
                {"plain without render", {"--plain", file}, {}, 2, "", help.out}},
               picture);
    const std::string families = folder.write("my lists/families.rlf", savedRlf(familyLayout(), 0));
    EXPECT_NE(runProgram({RLFINFO_EXECUTABLE, families}).out.find("childAreas 3 hotspots 2 entries 9"), std::string::npos);
    // The JSON report says what the text report says.
    EXPECT_EQ(nlohmann::json::parse(runProgram({RLFINFO_EXECUTABLE, "--json", file}).out), nlohmann::json::parse(R"({
        "gadget_count": 1, "bytes": 128, "byte_order": "little-endian", "offsets_checked": 6, "gadgets": [{"offset": 8, "box": {"x": 1, "y": 2, "w":
        30, "h": 38}, "offsets": {"child_areas": 28, "hotspots": 36, "render_list": 44}, "child_areas": [{"x": 10, "y": 20, "w": 20, "h": 20}],
        "hotspots": [{"flags_a": 1, "flags_b": 2, "x": 5, "y": 6}], "entries": [{"offset": 56, "kind": "textured", "mode_low": 2, "texture_id": 7,
        "points": [{"x": 1, "y": 2}, {"x": 17, "y": 2}, {"x": 1, "y": 18}, {"x": 17, "y": 18}], "colours": ["#102030", "#102030", "#102030",
        "#102030"]}, {"offset": 92, "kind": "untextured", "mode_low": 1, "texture_id": -1, "points": [{"x": 21, "y": 2}, {"x": 31, "y": 2}, {"x":
        21, "y": 12}, {"x": 31, "y": 12}], "colours": ["#112233", "#445566", "#778899", "#AABBCC"]}]}]})"));
    // clang-format on
}

// Both programs draw the same picture of a layout, and the console's is the
// PC's moved down by 16 lines, nothing else changed.
TEST(RenderPrograms, ConsolePictureIsThePcPictureMovedDown)
{
    const TempFolder folder;
    const std::string in = folder.write("my screens/title screen.mdf", mdfwriter::mdfFile(panelLayout()));
    std::vector<std::vector<tgawriter::Rgba>> pictures;
    for (const bool psx : {false, true})
    {
        const std::string rlf = folder.write("list.rlf", savedRlf(panelLayout(), psx ? kPsxYOffset : 0));
        const std::string fromList = folder.file("from list.png");
        const std::string fromLayout = folder.file("from layout.png");
        const ProgramRun drawn = runProgram({RLFINFO_EXECUTABLE, "--render", fromList, rlf});
        std::vector<std::string> lumarc{LUMARC_EXECUTABLE, "--render", fromLayout, in};
        if (psx)
            lumarc.insert(lumarc.begin() + 1, "--psx");
        const ProgramRun converted = runProgram(lumarc);
        EXPECT_EQ(drawn.exitStatus + converted.exitStatus, 0) << drawn.err << converted.err;
        EXPECT_EQ(drawn.out + drawn.err + converted.out + converted.err, "");
        EXPECT_EQ(readFileBytes(fromList), readFileBytes(fromLayout));
        const Picture picture = readPng(fromList);
        ASSERT_EQ(std::pair(picture.width, picture.height), std::pair(640, 480));
        pictures.push_back(picture.pixels);
    }
    const std::size_t shift = 16 * 640;
    const tgawriter::Rgba black{0, 0, 0, 255}, magenta{255, 0, 255, 255};
    EXPECT_EQ(std::count(pictures[1].begin(), pictures[1].begin() + shift, black), shift);
    EXPECT_TRUE(std::equal(pictures[0].begin(), pictures[0].end() - shift, pictures[1].begin() + shift));
    EXPECT_EQ(std::count(pictures[0].end() - shift, pictures[0].end(), black), shift);
    EXPECT_GT(std::count(pictures[0].begin(), pictures[0].begin() + shift, magenta), 0); // the hotspot
}
