// The save sequence: open, report the size, write, complete; and what a
// failed save leaves behind.
#include "ChildProcess.h"
#include "DebugOutput.h"
#include "ExpectedRlf.h"
#include "LoadedLayout.h"
#include "RlfConversion.h"
#include "RlfSave.h"

#include <gtest/gtest.h>

using namespace mdfwriter;

namespace
{

const Bytes kOldContent{'o', 'l', 'd', ' ', 'r', 'l', 'f'};

Layout smallLayout()
{
    Gadget gadget;
    gadget.name = "Box";
    gadget.rects = {{Rect{0, 0, 100, 50}}};
    gadget.hotspots = {{Hotspot{10, 10, 0x05}}};
    Prim quad;
    quad.type = kPrimFT4;
    quad.textureId = 1;
    quad.vertices = {Vertex{0, 0}, Vertex{100, 0}, Vertex{0, 50}, Vertex{100, 50}};
    quad.colours[0] = {0x80, 0x80, 0x80};
    gadget.primLists = {PrimList{0, 0, {quad}}};
    return Layout{{gadget}};
}

} // namespace

TEST(SaveRlf, WritesTheConvertedLayout)
{
    TempFolder folder;
    const auto model = loadLayout(folder, smallLayout(), "in.mdf");
    ASSERT_TRUE(model);
    const std::string path = folder.file("out.rlf");
    const RlfSaveResult result = saveRlf(*model, 0, path, {});
    EXPECT_EQ(result.status, RlfSaveStatus::Saved);
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(readBytes(path), expectedrlf::encode(smallLayout(), 0));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"in.mdf", "out.rlf"}));
}

TEST(SaveRlf, UnwritableTargetCannotBeOpened)
{
    TempFolder folder;
    const auto model = loadLayout(folder, smallLayout(), "in.mdf");
    ASSERT_TRUE(model);
    bool reported = false;
    const RlfSaveResult result =
        saveRlf(*model, 0, folder.file("missing/out.rlf"), [&](int64_t) { reported = true; });
    EXPECT_EQ(result.status, RlfSaveStatus::CannotOpen);
    EXPECT_EQ(result.message, "Couldn't open file for writing");
    EXPECT_FALSE(reported);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"in.mdf"});
}

// The writer's trace shows when writing starts.
TEST(SaveRlf, SizeIsReportedBeforeAnythingIsWritten)
{
    TempFolder folder;
    const auto model = loadLayout(folder, smallLayout(), "in.mdf");
    ASSERT_TRUE(model);
    const std::string path = folder.file("out.rlf");
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

TEST(SaveRlf, ExistingTargetIsReplaced)
{
    TempFolder folder;
    const auto model = loadLayout(folder, smallLayout(), "in.mdf");
    ASSERT_TRUE(model);
    const std::string path = folder.file("out.rlf");
    ASSERT_TRUE(writeFile(path, kOldContent));
    ASSERT_EQ(saveRlf(*model, kPsxYOffset, path, {}).status, RlfSaveStatus::Saved);
    EXPECT_EQ(readBytes(path), expectedrlf::encode(smallLayout(), kPsxYOffset));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"in.mdf", "out.rlf"}));
}

TEST(SaveRlf, FailedWriteIsReportedAndKeepsExistingTarget)
{
    TempFolder folder;
    const auto model = loadLayout(folder, smallLayout(), "in.mdf");
    ASSERT_TRUE(model);
    const std::string path = folder.file("out.rlf");
    ASSERT_TRUE(writeFile(path, kOldContent));
    const int result = runInChild({.fileSizeLimit = 16},
                                  [&]
                                  {
                                      const RlfSaveResult saved = saveRlf(*model, 0, path, {});
                                      if (saved.status != RlfSaveStatus::WriteFailed)
                                          return 1;
                                      return saved.message == "Couldn't write RLF file" ? 0 : 2;
                                  });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readBytes(path), kOldContent);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"in.mdf", "out.rlf"}));
}
