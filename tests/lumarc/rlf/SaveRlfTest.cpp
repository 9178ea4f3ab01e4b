// The save sequence: open, report the size, write, complete. Files written
// and failed writes are checked end to end (round trip, command line).
#include "DebugOutput.h"
#include "LoadedLayout.h"
#include "RlfConversion.h"
#include "RlfSave.h"

#include <gtest/gtest.h>

using namespace mdfwriter;

namespace
{

Layout smallLayout()
{
    Prim quad{.type = kPrimFT4, .textureId = 1};
    quad.vertices = {Vertex{0, 0}, Vertex{100, 0}, Vertex{0, 50}, Vertex{100, 50}};
    quad.colours[0] = {0x80, 0x80, 0x80};
    return Layout{{Gadget{.name = "Box",
                          .rects = {{Rect{0, 0, 100, 50}}},
                          .hotspots = {{Hotspot{10, 10, 0x05}}},
                          .primLists = {PrimList{0, 0, {quad}}}}}};
}

class SaveRlf : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(model); }

    TempFolder folder;
    const std::unique_ptr<MdfRoot> model = loadLayout(folder, smallLayout(), "in.mdf");
    const std::string path = folder.file("out.rlf");
};

} // namespace

TEST_F(SaveRlf, UnwritableTargetCannotBeOpened)
{
    bool reported = false;
    const RlfSaveResult result =
        saveRlf(*model, 0, folder.file("missing/out.rlf"), [&](int64_t) { reported = true; });
    EXPECT_EQ(result.status, RlfSaveStatus::CannotOpen);
    EXPECT_EQ(result.message, "Couldn't open file for writing");
    EXPECT_FALSE(reported);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"in.mdf"});
}

// The writer's trace shows when writing starts.
TEST_F(SaveRlf, SizeIsReportedBeforeAnythingIsWritten)
{
    std::string trace;
    setDebugOutputSink([&](std::string_view text) { trace += text; });
    std::vector<int64_t> reports;
    bool targetExisted = true;
    std::string traceAtReport = "not reported";
    const RlfSaveResult result = saveRlf(*model, 0, path,
                                         [&](int64_t bytes)
                                         {
                                             reports.push_back(bytes);
                                             targetExisted = fileExists(path);
                                             traceAtReport = trace;
                                         });
    setDebugOutputSink({});
    ASSERT_EQ(result.status, RlfSaveStatus::Saved);
    EXPECT_FALSE(targetExisted);
    EXPECT_EQ(traceAtReport, "");
    EXPECT_NE(trace, "");
    EXPECT_EQ(reports, std::vector<int64_t>{4 + 4 + 20 + 8 + 8 + 44});
    EXPECT_EQ(static_cast<int64_t>(readBytes(path).size()), reports.at(0));
}
