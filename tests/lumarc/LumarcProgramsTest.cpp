// lumarc and rlfinfo as a user runs them: exit statuses, what they print and
// the files they leave. Every path holds blanks and is one argument.
#include "LumarcFiles.h"
#include "ProgramRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <optional>

namespace
{

struct Case
{
    const char* name;
    std::vector<std::string> args;
    RunOptions options;
    int exitStatus;
    std::string out;
    std::string err;
    std::optional<Bytes> output = std::nullopt; // the output file afterwards; none: as it was
};

// `output`, when named, holds an earlier file before each run.
void expectRuns(const std::string& program, const std::vector<Case>& cases, const std::string& output)
{
    const Bytes earlier{'o', 'l', 'd'};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        if (!output.empty())
        {
            ASSERT_TRUE(writeFileBytes(output, earlier));
        }
        std::vector<std::string> command{program};
        command.insert(command.end(), c.args.begin(), c.args.end());
        const ProgramRun run = runProgram(command, c.options);
        EXPECT_EQ(run.exitStatus, c.exitStatus);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
        if (!output.empty())
        {
            EXPECT_EQ(readFileBytes(output), c.output.value_or(earlier));
        }
    }
}

} // namespace

// A failed write keeps the earlier output; the size line comes before the
// write. Every failure names the file and the system's reason. The trace setting "1" sends the writer's trace
// to standard error.
TEST(LumarcProgram, ConvertListAndFail)
{
    const TempFolder folder;
    const std::string in = folder.write("my screens/title screen.mdf", mdfwriter::mdfFile(panelLayout()));
    const std::string cut = folder.write("my screens/cut screen.mdf", Bytes{0x05, 0x00});
    const std::string out = folder.file("my screens/title screen.rlf");
    const std::string absent = folder.file("my screens/absent.mdf");
    const std::string noFolder = folder.file("absent/x.rlf");
    const ProgramRun help = runProgram({LUMARC_EXECUTABLE, "--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("Usage: lumarc", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("Run without\narguments, lumarc opens its converter dialog"), std::string::npos);
    RunOptions traced;
    traced.environment = {"PSX_DEBUG_OUTPUT=1"};
    // The limit holds standard error too: the output is named from its own
    // folder so that the message fits.
    RunOptions limited;
    limited.fileSizeLimit = 64;
    limited.workingFolder = folder.file("my screens");
    const std::string size = "128 bytes\n";
    const std::string trace =
        "Writing RLF header ... done.\nWriting gadgets ...\nWriting gadget header ...done.\n"
        "Writing child areas ...\nWriting rect ... done.\nWriting hotspots ...\n"
        "Writing hotspot ... done.\nWriting renderlist header ... done.\n"
        "Writing renderlist entries ...\nWriting renderlist entry ... done.\n"
        "Writing renderlist entry ... done.\ndone.\n";
    expectRuns(LUMARC_EXECUTABLE,
               {
                   {"PC", {in, out}, {}, 0, size, "", savedRlf(panelLayout(), 0)},
                   {"console", {"--psx", in, out}, {}, 0, size, "", savedRlf(panelLayout(), kPsxYOffset)},
                   {"trace", {in, out}, traced, 0, size, trace, savedRlf(panelLayout(), 0)},
                   {"list", {"--list", in}, {}, 0, "0000\tPanel\t1\t1\t2\n", ""},
                   {"list and convert",
                    {"--list", "--psx", in},
                    {},
                    2,
                    "",
                    "lumarc: --psx cannot be used with --list\n" + help.out},
                   {"one file", {in}, {}, 2, "", "lumarc: missing OUTPUT.rlf\n" + help.out},
                   {"three files", {in, out, "x"}, {}, 2, "", "lumarc: unexpected argument 'x'\n" + help.out},
                   {"unknown option",
                    {"--colour", in, out},
                    {},
                    2,
                    "",
                    "lumarc: unknown option '--colour'\n" + help.out},
                   {"missing input",
                    {absent, out},
                    {},
                    1,
                    "",
                    "lumarc: cannot open '" + absent + "': No such file or directory\n"},
                   {"cut input",
                    {cut, out},
                    {},
                    1,
                    "",
                    "lumarc: Couldn't read MDF file " + cut + ": unexpected end of file at byte 0\n"},
                   {"output folder missing",
                    {in, noFolder},
                    {},
                    1,
                    "",
                    "lumarc: cannot write '" + noFolder + "': No such file or directory\n"},
                   {"output is a folder",
                    {in, folder.file("my screens")},
                    {},
                    1,
                    "",
                    "lumarc: cannot write '" + folder.file("my screens") + "': Is a directory\n"},
                   {"write fails",
                    {in, "title screen.rlf"},
                    limited,
                    1,
                    size,
                    "lumarc: cannot write 'title screen.rlf': File too large\n"},
               },
               out);
}

TEST(RlfInfoProgram, ReportsDamageAndUsage)
{
    const TempFolder folder;
    const Bytes good = savedRlf(panelLayout(), 0);
    const std::string file = folder.write("my lists/panel list.rlf", good);
    const std::string cut = folder.write("my lists/cut list.rlf", Bytes(good.begin(), good.begin() + 60));
    const std::string missing = folder.file("my lists/absent.rlf");
    const ProgramRun help = runProgram({RLFINFO_EXECUTABLE, "--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("Usage: rlfinfo [--json] FILE\n", 0), 0u) << help.out;
    const std::string report =
        "gadgets 1\nbytes 128\nbyteOrder little-endian\noffsetsChecked 6\n"
        "gadget 0 offset 8 childAreas 1 hotspots 1 entries 2\n"
        "  box x 1 y 2 w 30 h 38\n"
        "  offsets childAreas 28 hotspots 36 renderList 44\n"
        "  childArea 0 x 10 y 20 w 20 h 20\n"
        "  hotspot 0 flagsA 1 flagsB 2 x 5 y 6\n"
        "  entry 0 offset 56 kind textured modeLow 2 textureId 7 points 1,2 17,2 1,18 17,18 "
        "colours #102030 #102030 #102030 #102030\n"
        "  entry 1 offset 92 kind untextured modeLow 1 textureId -1 points 21,2 31,2 21,12 31,12 "
        "colours #112233 #445566 #778899 #AABBCC\n";
    expectRuns(RLFINFO_EXECUTABLE,
               {
                   {"report", {file}, {}, 0, report, ""},
                   {"version", {"--version"}, {}, 0, "rlfinfo 1.0\n", ""},
                   {"damaged",
                    {cut},
                    {},
                    1,
                    "",
                    "rlfinfo: " + cut +
                        " is damaged at byte 44: gadget 0 render list count 2 needs 84 bytes from byte 44, "
                        "the file has 60\n"},
                   {"missing",
                    {missing},
                    {},
                    1,
                    "",
                    "rlfinfo: cannot open " + missing + ": No such file or directory\n"},
                   {"two files", {file, file}, {}, 2, "", help.out},
                   {"no file", {}, {}, 2, "", help.out},
               },
               "");
}

// The JSON report parses and says what the text report says of the same file
// (a missing field or bad JSON throws, which fails the test).
TEST(RlfInfoProgram, JsonReportAgreesWithTheText)
{
    using Json = nlohmann::json;
    const TempFolder folder;
    const std::string file = folder.write("my lists/panel list.rlf", savedRlf(panelLayout(), 0));
    const ProgramRun run = runProgram({RLFINFO_EXECUTABLE, "--json", file});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    const Json report = Json::parse(run.out);
    EXPECT_EQ(report.at("gadget_count"), 1);
    ASSERT_EQ(report.at("gadgets").size(), 1u);
    const Json& gadget = report.at("gadgets").at(0);
    EXPECT_EQ(gadget.at("box"), (Json{{"x", 1}, {"y", 2}, {"w", 30}, {"h", 38}}));
    ASSERT_EQ(gadget.at("entries").size(), 2u);
    EXPECT_EQ(gadget.at("entries").at(1).at("kind"), "untextured");
    EXPECT_EQ(gadget.at("entries").at(1).at("colours"), (Json{"#112233", "#445566", "#778899", "#AABBCC"}));
}
