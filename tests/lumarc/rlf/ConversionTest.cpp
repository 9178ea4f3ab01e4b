// Converting loaded layouts into render lists: coordinates, offsets, which
// vector elements and lists count, and how each primitive fills its entry.
#include "LoadedLayout.h"
#include "RlfConversion.h"
#include "RlfSave.h"

#include <gtest/gtest.h>

using namespace mdfwriter;

namespace
{

struct Converted
{
    std::unique_ptr<MdfRoot> model;
    std::unique_ptr<RlfFile> rlf;
};

Converted convert(const Bytes& mdf, int yOffset)
{
    TempFolder folder;
    Converted result;
    result.model = loadLayout(folder, mdf);
    EXPECT_NE(result.model, nullptr);
    if (result.model)
        result.rlf = buildRlf(*result.model, yOffset);
    return result;
}

Converted convert(const Layout& layout, int yOffset = 0)
{
    return convert(mdfFile(layout), yOffset);
}

template <typename T>
std::vector<const T*> items(const PtrList<T>& list)
{
    std::vector<const T*> out;
    for (const T& item : list)
        out.push_back(&item);
    return out;
}

const RlfGadget& onlyGadget(const Converted& converted)
{
    static const RlfGadget kNone("");
    if (!converted.rlf || converted.rlf->gadgets.count() != 1)
    {
        ADD_FAILURE() << "expected exactly one gadget";
        return kNone;
    }
    return *converted.rlf->gadgets.first();
}

using Quad4 = std::array<int16_t, 4>;

Quad4 fields(const RlfRect& r)
{
    return {r.x, r.y, r.w, r.h};
}

Quad4 fields(const RlfHotspot& h)
{
    return {h.flagsA, h.flagsB, h.x, h.y};
}

std::vector<Quad4> childAreas(const RlfGadget& gadget)
{
    std::vector<Quad4> out;
    for (const RlfRect* r : items(gadget.childAreas))
        out.push_back(fields(*r));
    return out;
}

std::vector<Quad4> hotspots(const RlfGadget& gadget)
{
    std::vector<Quad4> out;
    for (const RlfHotspot* h : items(gadget.hotspots))
        out.push_back(fields(*h));
    return out;
}

// Copies, so that they outlive the conversion they came from.
std::vector<RlfRenderEntry> entries(const RlfGadget& gadget)
{
    std::vector<RlfRenderEntry> out;
    for (const RlfRenderEntry& entry : gadget.renderList.entries)
        out.push_back(entry);
    return out;
}

Prim prim(uint8_t type, int16_t x = 0, int16_t y = 0)
{
    Prim p;
    p.type = type;
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

using Words = std::array<uint32_t, 4>;

} // namespace

TEST(Conversion, RectBecomesCornerAndExtent)
{
    Gadget gadget;
    gadget.rects = {{Rect{10, -20, 30, 5}}};
    EXPECT_EQ(childAreas(onlyGadget(convert(Layout{{gadget}}))), (std::vector<Quad4>{{10, -20, 20, 25}}));
}

TEST(Conversion, ConsoleMovesChildAreaDown)
{
    Gadget gadget;
    gadget.rects = {{Rect{10, -20, 30, 5}}};
    EXPECT_EQ(childAreas(onlyGadget(convert(Layout{{gadget}}, kPsxYOffset))),
              (std::vector<Quad4>{{10, -4, 20, 25}}));
}

TEST(Conversion, HotspotTakesFlagCodesAndPoint)
{
    Gadget gadget;
    gadget.hotspots = {{Hotspot{7, 9, 0x0E, 0x55, 100, 200}}};
    EXPECT_EQ(hotspots(onlyGadget(convert(Layout{{gadget}}))), (std::vector<Quad4>{{3, 2, 7, 9}}));
}

TEST(Conversion, ConsoleHotspotYWrapsAround)
{
    Gadget gadget;
    gadget.hotspots = {{Hotspot{1, 32767}}};
    EXPECT_EQ(hotspots(onlyGadget(convert(Layout{{gadget}}, kPsxYOffset))),
              (std::vector<Quad4>{{0, 0, 1, -32753}}));
}

TEST(Conversion, EntryPointsAddListOffsetAndConsoleOffset)
{
    Prim p = prim(kPrimF4);
    p.vertices[0] = {5, 100};
    const Layout layout{{gadgetWithPrims({p}, -10, 20)}};
    for (const auto& [yOffset, expectedY] : {std::pair{0, 120}, std::pair{kPsxYOffset, 136}})
    {
        const Converted converted = convert(layout, yOffset);
        const auto list = entries(onlyGadget(converted));
        ASSERT_EQ(list.size(), 1U);
        EXPECT_EQ(list[0].points[0].x, -5);
        EXPECT_EQ(list[0].points[0].y, expectedY) << "y offset " << yOffset;
    }
}

TEST(Conversion, EachRectVectorGivesOneChildAreaFromItsFirstRect)
{
    Gadget gadget;
    gadget.rects = {{Rect{1, 1, 2, 2}},
                    {Rect{3, 3, 5, 5}, Rect{100, 100, 200, 200}, Rect{7, 7, 8, 8}},
                    {Rect{9, 9, 12, 12}, Rect{-1, -1, 0, 0}}};
    EXPECT_EQ(childAreas(onlyGadget(convert(Layout{{gadget}}))),
              (std::vector<Quad4>{{1, 1, 1, 1}, {3, 3, 2, 2}, {9, 9, 3, 3}}));
}

TEST(Conversion, EachHotspotVectorGivesOneHotspotFromItsFirstElement)
{
    Gadget gadget;
    gadget.hotspots = {{Hotspot{1, 2, 0x01}, Hotspot{50, 60, 0x0F}}, {Hotspot{3, 4, 0x04}}};
    EXPECT_EQ(hotspots(onlyGadget(convert(Layout{{gadget}}))),
              (std::vector<Quad4>{{0, 1, 1, 2}, {1, 0, 3, 4}}));
}

TEST(Conversion, EmptyVectorsContributeNothing)
{
    Gadget gadget;
    gadget.rects = {{}, {Rect{1, 1, 2, 2}}, {}};
    gadget.hotspots = {{}, {}, {Hotspot{5, 6}}};
    const Converted converted = convert(Layout{{gadget}});
    EXPECT_EQ(childAreas(onlyGadget(converted)), (std::vector<Quad4>{{1, 1, 1, 1}}));
    EXPECT_EQ(hotspots(onlyGadget(converted)), (std::vector<Quad4>{{0, 0, 5, 6}}));
}

TEST(Conversion, OnlyFirstPrimitiveListIsDrawn)
{
    Gadget gadget;
    gadget.primLists = {PrimList{0, 0, {prim(kPrimF4, 1, 1)}},
                        PrimList{0, 0, {prim(kPrimG4, 2, 2), prim(kPrimF4, 3, 3)}}};
    const auto list = entries(onlyGadget(convert(Layout{{gadget}})));
    ASSERT_EQ(list.size(), 1U);
    EXPECT_EQ(list[0].points[0].x, 1);
}

TEST(Conversion, GadgetWithoutPrimitiveListsHasEmptyRenderList)
{
    Gadget gadget;
    gadget.rects = {{Rect{0, 0, 1, 1}}};
    EXPECT_TRUE(onlyGadget(convert(Layout{{gadget}})).renderList.entries.empty());
}

TEST(Conversion, EmptyPrimitiveListGivesEmptyRenderList)
{
    EXPECT_TRUE(onlyGadget(convert(Layout{{gadgetWithPrims({})}})).renderList.entries.empty());
}

TEST(Conversion, FlatColourFillsAllFourColourWords)
{
    Prim f4 = prim(kPrimF4);
    f4.colours[0] = {0x12, 0x34, 0x56, 0x99};
    Prim ft4 = prim(kPrimFT4);
    ft4.colours[0] = {0xAB, 0xCD, 0xEF, 0x01};
    const auto list = entries(onlyGadget(convert(Layout{{gadgetWithPrims({f4, ft4})}})));
    ASSERT_EQ(list.size(), 2U);
    EXPECT_EQ(list[0].colours, (Words{0x123456, 0x123456, 0x123456, 0x123456}));
    EXPECT_EQ(list[1].colours, (Words{0xABCDEF, 0xABCDEF, 0xABCDEF, 0xABCDEF}));
}

TEST(Conversion, GouraudColoursFollowTheirVertices)
{
    Prim g4 = prim(kPrimG4);
    g4.colours = {Colour{1, 2, 3, 0xFF}, Colour{4, 5, 6}, Colour{7, 8, 9}, Colour{10, 11, 12}};
    Prim gt4 = prim(kPrimGT4);
    gt4.colours = {Colour{0xFF, 0, 0}, Colour{0, 0xFF, 0}, Colour{0, 0, 0xFF}, Colour{0x80, 0x80, 0x80}};
    const auto list = entries(onlyGadget(convert(Layout{{gadgetWithPrims({g4, gt4})}})));
    ASSERT_EQ(list.size(), 2U);
    EXPECT_EQ(list[0].colours, (Words{0x010203, 0x040506, 0x070809, 0x0A0B0C}));
    EXPECT_EQ(list[1].colours, (Words{0xFF0000, 0x00FF00, 0x0000FF, 0x808080}));
}

TEST(Conversion, VerticesKeepTheirOrder)
{
    Prim g4 = prim(kPrimG4);
    g4.vertices = {Vertex{10, 40}, Vertex{0, 0}, Vertex{30, 40}, Vertex{10, 0}};
    const auto list = entries(onlyGadget(convert(Layout{{gadgetWithPrims({g4})}})));
    ASSERT_EQ(list.size(), 1U);
    std::vector<std::pair<int16_t, int16_t>> points;
    for (const RlfPoint& point : list[0].points)
        points.emplace_back(point.x, point.y);
    EXPECT_EQ(points, (std::vector<std::pair<int16_t, int16_t>>{{10, 40}, {0, 0}, {30, 40}, {10, 0}}));
}

TEST(Conversion, UntexturedPrimitivesGiveUntexturedEntries)
{
    Prim f4 = prim(kPrimF4);
    f4.textureId = 3; // not part of an untextured body
    const auto list = entries(onlyGadget(convert(Layout{{gadgetWithPrims({f4, prim(kPrimG4)})}})));
    ASSERT_EQ(list.size(), 2U);
    for (const RlfRenderEntry& e : list)
    {
        EXPECT_EQ(e.kind, RlfEntryKind::Untextured);
        EXPECT_EQ(e.textureId, -1);
    }
}

// The ids stay the layout's until the layout pass translates them.
TEST(Conversion, TexturedPrimitivesCarryTheirTextureId)
{
    Prim ft4 = prim(kPrimFT4);
    ft4.textureId = 5;
    Prim gt4 = prim(kPrimGT4);
    gt4.textureId = 300;
    Prim none = prim(kPrimGT4);
    none.textureId = 0xFFFF;
    const auto list = entries(onlyGadget(convert(Layout{{gadgetWithPrims({ft4, gt4, none})}})));
    ASSERT_EQ(list.size(), 3U);
    std::vector<int16_t> ids;
    for (const RlfRenderEntry& e : list)
    {
        EXPECT_EQ(e.kind, RlfEntryKind::Textured);
        ids.push_back(e.textureId);
    }
    EXPECT_EQ(ids, (std::vector<int16_t>{5, 300, -1}));
}

TEST(Conversion, ModeLowIsTheLowThreeBitsOfTheMode)
{
    std::vector<Prim> prims;
    for (uint8_t mode : {0x1D, 0xFF, 0x08})
    {
        prims.push_back(prim(kPrimGT4));
        prims.back().mode = mode;
    }
    std::vector<uint8_t> modes;
    for (const RlfRenderEntry& e : entries(onlyGadget(convert(Layout{{gadgetWithPrims(prims)}}))))
        modes.push_back(e.modeLow);
    EXPECT_EQ(modes, (std::vector<uint8_t>{5, 7, 0}));
}

TEST(Conversion, GadgetNamesReferToTheModel)
{
    Gadget first;
    first.name = "Title";
    Gadget second;
    second.name = "Button";
    const Converted converted = convert(Layout{{first, second}});
    const auto gadgets = items(converted.rlf->gadgets);
    ASSERT_EQ(gadgets.size(), 2U);
    EXPECT_EQ(gadgets[0]->name, "Title");
    EXPECT_EQ(gadgets[1]->name, "Button");
    EXPECT_EQ(gadgets[1]->name.data(), converted.model->gadgetName(1).data());
}

TEST(Conversion, GadgetWithoutNameStringHasEmptyName)
{
    Gadget first;
    first.name = "Only";
    const Layout layout{{first, Gadget{}}};
    std::vector<Child> root = rootChildren(layout);
    ASSERT_EQ(root[0].tag, tag::kStringBank0);
    root[0].body = arrayOf(tag::kStringBank0, {stringBody("Only")});
    const Converted converted = convert(recordBody(root), 0);
    ASSERT_TRUE(converted.rlf);
    const auto gadgets = items(converted.rlf->gadgets);
    ASSERT_EQ(gadgets.size(), 2U);
    EXPECT_EQ(gadgets[0]->name, "Only");
    EXPECT_EQ(gadgets[1]->name, "");
}

namespace
{

// Reads the little-endian fields of a render-list file.
struct RlfReader
{
    const Bytes& bytes;
    [[nodiscard]] uint32_t u32(size_t at) const
    {
        return bytes.at(at) | uint32_t{bytes.at(at + 1)} << 8 | uint32_t{bytes.at(at + 2)} << 16 |
               uint32_t{bytes.at(at + 3)} << 24;
    }
    [[nodiscard]] int s16(size_t at) const
    {
        return static_cast<int16_t>(bytes.at(at) | bytes.at(at + 1) << 8);
    }
};

Bytes saved(const MdfRoot& model, int yOffset)
{
    TempFolder folder;
    const std::string path = folder.file("out.rlf");
    EXPECT_EQ(saveRlf(model, yOffset, path, {}).status, RlfSaveStatus::Saved);
    return readBytes(path);
}

// Every byte outside the y fields is equal; every y field differs by 16.
void expectOnlyYMovedBy16(const Bytes& pc, const Bytes& psx)
{
    ASSERT_EQ(pc.size(), psx.size());
    const RlfReader a{pc};
    const RlfReader b{psx};
    std::vector<bool> isY(pc.size(), false);
    const auto markY = [&](size_t at)
    {
        isY[at] = isY[at + 1] = true;
        EXPECT_EQ(b.s16(at), a.s16(at) + 16) << "y at byte " << at;
    };
    const uint32_t gadgets = a.u32(0);
    for (uint32_t g = 0; g < gadgets; ++g)
    {
        const uint32_t at = a.u32(4 + 4 * g);
        const size_t end = g + 1 < gadgets ? a.u32(8 + 4 * g) : pc.size();
        markY(at + 2); // the box: all content lies inside the screen
        const uint32_t rects = a.u32(at + 8), spots = a.u32(at + 12), list = a.u32(at + 16);
        const auto partEnd = [end](std::initializer_list<uint32_t> following)
        {
            for (uint32_t next : following)
                if (next)
                    return size_t{next};
            return end;
        };
        for (size_t r = rects; rects && r < partEnd({spots, list}); r += 8)
            markY(r + 2);
        for (size_t s = spots; spots && s < partEnd({list}); s += 8)
            markY(s + 6);
        for (uint32_t k = 0; list && k < a.u32(list); ++k)
            for (uint32_t p = 0; p < 4; ++p)
                markY(a.u32(list + 4 + 4 * k) + 6 + 4 * p);
    }
    for (size_t i = 0; i < pc.size(); ++i)
    {
        if (!isY[i])
        {
            EXPECT_EQ(pc[i], psx[i]) << "byte " << i;
        }
    }
}

} // namespace

TEST(Conversion, ConsoleAndPcFilesDifferOnlyInYValues)
{
    Gadget panel;
    panel.name = "Panel";
    panel.rects = {{Rect{10, 20, 110, 220}}, {Rect{30, 40, 50, 60}}};
    panel.hotspots = {{Hotspot{15, 25, 0x07}}};
    Prim gt4 = prim(kPrimGT4, 40, 50);
    gt4.textureId = 1;
    gt4.colours = {Colour{1, 2, 3}, Colour{4, 5, 6}, Colour{7, 8, 9}, Colour{10, 11, 12}};
    panel.primLists = {PrimList{5, 6, {prim(kPrimF4, 20, 30), gt4}}};
    Gadget spots;
    spots.hotspots = {{Hotspot{300, 200, 0x0B}}, {Hotspot{310, 210}}};
    Gadget quads = gadgetWithPrims({prim(kPrimFT4, 100, 100), prim(kPrimG4, 120, 140)}, -4, 8);

    TempFolder folder;
    const auto model = loadLayout(folder, Layout{{panel, spots, quads}});
    ASSERT_TRUE(model);
    const Bytes pc = saved(*model, 0);
    const Bytes psx = saved(*model, kPsxYOffset);
    ASSERT_EQ(pc.size(), 4U + 3 * 4 + (20 + 16 + 8 + 84) + (20 + 16) + (20 + 84));
    expectOnlyYMovedBy16(pc, psx);
}
