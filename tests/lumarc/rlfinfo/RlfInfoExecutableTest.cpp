// The rlfinfo executable as a user runs it: exit statuses, standard output
// and standard error.
#include "ProgramRun.h"
#include "RlfTestFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/stat.h>

#include <filesystem>

using namespace mdfwriter;

namespace
{

ProgramRun rlfinfo(const std::vector<std::string>& args)
{
    return runProgram(RLFINFO_EXECUTABLE, args);
}

// One gadget with one child area, one hotspot and one textured quad: an
// 88-byte file.
Layout oneGadget()
{
    return Layout{{Gadget{.name = "One",
                          .rects = {{Rect{0, 0, 10, 10}}},
                          .hotspots = {{Hotspot{5, 5, 0x06}}},
                          .primLists = {PrimList{0, 0, {quadAt(kPrimGT4, 0, 0, 2)}}}}}};
}

const char* const kOneGadgetText =
    "gadgets 1\n"
    "bytes 88\n"
    "byteOrder little-endian\n"
    "offsetsChecked 5\n"
    "gadget 0 offset 8 childAreas 1 hotspots 1 entries 1\n"
    "  box x 0 y 0 w 16 h 16\n"
    "  offsets childAreas 28 hotspots 36 renderList 44\n"
    "  childArea 0 x 0 y 0 w 10 h 10\n"
    "  hotspot 0 flagsA 1 flagsB 2 x 5 y 5\n"
    "  entry 0 offset 52 kind textured modeLow 2 textureId 3 points 0,0 16,0 0,16 16,16 "
    "colours #102030 #405060 #708090 #A1B2C3\n";

// "rlfinfo: " followed by the parts, built by appending.
template <typename... Parts>
std::string complaint(const Parts&... parts)
{
    std::string text = "rlfinfo: ";
    (text.append(parts), ...);
    return text;
}

class RlfInfoExecutable : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(folder.valid()); }

    std::string writeRlf(const Bytes& bytes)
    {
        const std::string path = folder.file("list.rlf");
        EXPECT_TRUE(writeFile(path, bytes));
        return path;
    }

    TempFolder folder;
};

} // namespace

TEST_F(RlfInfoExecutable, PrintsOneGadgetFileAsText)
{
    const ProgramRun run = rlfinfo({writeRlf(savedRlf(oneGadget()))});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, kOneGadgetText);
    EXPECT_EQ(run.err, "");
}

TEST_F(RlfInfoExecutable, JsonBeforeOrAfterTheFileParsesBack)
{
    const std::string path = writeRlf(savedRlf(oneGadget(), kPsxYOffset));
    for (const auto& args :
         {std::vector<std::string>{"--json", path}, std::vector<std::string>{path, "--json"}})
    {
        const ProgramRun run = rlfinfo(args);
        ASSERT_EQ(run.exitStatus, 0) << run.err;
        const nlohmann::json document = nlohmann::json::parse(run.out, nullptr, false);
        ASSERT_FALSE(document.is_discarded()) << run.out;
        EXPECT_EQ(document["gadget_count"], 1);
        EXPECT_EQ(document["bytes"], 88);
        EXPECT_EQ(document["offsets_checked"], 5);
        const nlohmann::json& gadget = document["gadgets"][0];
        EXPECT_EQ(gadget["box"], (nlohmann::json{{"x", 0}, {"y", 16}, {"w", 16}, {"h", 16}}));
        EXPECT_EQ(gadget["offsets"]["render_list"], 44);
        EXPECT_EQ(gadget["hotspots"][0],
                  (nlohmann::json{{"flags_a", 1}, {"flags_b", 2}, {"x", 5}, {"y", 21}}));
        const nlohmann::json& entry = gadget["entries"][0];
        EXPECT_EQ(entry["kind"], "textured");
        EXPECT_EQ(entry["texture_id"], 3);
        EXPECT_EQ(entry["points"][3], (nlohmann::json{{"x", 16}, {"y", 32}}));
        EXPECT_EQ(entry["colours"][3], "#A1B2C3");
    }
}

TEST_F(RlfInfoExecutable, DamagedFileNamesTheByteAndPrintsNothing)
{
    Bytes file = savedRlf(oneGadget());
    file.resize(60);
    const std::string path = writeRlf(file);
    for (const auto& args : {std::vector<std::string>{path}, std::vector<std::string>{"--json", path}})
    {
        const ProgramRun run = rlfinfo(args);
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err,
                  complaint(path, " is damaged at byte 44: gadget 0 render list count 1 needs 44 bytes "
                                  "from byte 44, the file has 60\n"));
    }
}

TEST_F(RlfInfoExecutable, ReportThatCannotBeWrittenFails)
{
    const ProgramRun run =
        runProgram(RLFINFO_EXECUTABLE, {writeRlf(savedRlf(oneGadget()))}, std::nullopt, 100);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "rlfinfo: cannot write the report: File too large\n");
}

TEST_F(RlfInfoExecutable, UnreadableFileIsReportedWithTheSystemsReason)
{
    const std::string missing = folder.file("missing.rlf");
    const ProgramRun gone = rlfinfo({missing});
    EXPECT_EQ(gone.exitStatus, 1);
    EXPECT_EQ(gone.out, "");
    EXPECT_EQ(gone.err, complaint("cannot open ", missing, ": No such file or directory\n"));
    const ProgramRun isFolder = rlfinfo({folder.path()});
    EXPECT_EQ(isFolder.exitStatus, 1);
    EXPECT_EQ(isFolder.err, complaint("cannot open ", folder.path(), ": Is a directory\n"));
    // A pipe without a writer must not keep it waiting.
    const std::string pipe = folder.file("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const ProgramRun isPipe = rlfinfo({pipe});
    EXPECT_EQ(isPipe.exitStatus, 1);
    EXPECT_EQ(isPipe.err, complaint("cannot open ", pipe, ": not a regular file\n"));
}

TEST_F(RlfInfoExecutable, FileBeyondThirtyTwoBitOffsetsIsDamagedWithoutBeingRead)
{
    const std::string path = writeRlf(savedRlf(oneGadget()));
    std::error_code error;
    std::filesystem::resize_file(path, (uint64_t{1} << 32) + 1, error); // sparse: takes no room
    ASSERT_FALSE(error) << error.message();
    const ProgramRun run = rlfinfo({path});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              complaint(path, " is damaged at byte 4294967296: the file is longer than 32-bit offsets "
                              "can address\n"));
}

TEST_F(RlfInfoExecutable, HelpVersionAndWrongUsage)
{
    const ProgramRun help = rlfinfo({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("Usage: rlfinfo [--json] FILE\n", 0), 0u) << help.out;
    EXPECT_EQ(help.err, "");
    const ProgramRun version = rlfinfo({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, "rlfinfo 1.0\n");

    const std::string path = writeRlf(savedRlf(oneGadget()));
    for (const auto& args : {std::vector<std::string>{}, std::vector<std::string>{"--json"},
                             std::vector<std::string>{path, path}, std::vector<std::string>{"--psx", path}})
    {
        const ProgramRun run = rlfinfo(args);
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, help.out);
    }
}
