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
    Gadget gadget;
    gadget.name = "Traced";
    gadget.rects = {{Rect{0, 0, 10, 10}}};
    gadget.hotspots = {{Hotspot{5, 5}}};
    gadget.primLists = {PrimList{0, 0, {quad(kPrimF4, 0, 0)}}};
    return Layout{{gadget}};
}

const std::string kTracedLayoutTrace = "Writing RLF header ... done.\n"
                                       "Writing gadgets ...\n"
                                       "Writing gadget header ...done.\n"
                                       "Writing child areas ...\n"
                                       "Writing rect ... done.\n"
                                       "Writing hotspots ...\n"
                                       "Writing hotspot ... done.\n"
                                       "Writing renderlist header ... done.\n"
                                       "Writing renderlist entries ...\n"
                                       "Writing renderlist entry ... done.\n"
                                       "done.\n";

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

TEST_F(LumarcExecutable, ConvertsAndPrintsTheSize)
{
    const ProgramRun run = lumarc({writeMdf(screenLayout()), output});
    const Bytes expected = expectedrlf::encode(screenLayout(), 0);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, sizeLine(expected));
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readBytes(output), expected);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"screen.mdf", "screen.rlf"}));
}

TEST_F(LumarcExecutable, PsxOptionWritesConsoleCoordinates)
{
    const ProgramRun run = lumarc({"--psx", writeMdf(screenLayout()), output});
    const Bytes expected = expectedrlf::encode(screenLayout(), 16);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, sizeLine(expected));
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readBytes(output), expected);
}

TEST_F(LumarcExecutable, ReplacesAnExistingOutputFile)
{
    ASSERT_TRUE(writeFile(output, Bytes(500, 0xEE)));
    const ProgramRun run = lumarc({writeMdf(screenLayout()), output});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(readBytes(output), expectedrlf::encode(screenLayout(), 0));
}

// Rect and hotspot columns count vectors, empty ones too; prims count the
// first list only.
TEST_F(LumarcExecutable, ListPrintsOneTabSeparatedLinePerGadget)
{
    const ProgramRun run = lumarc({"--list", writeMdf(screenLayout())});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "0000\tTitle\t2\t1\t3\n"
                       "0001\t\t0\t2\t0\n"
                       "0002\tEmpty\t0\t0\t0\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"screen.mdf"});
}

// With the dialog built in, no arguments open it (tested with the dialog).
#ifndef LUMARC_HAS_DIALOG
TEST_F(LumarcExecutable, NoArgumentsPrintsUsageOnStandardError)
{
    const ProgramRun run = lumarc({});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("Usage: lumarc", 0), 0U) << run.err;
}
#endif

TEST_F(LumarcExecutable, HelpPrintsUsageOnStandardOutput)
{
    const ProgramRun run = lumarc({"--help"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out.rfind("Usage: lumarc", 0), 0U) << run.out;
    EXPECT_EQ(run.err, "");
}

TEST_F(LumarcExecutable, MissingMdfIsReportedWithoutOutputFile)
{
    const ProgramRun run = lumarc({folder.file("absent.mdf"), output});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Couldn't open MDF file\n");
    EXPECT_TRUE(folder.entries().empty());
}

TEST_F(LumarcExecutable, MdfEndingInItsFirstFieldIsReportedAtByteZero)
{
    const std::string input = folder.file("short.mdf");
    ASSERT_TRUE(writeFile(input, Bytes{0x05, 0x00}));
    const ProgramRun run = lumarc({input, output});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Couldn't read MDF file " + input + ": unexpected end of file at byte 0\n");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"short.mdf"});
}

TEST_F(LumarcExecutable, TruncatedMdfLeavesExistingOutputUntouched)
{
    Bytes mdf = mdfFile(screenLayout());
    mdf.resize(mdf.size() - 5);
    const std::string input = folder.file("cut.mdf");
    ASSERT_TRUE(writeFile(input, mdf));
    const Bytes previous(100, 0x5A);
    ASSERT_TRUE(writeFile(output, previous));
    const ProgramRun run = lumarc({input, output});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    const std::string prefix = "Couldn't read MDF file " + input + ": unexpected end of file at byte ";
    EXPECT_EQ(run.err.rfind(prefix, 0), 0U) << run.err;
    EXPECT_EQ(run.err.back(), '\n');
    EXPECT_EQ(readBytes(output), previous);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"cut.mdf", "screen.rlf"}));
}

TEST_F(LumarcExecutable, OutputInMissingFolderIsReported)
{
    const ProgramRun run = lumarc({writeMdf(screenLayout()), folder.file("missing/screen.rlf")});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Couldn't open file for writing\n");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"screen.mdf"});
}

// The size line (about 10 bytes) still fits under the limit; the file does not.
TEST_F(LumarcExecutable, FailedWriteIsReportedAndKeepsExistingOutput)
{
    const Bytes previous(20, 0x11);
    ASSERT_TRUE(writeFile(output, previous));
    const ProgramRun run = lumarc({writeMdf(screenLayout()), output}, std::nullopt, 64);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, sizeLine(expectedrlf::encode(screenLayout(), 0)));
    EXPECT_EQ(run.err, "Couldn't write RLF file\n");
    EXPECT_EQ(readBytes(output), previous);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"screen.mdf", "screen.rlf"}));
}

TEST_F(LumarcExecutable, EmptyDebugSettingKeepsTraceSilent)
{
    const ProgramRun run = lumarc({writeMdf(tracedLayout()), output}, "");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
}

TEST_F(LumarcExecutable, DebugSettingOneSendsTraceToStandardError)
{
    const ProgramRun run = lumarc({writeMdf(tracedLayout()), output}, "1");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, sizeLine(expectedrlf::encode(tracedLayout(), 0)));
    EXPECT_EQ(run.err, kTracedLayoutTrace);
}

TEST_F(LumarcExecutable, DebugSettingPathAppendsTraceToThatFile)
{
    const std::string log = folder.file("trace.log");
    ASSERT_TRUE(writeFile(log, Bytes{'e', 'a', 'r', 'l', 'i', 'e', 'r', '\n'}));
    const ProgramRun run = lumarc({writeMdf(tracedLayout()), output}, log);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    const Bytes logged = readBytes(log);
    EXPECT_EQ(std::string(logged.begin(), logged.end()), "earlier\n" + kTracedLayoutTrace);
}
