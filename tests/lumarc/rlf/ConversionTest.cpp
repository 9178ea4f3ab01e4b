// Converting loaded layouts into render lists: coordinates, offsets, which
// vector elements and lists count, and names. How each primitive fills its
// entry is checked end to end against independently worked-out files.
#include "LoadedLayout.h"
#include "RlfConversion.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace mdfwriter;
using Quads = std::vector<std::array<int16_t, 4>>;

namespace
{

struct Converted
{
    std::unique_ptr<MdfRoot> model;
    std::unique_ptr<RlfFile> rlf;
    std::vector<const RlfGadget*> gadgets;
};

Converted convert(const Bytes& mdf, int yOffset = 0)
{
    TempFolder folder;
    Converted result{loadLayout(folder, mdf), nullptr, {}};
    EXPECT_NE(result.model, nullptr);
    if (result.model)
        result.rlf = buildRlf(*result.model, yOffset);
    if (result.rlf)
        for (const RlfGadget& g : result.rlf->gadgets)
            result.gadgets.push_back(&g);
    return result;
}

} // namespace

// Each non-empty vector gives one item from its first element; empty vectors
// give none. Hotspots keep their point and split their flags into two codes.
TEST(Conversion, AreasAndHotspotsComeFromTheFirstElementOfEachVector)
{
    Gadget gadget;
    gadget.rects = {
        {Rect{10, -20, 30, 5}}, {}, {Rect{3, 3, 5, 5}, Rect{100, 100, 200, 200}, Rect{7, 7, 8, 8}}};
    gadget.hotspots = {{}, {Hotspot{7, 9, 0x0E, 0x55, 100, 200}, Hotspot{50, 60, 0x0F}}, {Hotspot{1, 32767}}};
    for (const auto& [yOffset, areas, spots] :
         {std::tuple{0, Quads{{10, -20, 20, 25}, {3, 3, 2, 2}}, Quads{{3, 2, 7, 9}, {0, 0, 1, 32767}}},
          std::tuple{kPsxYOffset, Quads{{10, -4, 20, 25}, {3, 19, 2, 2}},
                     Quads{{3, 2, 7, 25}, {0, 0, 1, -32753}}}})
    {
        SCOPED_TRACE(yOffset);
        const Converted converted = convert(mdfFile(Layout{{gadget}}), yOffset);
        ASSERT_EQ(converted.gadgets.size(), 1U);
        Quads seenAreas, seenSpots;
        for (const RlfRect& r : converted.gadgets[0]->childAreas)
            seenAreas.push_back({r.x, r.y, r.w, r.h});
        for (const RlfHotspot& h : converted.gadgets[0]->hotspots)
            seenSpots.push_back({h.flagsA, h.flagsB, h.x, h.y});
        EXPECT_EQ(seenAreas, areas);
        EXPECT_EQ(seenSpots, spots);
    }
}

// A gadget without primitive lists, or with an empty first one, draws nothing.
// A gadget without a name string gets an empty name; names refer to the model.
TEST(Conversion, EmptyRenderListsAndGadgetNames)
{
    const Layout layout{{Gadget{.name = "Title", .rects = {{Rect{0, 0, 1, 1}}}},
                         Gadget{.primLists = {PrimList{}, PrimList{0, 0, {Prim{}}}}},
                         Gadget{.name = "Button"}}};
    std::vector<Child> root = rootChildren(layout);
    ASSERT_EQ(root[0].tag, tag::kStringBank0);
    root[0].body = arrayOf(tag::kStringBank0, {stringBody("Title"), stringBody("Button")});
    const Converted converted = convert(recordBody(root));
    ASSERT_EQ(converted.gadgets.size(), 3U);
    std::vector<std::string_view> names;
    for (const RlfGadget* g : converted.gadgets)
    {
        names.push_back(g->name);
        EXPECT_TRUE(g->renderList.entries.empty()) << g->name;
    }
    EXPECT_EQ(names, (std::vector<std::string_view>{"Title", "Button", ""}));
    EXPECT_EQ(names[1].data(), converted.model->gadgetName(1).data());
}
