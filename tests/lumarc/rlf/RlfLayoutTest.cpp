// Sizes of the render-list model and its layout pass (gadget boxes and
// texture numbers).
#include "RlfFile.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{

using Box = std::array<int16_t, 4>;

void addArea(RlfGadget& gadget, int16_t x, int16_t y, int16_t w, int16_t h)
{
    gadget.addChildArea(std::make_unique<RlfRect>(RlfRect{x, y, w, h}));
}

void addSpot(RlfGadget& gadget, int16_t x, int16_t y)
{
    gadget.addHotspot(std::make_unique<RlfHotspot>(RlfHotspot{0, 0, x, y}));
}

void addEntry(RlfGadget& gadget, std::array<RlfPoint, 4> points,
              int16_t textureId = RlfRenderEntry::kNoTexture)
{
    auto e = std::make_unique<RlfRenderEntry>();
    e->points = points;
    e->textureId = textureId;
    e->kind = textureId == RlfRenderEntry::kNoTexture ? RlfEntryKind::Untextured : RlfEntryKind::Textured;
    gadget.renderList.add(std::move(e));
}

void addEntryAt(RlfGadget& gadget, int16_t x, int16_t y, int16_t textureId = RlfRenderEntry::kNoTexture)
{
    addEntry(gadget, {RlfPoint{x, y}, RlfPoint{x, y}, RlfPoint{x, y}, RlfPoint{x, y}}, textureId);
}

std::vector<int16_t> textureIds(const RlfGadget& gadget)
{
    std::vector<int16_t> ids;
    for (const RlfRenderEntry& e : gadget.renderList.entries)
        ids.push_back(e.textureId);
    return ids;
}

} // namespace

TEST(RlfSize, FileGadgetAndRenderListSizes)
{
    EXPECT_EQ(RlfFile().size(), 4);
    RlfGadget gadget("");
    EXPECT_EQ(gadget.size(), 20);
    EXPECT_EQ(gadget.renderList.size(), 0);
    addEntryAt(gadget, 0, 0);
    EXPECT_EQ(gadget.renderList.size(), 4 + 40);
    addEntryAt(gadget, 0, 0);
    addEntryAt(gadget, 0, 0);
    EXPECT_EQ(gadget.renderList.size(), 4 + 3 * 40);
    addArea(gadget, 0, 0, 1, 1);
    EXPECT_EQ(gadget.size(), 20 + 8 + 4 + 3 * 40);
}

TEST(RlfSize, FileSizeDoesNotDependOnLayoutPass)
{
    RlfFile file;
    auto gadget = std::make_unique<RlfGadget>("");
    addArea(*gadget, -5, -5, 900, 900);
    addSpot(*gadget, 3, 3);
    addEntryAt(*gadget, 700, 700, 2);
    file.addGadget(std::move(gadget));
    file.addGadget(std::make_unique<RlfGadget>(""));
    const int64_t before = file.size();
    file.layout();
    EXPECT_EQ(before, 4 + (4 + 20 + 8 + 8 + 44) + (4 + 20));
    EXPECT_EQ(file.size(), before);
}

// The box starts from the far screen corner (640, 480) and the origin; a
// child area reaches to its far edge (which only ever raises the maximum),
// hotspots and entries only to their points. Extents keep their low 16 bits.
TEST(RlfLayout, GadgetBox)
{
    struct Case
    {
        const char* name;
        std::function<void(RlfGadget&)> fill;
        Box box;
    };
    const std::vector<Case> cases{
        {"empty", [](RlfGadget&) {}, {640, 480, -640, -480}},
        {"entry beyond the screen",
         [](RlfGadget& g) { addEntry(g, {RlfPoint{700, 500}, {800, 500}, {700, 600}, {800, 600}}); },
         {640, 480, 160, 120}},
        {"negative hotspots",
         [](RlfGadget& g)
         {
             addSpot(g, -50, -40);
             addSpot(g, -10, -20);
         },
         {-50, -40, 50, 40}},
        {"child area far edge", [](RlfGadget& g) { addArea(g, 600, 400, 100, 200); }, {600, 400, 100, 200}},
        {"negative extent", [](RlfGadget& g) { addArea(g, 10, 20, -50, -70); }, {10, 20, -10, -20}},
        {"far edge without wrapping", [](RlfGadget& g) { addArea(g, 32000, 0, 32000, 10); },
         {640, 0, static_cast<int16_t>(63360 - 65536), 10}},
        {"hotspot point only", [](RlfGadget& g) { addSpot(g, 700, 500); }, {640, 480, 60, 20}},
        {"all four entry points",
         [](RlfGadget& g) { addEntry(g, {RlfPoint{-10, 30}, {700, 40}, {5, 600}, {20, -20}}); },
         {-10, -20, 710, 620}},
        {"combined",
         [](RlfGadget& g)
         {
             addArea(g, 100, 100, 50, 50);
             addSpot(g, 90, 300);
             addEntryAt(g, 200, 120);
         },
         {90, 100, 110, 200}},
        {"extent wider than 16 bits",
         [](RlfGadget& g) { addEntry(g, {RlfPoint{-32768, 0}, {32767, 0}, {0, 0}, {0, 0}}); },
         {-32768, 0, -1, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        RlfGadget gadget("");
        c.fill(gadget);
        gadget.layout();
        EXPECT_EQ((Box{gadget.x, gadget.y, gadget.w, gadget.h}), c.box);
    }
}

TEST(TextureIdRemap, MapsLayoutTexturesToGameTextures)
{
    const std::vector<int16_t> before{0, 1, 2, 3, 4, 5, 6, 7, 100, 32767, -1, -2, -32768};
    std::vector<int16_t> after;
    for (int16_t id : before)
        after.push_back(TextureIdRemap(id));
    EXPECT_EQ(after, (std::vector<int16_t>{0, 7, 3, 4, 5, 6, -1, -1, -1, -1, -1, -1, -1}));
}

// The pass is meant to run once per conversion: a second run translates the
// already translated ids again.
TEST(RlfLayout, EachPassRemapsTextureIdOfEveryEntry)
{
    RlfGadget gadget("");
    addEntryAt(gadget, 0, 0, 1);
    addEntryAt(gadget, 0, 0);
    addEntryAt(gadget, 0, 0, 9);
    addEntryAt(gadget, 0, 0, 3);
    gadget.layout();
    EXPECT_EQ(textureIds(gadget), (std::vector<int16_t>{7, -1, -1, 4}));
    gadget.layout();
    EXPECT_EQ(textureIds(gadget), (std::vector<int16_t>{-1, -1, -1, 5}));
}
