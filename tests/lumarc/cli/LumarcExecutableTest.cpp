// The lumarc executable as a user runs it: exit statuses, standard output
// and error, and the files it leaves.
#include "ExpectedRlf.h"
#include "ProgramRun.h"

#include <gtest/gtest.h>

using namespace mdfwriter;

namespace
{

ProgramRun lumarc(const std::vector<std::string>& args,
                  const std::optional<std::string>& debugSetting = std::nullopt,
                  rlim_t fileSizeLimit = RLIM_INFINITY)
{
    return runProgram(LUMARC_EXECUTABLE, args, debugSetting, fileSizeLimit);
}

Prim quad(uint8_t type, int16_t x, int16_t y, uint16_t textureId = 0)
{
    Prim p;
    p.type = type;
    p.mode = 0x0A;
    p.textureId = textureId;
    p.vertices = {Vertex{x, y}, Vertex{int16_t(x + 16), y}, Vertex{x, int16_t(y + 16)},
                  Vertex{int16_t(x + 16), int16_t(y + 16)}};
    p.colours = {Colour{0x10, 0x20, 0x30}, Colour{0x40, 0x50, 0x60}, Colour{0x70, 0x80, 0x90},
                 Colour{1, 2, 3}};
    return p;
}

Layout screenLayout()
{
    Gadget title;
    title.name = "Title";
    title.rects = {{}, {Rect{20, 10, 300, 60}}};
    title.hotspots = {{Hotspot{40, 30, 0x09}}};
    title.primLists = {
        PrimList{4, -2, {quad(kPrimF4, 20, 10), quad(kPrimGT4, 60, 10, 2), quad(kPrimFT4, 100, 10, 7)}},
        PrimList{0, 0, {quad(kPrimG4, 0, 0)}}};
    Gadget unnamed;
    unnamed.hotspots = {{Hotspot{500, 400}}, {}};
    Gadget empty;
    empty.name = "Empty";
    empty.primLists = {PrimList{}};
    return Layout{{title, unnamed, empty}};
}

// One gadget with one child area, one hotspot and one quad.
Layout tracedLayout()
{
    return Layout{{Gadget{.name = "Traced",
                          .rects = {{Rect{0, 0, 10, 10}}},
                          .hotspots = {{Hotspot{5, 5}}},
                          .primLists = {PrimList{0, 0, {quad(kPrimF4, 0, 0)}}}}}};
}

const std::string kTracedLayoutTrace =
    "Writing RLF header ... done.\nWriting gadgets ...\nWriting gadget header ...done.\n"
    "Writing child areas ...\nWriting rect ... done.\nWriting hotspots ...\nWriting hotspot ... done.\n"
    "Writing renderlist header ... done.\nWriting renderlist entries ...\n"
    "Writing renderlist entry ... done.\ndone.\n";

std::string sizeLine(const Bytes& file)
{
    return std::to_string(file.size()) + " bytes\n";
}

class LumarcExecutable : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(folder.valid()); }

    std::string writeMdf(const Layout& layout)
    {
        const std::string path = folder.file("screen.mdf");
        EXPECT_TRUE(writeFile(path, mdfFile(layout)));
        return path;
    }

    TempFolder folder;
    const std::string output = folder.file("screen.rlf");
};

} // namespace

// The second run replaces the first one's file.
TEST_F(LumarcExecutable, ConvertsForPcOrConsoleAndPrintsTheSize)
{
    const std::string input = writeMdf(screenLayout());
    for (const int yOffset : {0, 16})
    {
        SCOPED_TRACE(yOffset);
        const ProgramRun run = yOffset ? lumarc({"--psx", input, output}) : lumarc({input, output});
        const Bytes expected = expectedrlf::encode(screenLayout(), yOffset);
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.out, sizeLine(expected));
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(readBytes(output), expected);
        EXPECT_EQ(folder.entries(), (std::vector<std::string>{"screen.mdf", "screen.rlf"}));
    }
}

// Rect and hotspot columns count vectors, empty ones too; prims count the
// first list only.
TEST_F(LumarcExecutable, ListPrintsOneTabSeparatedLinePerGadget)
{
    const ProgramRun run = lumarc({"--list", writeMdf(screenLayout())});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "0000\tTitle\t2\t1\t3\n0001\t\t0\t2\t0\n0002\tEmpty\t0\t0\t0\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"screen.mdf"});
}

// Names with blanks, in a folder with a blank, each passed as one argument.
TEST_F(LumarcExecutable, PathsWithBlanksAreOneArgumentEach)
{
    ASSERT_TRUE(std::filesystem::create_directory(folder.file("my screens")));
    const std::string input = folder.file("my screens/title screen.mdf");
    const std::string rlf = folder.file("my screens/title screen.rlf");
    ASSERT_TRUE(writeFile(input, mdfFile(screenLayout())));
    const Bytes expected = expectedrlf::encode(screenLayout(), 16);
    const ProgramRun converted = lumarc({"--psx", input, rlf});
    EXPECT_EQ(converted.exitStatus, 0);
    EXPECT_EQ(converted.out, sizeLine(expected));
    EXPECT_EQ(converted.err, "");
    EXPECT_EQ(readBytes(rlf), expected);
    const ProgramRun listed = lumarc({"--list", input});
    EXPECT_EQ(listed.exitStatus, 0);
    EXPECT_EQ(listed.out, "0000\tTitle\t2\t1\t3\n0001\t\t0\t2\t0\n0002\tEmpty\t0\t0\t0\n");
}

TEST_F(LumarcExecutable, UsageGoesToStandardErrorOnMistakesAndToStandardOutputOnHelp)
{
    const ProgramRun help = lumarc({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("Usage: lumarc", 0), 0U) << help.out;
    EXPECT_EQ(help.err, "");
// With the dialog built in, no arguments open it (tested with the dialog).
#ifndef LUMARC_HAS_DIALOG
    const ProgramRun none = lumarc({});
    EXPECT_EQ(none.exitStatus, 2);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err.rfind("Usage: lumarc", 0), 0U) << none.err;
#endif
}

TEST_F(LumarcExecutable, FailuresAreReportedWithoutOutputFile)
{
    const std::string shortMdf = folder.file("short.mdf");
    ASSERT_TRUE(writeFile(shortMdf, Bytes{0x05, 0x00}));
    const std::string mdf = writeMdf(screenLayout());
    struct Case
    {
        std::vector<std::string> args;
        std::string err;
    };
    const std::vector<Case> cases{
        {{folder.file("absent.mdf"), output}, "Couldn't open MDF file\n"},
        {{shortMdf, output}, "Couldn't read MDF file " + shortMdf + ": unexpected end of file at byte 0\n"},
        {{mdf, folder.file("missing/screen.rlf")}, "Couldn't open file for writing\n"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.err);
        const ProgramRun run = lumarc(c.args);
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(folder.entries(), (std::vector<std::string>{"screen.mdf", "short.mdf"}));
    }
}

// A truncated input fails before anything is written; a write that passes the
// file-size limit fails after the size line (about 10 bytes, still under it).
TEST_F(LumarcExecutable, FailuresKeepExistingOutput)
{
    Bytes cut = mdfFile(screenLayout());
    cut.resize(cut.size() - 5);
    const std::string cutMdf = folder.file("cut.mdf");
    ASSERT_TRUE(writeFile(cutMdf, cut));
    const std::string mdf = writeMdf(screenLayout());
    const Bytes previous(20, 0x11);
    for (const bool truncatedInput : {true, false})
    {
        SCOPED_TRACE(truncatedInput);
        ASSERT_TRUE(writeFile(output, previous));
        const ProgramRun run =
            truncatedInput ? lumarc({cutMdf, output}) : lumarc({mdf, output}, std::nullopt, 64);
        EXPECT_EQ(run.exitStatus, 1);
        if (truncatedInput)
        {
            EXPECT_EQ(run.out, "");
            const std::string prefix =
                "Couldn't read MDF file " + cutMdf + ": unexpected end of file at byte ";
            EXPECT_EQ(run.err.rfind(prefix, 0), 0U) << run.err;
            EXPECT_EQ(run.err.back(), '\n');
        }
        else
        {
            EXPECT_EQ(run.out, sizeLine(expectedrlf::encode(screenLayout(), 0)));
            EXPECT_EQ(run.err, "Couldn't write RLF file\n");
        }
        EXPECT_EQ(readBytes(output), previous);
        EXPECT_EQ(folder.entries(), (std::vector<std::string>{"cut.mdf", "screen.mdf", "screen.rlf"}));
    }
}

// An empty setting keeps the trace silent, "1" sends it to standard error,
// anything else names a file it is appended to.
TEST_F(LumarcExecutable, DebugSettingChoosesWhereTheTraceGoes)
{
    const std::string input = writeMdf(tracedLayout());
    const std::string log = folder.file("trace.log");
    ASSERT_TRUE(writeFile(log, Bytes{'e', 'a', 'r', 'l', 'i', 'e', 'r', '\n'}));
    for (const auto& [setting, expectedErr] : {std::pair<std::string, std::string>{"", ""},
                                               {"1", kTracedLayoutTrace}, {log, ""}})
    {
        SCOPED_TRACE(setting);
        const ProgramRun run = lumarc({input, output}, setting);
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.out, sizeLine(expectedrlf::encode(tracedLayout(), 0)));
        EXPECT_EQ(run.err, expectedErr);
    }
    const Bytes logged = readBytes(log);
    EXPECT_EQ(std::string(logged.begin(), logged.end()), "earlier\n" + kTracedLayoutTrace);
}
