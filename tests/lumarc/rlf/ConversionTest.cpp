// Converting loaded layouts into render lists: coordinates, offsets, which
// vector elements and lists count, and how each primitive fills its entry.
#include "LoadedLayout.h"
#include "RlfConversion.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace mdfwriter;

namespace
{

struct Converted
{
    std::unique_ptr<MdfRoot> model;
    std::unique_ptr<RlfFile> rlf;
};

Converted convert(const Bytes& mdf, int yOffset = 0)
{
    TempFolder folder;
    Converted result;
    result.model = loadLayout(folder, mdf);
    EXPECT_NE(result.model, nullptr);
    if (result.model)
        result.rlf = buildRlf(*result.model, yOffset);
    return result;
}

// What a one-gadget layout converts to, copied out of the model.
struct GadgetParts
{
    std::vector<std::array<int16_t, 4>> areas;    // x, y, w, h
    std::vector<std::array<int16_t, 4>> hotspots; // flagsA, flagsB, x, y
    std::vector<RlfRenderEntry> entries;
};

GadgetParts convertGadget(const Gadget& gadget, int yOffset = 0)
{
    const Converted converted = convert(mdfFile(Layout{{gadget}}), yOffset);
    GadgetParts parts;
    if (!converted.rlf || converted.rlf->gadgets.count() != 1)
    {
        ADD_FAILURE() << "expected exactly one gadget";
        return parts;
    }
    const RlfGadget& g = *converted.rlf->gadgets.first();
    for (const RlfRect& r : g.childAreas)
        parts.areas.push_back({r.x, r.y, r.w, r.h});
    for (const RlfHotspot& h : g.hotspots)
        parts.hotspots.push_back({h.flagsA, h.flagsB, h.x, h.y});
    for (const RlfRenderEntry& e : g.renderList.entries)
        parts.entries.push_back(e);
    return parts;
}

using Quads = std::vector<std::array<int16_t, 4>>;
using Words = std::array<uint32_t, 4>;

Prim prim(uint8_t type, int16_t x = 0, int16_t y = 0, uint16_t textureId = 0)
{
    Prim p;
    p.type = type;
    p.textureId = textureId;
    p.vertices = {Vertex{x, y}, Vertex{int16_t(x + 8), y}, Vertex{x, int16_t(y + 8)},
                  Vertex{int16_t(x + 8), int16_t(y + 8)}};
    return p;
}

Gadget gadgetWithPrims(std::vector<Prim> prims, int16_t offsetX = 0, int16_t offsetY = 0)
{
    Gadget gadget;
    gadget.name = "prims";
    gadget.primLists = {PrimList{offsetX, offsetY, std::move(prims)}};
    return gadget;
}

} // namespace

TEST(Conversion, RectBecomesCornerAndExtentMovedByConsoleOffset)
{
    Gadget gadget;
    gadget.rects = {{Rect{10, -20, 30, 5}}};
    EXPECT_EQ(convertGadget(gadget).areas, (Quads{{10, -20, 20, 25}}));
    EXPECT_EQ(convertGadget(gadget, kPsxYOffset).areas, (Quads{{10, -4, 20, 25}}));
}

TEST(Conversion, HotspotTakesFlagCodesAndPointAndItsYWraps)
{
    Gadget gadget;
    gadget.hotspots = {{Hotspot{7, 9, 0x0E, 0x55, 100, 200}}, {Hotspot{1, 32767}}};
    EXPECT_EQ(convertGadget(gadget).hotspots, (Quads{{3, 2, 7, 9}, {0, 0, 1, 32767}}));
    EXPECT_EQ(convertGadget(gadget, kPsxYOffset).hotspots, (Quads{{3, 2, 7, 25}, {0, 0, 1, -32753}}));
}

TEST(Conversion, EntryPointsAddListOffsetAndConsoleOffset)
{
    Prim p = prim(kPrimF4);
    p.vertices[0] = {5, 100};
    for (const auto& [yOffset, expectedY] : {std::pair{0, 120}, std::pair{kPsxYOffset, 136}})
    {
        SCOPED_TRACE(yOffset);
        const auto list = convertGadget(gadgetWithPrims({p}, -10, 20), yOffset).entries;
        ASSERT_EQ(list.size(), 1U);
        EXPECT_EQ(list[0].points[0].x, -5);
        EXPECT_EQ(list[0].points[0].y, expectedY);
    }
}

// Each vector gives one item from its first element; empty vectors give none.
TEST(Conversion, EachNonEmptyVectorGivesOneItemFromItsFirstElement)
{
    Gadget gadget;
    gadget.rects = {{Rect{1, 1, 2, 2}},
                    {},
                    {Rect{3, 3, 5, 5}, Rect{100, 100, 200, 200}, Rect{7, 7, 8, 8}},
                    {Rect{9, 9, 12, 12}, Rect{-1, -1, 0, 0}}};
    gadget.hotspots = {{}, {Hotspot{1, 2, 0x01}, Hotspot{50, 60, 0x0F}}, {}, {Hotspot{3, 4, 0x04}}};
    const GadgetParts parts = convertGadget(gadget);
    EXPECT_EQ(parts.areas, (Quads{{1, 1, 1, 1}, {3, 3, 2, 2}, {9, 9, 3, 3}}));
    EXPECT_EQ(parts.hotspots, (Quads{{0, 1, 1, 2}, {1, 0, 3, 4}}));
}

TEST(Conversion, OnlyFirstPrimitiveListIsDrawn)
{
    Gadget gadget;
    gadget.primLists = {PrimList{0, 0, {prim(kPrimF4, 1, 1)}},
                        PrimList{0, 0, {prim(kPrimG4, 2, 2), prim(kPrimF4, 3, 3)}}};
    const auto list = convertGadget(gadget).entries;
    ASSERT_EQ(list.size(), 1U);
    EXPECT_EQ(list[0].points[0].x, 1);
}

TEST(Conversion, NoOrEmptyPrimitiveListGivesEmptyRenderList)
{
    Gadget withoutLists;
    withoutLists.rects = {{Rect{0, 0, 1, 1}}};
    EXPECT_TRUE(convertGadget(withoutLists).entries.empty());
    EXPECT_TRUE(convertGadget(gadgetWithPrims({})).entries.empty());
}

// Flat types repeat their one colour, Gouraud colours follow their vertices,
// which keep their order. Textured ids stay the layout's until the layout
// pass translates them; an untextured body has no texture field, whatever the
// writer was given. The mode keeps its low three bits.
TEST(Conversion, EntryFieldsPerPrimitiveType)
{
    Prim f4 = prim(kPrimF4, 0, 0, 3);
    f4.colours[0] = {0x12, 0x34, 0x56, 0x99};
    f4.mode = 0x1D;
    Prim ft4 = prim(kPrimFT4, 0, 0, 5);
    ft4.colours[0] = {0xAB, 0xCD, 0xEF, 0x01};
    ft4.mode = 0xFF;
    Prim g4 = prim(kPrimG4);
    g4.colours = {Colour{1, 2, 3, 0xFF}, Colour{4, 5, 6}, Colour{7, 8, 9}, Colour{10, 11, 12}};
    g4.vertices = {Vertex{10, 40}, Vertex{0, 0}, Vertex{30, 40}, Vertex{10, 0}};
    g4.mode = 0x08;
    Prim gt4 = prim(kPrimGT4, 0, 0, 300);
    gt4.colours = {Colour{0xFF, 0, 0}, Colour{0, 0xFF, 0}, Colour{0, 0, 0xFF}, Colour{0x80, 0x80, 0x80}};
    const Prim noTexture = prim(kPrimGT4, 0, 0, 0xFFFF);
    const auto list = convertGadget(gadgetWithPrims({f4, ft4, g4, gt4, noTexture})).entries;
    ASSERT_EQ(list.size(), 5U);
    EXPECT_EQ(list[0].colours, (Words{0x123456, 0x123456, 0x123456, 0x123456}));
    EXPECT_EQ(list[1].colours, (Words{0xABCDEF, 0xABCDEF, 0xABCDEF, 0xABCDEF}));
    EXPECT_EQ(list[2].colours, (Words{0x010203, 0x040506, 0x070809, 0x0A0B0C}));
    EXPECT_EQ(list[3].colours, (Words{0xFF0000, 0x00FF00, 0x0000FF, 0x808080}));
    std::vector<std::pair<int16_t, int16_t>> points;
    for (const RlfPoint& point : list[2].points)
        points.emplace_back(point.x, point.y);
    EXPECT_EQ(points, (std::vector<std::pair<int16_t, int16_t>>{{10, 40}, {0, 0}, {30, 40}, {10, 0}}));
    std::vector<std::tuple<RlfEntryKind, int16_t, int>> seen;
    for (const RlfRenderEntry& e : list)
        seen.emplace_back(e.kind, e.textureId, e.modeLow);
    const auto untextured = RlfEntryKind::Untextured;
    const auto textured = RlfEntryKind::Textured;
    EXPECT_EQ(seen, (std::vector<std::tuple<RlfEntryKind, int16_t, int>>{
                        {untextured, -1, 5}, {textured, 5, 7}, {untextured, -1, 0}, {textured, 300, 0},
                        {textured, -1, 0}}));
}

// A gadget without a name string gets an empty name; names refer to the model.
TEST(Conversion, GadgetNamesReferToTheModelOrAreEmpty)
{
    Gadget first;
    first.name = "Title";
    const Layout layout{{first, Gadget{}, Gadget{.name = "Button"}}};
    std::vector<Child> root = rootChildren(layout);
    ASSERT_EQ(root[0].tag, tag::kStringBank0);
    root[0].body = arrayOf(tag::kStringBank0, {stringBody("Title"), stringBody("Button")});
    const Converted converted = convert(recordBody(root));
    ASSERT_TRUE(converted.rlf);
    std::vector<std::string_view> names;
    for (const RlfGadget& g : converted.rlf->gadgets)
        names.push_back(g.name);
    EXPECT_EQ(names, (std::vector<std::string_view>{"Title", "Button", ""}));
    EXPECT_EQ(names[1].data(), converted.model->gadgetName(1).data());
}
