// The tbkinfo program run end to end on a bank the engine writes in process:
// exact text, JSON that parses, a damaged file, a missing file, files it
// refuses to read and usage.
#include "ProgramRun.h"
#include "TgaWriter.h"
#include "script/ScriptDriver.h"
#include "script/TexeloContext.h"
#include "CapturingReporter.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace
{

std::string usageFirstLine()
{
    return "usage: tbkinfo [--json] BANK.TBK\n";
}

class Tbkinfo : public ::testing::Test
{
protected:
    // A one-group bank: a 4-bit 8 x 2 image of three colours, its CLUT moved
    // up under it.
    Tbkinfo()
    {
        std::vector<tgawriter::Rgba> pixels;
        for (int i = 0; i < 16; ++i)
            pixels.push_back({static_cast<uint8_t>(8 * (i % 3 + 1)), 0, 0, 0});
        EXPECT_TRUE(tgawriter::writeTgaFile(folder.file("a.tga"),
                                            tgawriter::encodeTga(tgawriter::fromColours(8, 2, pixels, 24))));
        std::ofstream(folder.file("tiny.lay")) << "a A 0 0 8 2\nFIT: tiny\n";
        const std::filesystem::path saved = std::filesystem::current_path();
        std::filesystem::current_path(folder.path());
        CapturingReporter reporter;
        TexeloContext ctx(reporter);
        RunScript(ctx, "tiny.lay");
        std::filesystem::current_path(saved);
        bank = folder.file("TINY.TBK");
    }

    TempFolder folder;
    std::string bank;
};

ProgramRun tbkinfo(const std::vector<std::string>& args)
{
    return runProgram(TBKINFO_EXECUTABLE, args);
}

} // namespace

TEST_F(Tbkinfo, PrintsTheBankAsText)
{
    const ProgramRun run = tbkinfo({bank});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "bank: " + bank +
                           "\n"
                           "bytes: 100\n"
                           "texture_total: 1\n"
                           "separate_rows: 0\n"
                           "groups: 1\n"
                           "records: 1\n"
                           "warnings: 0\n"
                           "group 1: offset=8 columns=1 lines=3 records=1 occupancy=2.1%\n"
                           "  record 1.1: offset=20 form=texture id=0 mode=4-bit trans=none x=0 y=0 words=2 "
                           "pixels=8 height=2 clut_x=0 clut_y=2 clut_w=16 clut_h=1 cluts=1 size=72\n");
}

TEST_F(Tbkinfo, JsonBeforeOrAfterTheFileParses)
{
    const ProgramRun after = tbkinfo({bank, "--json"});
    const ProgramRun before = tbkinfo({"--json", bank});
    EXPECT_EQ(after.exitStatus, 0);
    EXPECT_EQ(before.out, after.out);
    const nlohmann::json doc = nlohmann::json::parse(after.out);
    EXPECT_EQ(doc["file"], bank);
    EXPECT_EQ(doc["groups"][0]["lines"], 3);
    EXPECT_EQ(doc["groups"][0]["records"][0]["clut"]["dy"], 2);
    EXPECT_EQ(doc["groups"][0]["records"][0]["pixel_mode"], "4-bit");
}

TEST_F(Tbkinfo, DamagedOrMissingFilesFailWithNothingOnStandardOutput)
{
    mdfwriter::Bytes bytes = readBytes(bank);
    bytes.resize(60);
    const std::string cut = folder.file("cut.tbk");
    std::ofstream(cut, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const ProgramRun damaged = tbkinfo({cut, "--json"});
    EXPECT_EQ(damaged.exitStatus, 1);
    EXPECT_EQ(damaged.out, "");
    EXPECT_EQ(damaged.err, "tbkinfo: " + cut +
                               " is damaged at byte 20: record of 72 bytes passes the end of the file "
                               "(32 bytes remain)\n");

    const std::string missing = folder.file("missing.tbk");
    const ProgramRun absent = tbkinfo({missing});
    EXPECT_EQ(absent.exitStatus, 1);
    EXPECT_EQ(absent.out, "");
    EXPECT_EQ(absent.err, "tbkinfo: cannot open " + missing + ": No such file or directory\n");
    EXPECT_EQ(tbkinfo({folder.path()}).err, "tbkinfo: cannot open " + folder.path() + ": Is a directory\n");
}

// Neither must keep the program waiting or fill its memory.
TEST_F(Tbkinfo, PipesAndOverlongFilesAreRefusedWithoutReading)
{
    const std::string pipe = folder.file("pipe.tbk");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::string huge = folder.file("huge.tbk");
    std::filesystem::copy_file(bank, huge);
    std::filesystem::resize_file(huge, (uint64_t{1} << 30) + 1); // sparse: takes no room
    const std::pair<std::string, std::string> cases[] = {
        {pipe, "not a regular file"},
        {huge, "longer than 1073741824 bytes, more than a texture bank holds"},
    };
    for (const auto& [path, reason] : cases)
    {
        const ProgramRun run = tbkinfo({path});
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "tbkinfo: cannot open " + path + ": " + reason + "\n");
    }
}

TEST_F(Tbkinfo, UsageHelpAndVersion)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {bank, bank}, {"--jsn", bank}, {"--json"}})
    {
        const ProgramRun run = tbkinfo(args);
        EXPECT_EQ(run.exitStatus, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.substr(0, usageFirstLine().size()), usageFirstLine());
    }
    const ProgramRun help = tbkinfo({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.substr(0, usageFirstLine().size()), usageFirstLine());
    const ProgramRun version = tbkinfo({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, "tbkinfo 1.0\n");
}
