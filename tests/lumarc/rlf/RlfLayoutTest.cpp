// Sizes of the render-list model and its layout pass (gadget boxes and
// texture numbers).
#include "RlfFile.h"

#include <gtest/gtest.h>

namespace
{

std::unique_ptr<RlfRect> rect(int16_t x, int16_t y, int16_t w, int16_t h)
{
    auto r = std::make_unique<RlfRect>();
    *r = {x, y, w, h};
    return r;
}

std::unique_ptr<RlfHotspot> hotspot(int16_t x, int16_t y, int16_t flagsA = 0, int16_t flagsB = 0)
{
    auto spot = std::make_unique<RlfHotspot>();
    *spot = {flagsA, flagsB, x, y};
    return spot;
}

std::unique_ptr<RlfRenderEntry> entry(std::array<RlfPoint, 4> points,
                                      int16_t textureId = RlfRenderEntry::kNoTexture)
{
    auto e = std::make_unique<RlfRenderEntry>();
    e->points = points;
    e->textureId = textureId;
    e->kind = textureId == RlfRenderEntry::kNoTexture ? RlfEntryKind::Untextured : RlfEntryKind::Textured;
    return e;
}

std::unique_ptr<RlfRenderEntry> entryAt(int16_t x, int16_t y, int16_t textureId = RlfRenderEntry::kNoTexture)
{
    return entry({RlfPoint{x, y}, RlfPoint{x, y}, RlfPoint{x, y}, RlfPoint{x, y}}, textureId);
}

std::array<int16_t, 4> boxOf(const RlfGadget& gadget)
{
    return {gadget.x, gadget.y, gadget.w, gadget.h};
}

using Box = std::array<int16_t, 4>;

} // namespace

TEST(RlfSize, FileWithoutGadgetsIsFourBytes)
{
    EXPECT_EQ(RlfFile().size(), 4);
}

TEST(RlfSize, EmptyGadgetIsTwentyBytes)
{
    RlfGadget gadget("");
    EXPECT_EQ(gadget.size(), 20);
    RlfFile file;
    file.addGadget(std::make_unique<RlfGadget>(""));
    EXPECT_EQ(file.size(), 4 + 4 + 20);
}

TEST(RlfSize, GadgetWithChildAreaAndOneEntryIs72Bytes)
{
    RlfGadget gadget("");
    gadget.addChildArea(rect(0, 0, 1, 1));
    gadget.renderList.add(entryAt(0, 0));
    EXPECT_EQ(gadget.size(), 72);
}

TEST(RlfSize, RenderListIsEmptyOrCountOffsetsAndEntries)
{
    RlfRenderList list;
    EXPECT_EQ(list.size(), 0);
    list.add(entryAt(0, 0));
    EXPECT_EQ(list.size(), 4 + 40);
    list.add(entryAt(0, 0));
    list.add(entryAt(0, 0));
    EXPECT_EQ(list.size(), 4 + 3 * 40);
}

TEST(RlfSize, FileSizeDoesNotDependOnLayoutPass)
{
    RlfFile file;
    auto gadget = std::make_unique<RlfGadget>("");
    gadget->addChildArea(rect(-5, -5, 900, 900));
    gadget->addHotspot(hotspot(3, 3));
    gadget->renderList.add(entryAt(700, 700, 2));
    file.addGadget(std::move(gadget));
    file.addGadget(std::make_unique<RlfGadget>(""));
    const int64_t before = file.size();
    file.layout();
    EXPECT_EQ(before, 4 + (4 + 20 + 8 + 8 + 44) + (4 + 20));
    EXPECT_EQ(file.size(), before);
}

TEST(RlfLayout, EmptyGadgetBoxReachesFromScreenCornerToOrigin)
{
    RlfGadget gadget("");
    gadget.layout();
    EXPECT_EQ(boxOf(gadget), (Box{640, 480, -640, -480}));
}

TEST(RlfLayout, ContentBeyondTheScreenStillStartsBoxAtScreenCorner)
{
    RlfGadget gadget("");
    gadget.renderList.add(
        entry({RlfPoint{700, 500}, RlfPoint{800, 500}, RlfPoint{700, 600}, RlfPoint{800, 600}}));
    gadget.layout();
    EXPECT_EQ(boxOf(gadget), (Box{640, 480, 160, 120}));
}

TEST(RlfLayout, NegativeContentStillReachesOrigin)
{
    RlfGadget gadget("");
    gadget.addHotspot(hotspot(-50, -40));
    gadget.addHotspot(hotspot(-10, -20));
    gadget.layout();
    EXPECT_EQ(boxOf(gadget), (Box{-50, -40, 50, 40}));
}

TEST(RlfLayout, ChildAreaAddsItsFarEdge)
{
    RlfGadget gadget("");
    gadget.addChildArea(rect(600, 400, 100, 200));
    gadget.layout();
    EXPECT_EQ(boxOf(gadget), (Box{600, 400, 100, 200}));
}

// The far edge of a rectangle with a negative extent lies before its corner;
// it may only raise the maximum, never lower the minimum.
TEST(RlfLayout, ChildAreaFarEdgeCountsOnlyAsMaximum)
{
    RlfGadget gadget("");
    gadget.addChildArea(rect(10, 20, -50, -70));
    gadget.layout();
    EXPECT_EQ(boxOf(gadget), (Box{10, 20, -10, -20}));
}

TEST(RlfLayout, ChildAreaFarEdgeIsComputedWithoutWrapping)
{
    RlfGadget gadget("");
    gadget.addChildArea(rect(32000, 0, 32000, 10));
    gadget.layout();
    // 64000 - 640 = 63360, stored as its low 16 bits.
    EXPECT_EQ(boxOf(gadget), (Box{640, 0, static_cast<int16_t>(63360 - 65536), 10}));
}

TEST(RlfLayout, HotspotAddsOnlyItsPoint)
{
    RlfGadget gadget("");
    gadget.addHotspot(hotspot(700, 500, 3, 3));
    gadget.layout();
    EXPECT_EQ(boxOf(gadget), (Box{640, 480, 60, 20}));
}

TEST(RlfLayout, EntryAddsAllFourPoints)
{
    RlfGadget gadget("");
    gadget.renderList.add(entry({RlfPoint{-10, 30}, RlfPoint{700, 40}, RlfPoint{5, 600}, RlfPoint{20, -20}}));
    gadget.layout();
    EXPECT_EQ(boxOf(gadget), (Box{-10, -20, 710, 620}));
}

TEST(RlfLayout, BoxCombinesChildAreasHotspotsAndEntries)
{
    RlfGadget gadget("");
    gadget.addChildArea(rect(100, 100, 50, 50));
    gadget.addHotspot(hotspot(90, 300));
    gadget.renderList.add(entryAt(200, 120));
    gadget.layout();
    EXPECT_EQ(boxOf(gadget), (Box{90, 100, 110, 200}));
}

TEST(RlfLayout, ExtentWiderThan16BitsKeepsLowBits)
{
    RlfGadget gadget("");
    gadget.renderList.add(entry({RlfPoint{-32768, 0}, RlfPoint{32767, 0}, RlfPoint{0, 0}, RlfPoint{0, 0}}));
    gadget.layout();
    EXPECT_EQ(gadget.x, -32768);
    EXPECT_EQ(gadget.w, -1); // 65535
}

TEST(TextureIdRemap, MapsLayoutTexturesToGameTextures)
{
    const std::vector<int16_t> before{0, 1, 2, 3, 4, 5, 6, 7, 100, 32767, -1, -2, -32768};
    std::vector<int16_t> after;
    for (int16_t id : before)
        after.push_back(TextureIdRemap(id));
    EXPECT_EQ(after, (std::vector<int16_t>{0, 7, 3, 4, 5, 6, -1, -1, -1, -1, -1, -1, -1}));
}

TEST(RlfLayout, RemapsTextureIdOfEveryEntry)
{
    RlfGadget gadget("");
    gadget.renderList.add(entryAt(0, 0, 1));
    gadget.renderList.add(entryAt(0, 0));
    gadget.renderList.add(entryAt(0, 0, 9));
    gadget.layout();
    std::vector<int16_t> ids;
    for (const RlfRenderEntry& e : gadget.renderList.entries)
        ids.push_back(e.textureId);
    EXPECT_EQ(ids, (std::vector<int16_t>{7, -1, -1}));
}

// The pass is meant to run once per conversion: a second run translates the
// already translated ids again.
TEST(RlfLayout, SecondPassTranslatesTextureIdsAgain)
{
    RlfGadget gadget("");
    gadget.renderList.add(entryAt(0, 0, 1));
    gadget.layout();
    EXPECT_EQ(gadget.renderList.entries.first()->textureId, 7);
    gadget.layout();
    EXPECT_EQ(gadget.renderList.entries.first()->textureId, -1);
}
