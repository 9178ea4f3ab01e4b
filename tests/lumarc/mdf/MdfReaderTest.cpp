#include "MdfFontTable.h"
#include "MdfGadget.h"
#include "MdfRoot.h"
#include "MdfStringBank.h"

#include "MdfTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <tuple>
#include <utility>
#include <vector>

using namespace mdfwriter;
using mdftest::concat;
using mdftest::loadModel;
using mdftest::rootWithGadgets;
using mdftest::StreamOver;
using mdftest::texts;
using Texts = std::vector<std::string>;

namespace
{

Bytes bank(std::string_view tag8, std::initializer_list<std::string_view> strings)
{
    std::vector<Bytes> bodies;
    for (std::string_view text : strings)
        bodies.push_back(stringBody(text));
    return arrayOf(tag8, bodies);
}

// childCount, both childAt overloads by index (indexes outside the table give
// member 0), and both findChild overloads: each literal tag finds its member;
// tags of other records, other case or another final digit find nothing.
template <typename Record>
void expectChildren(Record& record, const std::vector<std::pair<ChunkTag, const ScriptFileChunk*>>& byIndex)
{
    const Record& constRecord = record;
    const int count = static_cast<int>(byIndex.size());
    EXPECT_EQ(record.childCount(), count);
    for (int i : {0, 1, 2, 3, -1, count, count + 1, INT_MAX, INT_MIN})
    {
        const ScriptFileChunk* expected =
            byIndex[i >= 0 && i < count ? static_cast<std::size_t>(i) : 0].second;
        EXPECT_EQ(&record.childAt(i), expected) << "index " << i;
        EXPECT_EQ(&constRecord.childAt(i), expected) << "index " << i;
    }
    std::vector<std::pair<ChunkTag, const ScriptFileChunk*>> lookups = byIndex;
    for (const ChunkTag& unknown : {ChunkTag("MDFVPBI0"), ChunkTag("mdfdsb00"), ChunkTag("MDFDSB02"),
                                    ChunkTag("MDFROOT0"), ChunkTag("MDFGARC0"), ChunkTag("MDFSTR00")})
        lookups.emplace_back(unknown, nullptr);
    for (const auto& [tag, member] : lookups)
        EXPECT_EQ((std::pair<const ScriptFileChunk*, const ScriptFileChunk*>(record.findChild(tag),
                                                                             constRecord.findChild(tag))),
                  std::pair(member, member))
            << tag.text();
}

} // namespace

// An empty array is tag and count only; string filler is consumed.
TEST(ArrayReader, ElementsAreReadInOrderAndTheNextByteFollows)
{
    const Bytes empty = arrayOf("MDFDSB00", {});
    ASSERT_EQ(empty.size(), 12u);
    const Bytes three = arrayBody(
        "MDFDSB00",
        {{.body = stringBody("alpha", 10)}, {.body = stringBody("beta")}, {.body = stringBody("gamma")}});
    StreamOver input(concat({empty, three, {0xAA}}));
    MdfStringBank0 bank;
    EXPECT_TRUE(bank.read(input.stream, 12));
    EXPECT_EQ(bank.count(), 0);
    EXPECT_EQ(input.stream.position(), 12u);
    EXPECT_TRUE(bank.read(input.stream, 0));
    EXPECT_EQ(texts(bank), (Texts{"alpha", "beta", "gamma"}));
    EXPECT_EQ(input.stream.position(), 12 + three.size());
}

// The largest count; one more is refused (see UnreadableMdf).
TEST(ArrayReader, Count65535IsAccepted)
{
    StreamOver input(arrayOf("MDFLFNT0", std::vector<Bytes>(65535, fontEntryBody(3, 4))));
    MdfFont font;
    EXPECT_TRUE(font.read(input.stream, 0));
    EXPECT_EQ(font.count(), 65535);
    EXPECT_EQ(font.at(65534).value1, 4);
}

// Rereading into an array: a count within its capacity keeps the storage (and
// the elements beyond the count as they were), and kept elements keep their
// own capacity. Growing replaces the storage with fresh elements, each with
// exactly the room it needs.
TEST(ArrayReader, RereadKeepsOrReplacesTheStorage)
{
    StreamOver banks(concat({arrayOf("MDFDSB00", {stringBody("a"), stringBody("b"), stringBody("c")}),
                             arrayOf("MDFDSB00", {stringBody("x"), stringBody("y")})}));
    MdfStringBank0 bank;
    ASSERT_TRUE(bank.read(banks.stream, 0));
    const MdfString* storage = &bank.at(0);
    ASSERT_TRUE(bank.read(banks.stream, 0));
    EXPECT_EQ(texts(bank), (Texts{"x", "y"}));
    ASSERT_EQ(bank.capacity(), 3);
    EXPECT_EQ(&bank.at(0), storage);
    EXPECT_EQ(bank.at(2).text, "c");

    const auto rectTable = [](const std::vector<std::size_t>& rectsPerVector)
    {
        std::vector<Bytes> vectors;
        for (std::size_t rects : rectsPerVector)
            vectors.push_back(arrayOf("MDFVREC0", std::vector<Bytes>(rects, rectBody(1, 2, 3, 4))));
        return arrayOf("MDFTVRE0", vectors);
    };
    for (const auto& [second, capacities] :
         {std::pair{std::vector<std::size_t>{1}, std::vector<int>{1, 3}},
          std::pair{std::vector<std::size_t>{1, 2}, std::vector<int>{2, 1}}})
    {
        SCOPED_TRACE(second.size());
        StreamOver input(concat({rectTable({3}), rectTable(second)}));
        MdfRectTable table;
        ASSERT_TRUE(table.read(input.stream, 0));
        ASSERT_TRUE(table.read(input.stream, 0));
        std::vector<std::size_t> counts;
        for (int i = 0; i < table.count(); ++i)
            counts.push_back(static_cast<std::size_t>(table.at(i).count()));
        EXPECT_EQ(counts, second);
        EXPECT_EQ((std::vector<int>{table.capacity(), table.at(0).capacity()}), capacities);
    }
}

// Unknown tags, including those differing in case or final digit, are
// skipped by their size. A gadget without a name string gets an empty name.
TEST(RecordReader, RootMembersAreSelectedByExactTag)
{
    const std::vector<std::tuple<const char*, Bytes, Texts, Texts, int>> cases{
        {"no entries", {0, 0, 0, 0}, {}, {}, 0},
        {"unknown and near tags",
         recordBody({{"MDFVPBI0", Bytes(37, 0xEE)},
                     {"MDFDSB01", bank("MDFDSB01", {"bank one"})},
                     {"mdfdsb00", bank("MDFDSB00", {"lower case"})},
                     {"MDFDSB00", bank("MDFDSB00", {"a", "b"})},
                     {"ZZZZZZZZ", Bytes(5000, 0x01)},
                     {"MDFDSB02", bank("MDFDSB00", {"digit two"})}}),
         {"a", "b"},
         {"bank one"},
         0},
        {"fewer names than gadgets",
         rootWithGadgets({recordBody({}), recordBody({})}, {"only"}),
         {"only"},
         {},
         2},
    };
    for (const auto& [name, bytes, bank0, bank1, gadgets] : cases)
    {
        SCOPED_TRACE(name);
        auto root = loadModel(bytes);
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(texts(root->stringBank0), bank0);
        EXPECT_EQ(texts(root->stringBank1), bank1);
        EXPECT_EQ(std::tuple(root->gadgets.count(), root->fontTable.fonts.count(),
                             root->fontTable.stringBank0.count(), root->fontTable.stringBank1.count()),
                  std::tuple(gadgets, 0, 0, 0));
        for (int i = 0; i < gadgets; ++i)
            EXPECT_EQ(root->gadgetName(static_cast<uint32_t>(i)),
                      i < static_cast<int>(bank0.size()) ? bank0[i] : "");
        EXPECT_EQ(root->gadgetName(70000), "");
    }
}

TEST(RecordReader, ChildTablesAndFindChild)
{
    MdfRoot root;
    expectChildren(root, {{ChunkTag("MDFTGDG0"), &root.gadgets},
                          {ChunkTag("MDFDSB00"), &root.stringBank0},
                          {ChunkTag("MDFDSB01"), &root.stringBank1},
                          {ChunkTag("MDFFTAB0"), &root.fontTable}});
    MdfGadget gadget;
    expectChildren(gadget, {{ChunkTag("MDFTVHS0"), &gadget.hotspots},
                            {ChunkTag("MDFTVRE0"), &gadget.rects},
                            {ChunkTag("MDFGPDO0"), &gadget.options},
                            {ChunkTag("MDFSVPI0"), &gadget.prims}});
    MdfFontTable table;
    expectChildren(table, {{ChunkTag("MDFLFTA0"), &table.fonts},
                           {ChunkTag("MDFDSB00"), &table.stringBank0},
                           {ChunkTag("MDFDSB01"), &table.stringBank1}});
}

// A known child's declared size is not consulted: its reader takes what its
// layout needs and the next child starts right there, so a larger size is
// not skipped to, and bytes a reader leaves belong to the next child.
TEST(RecordReader, KnownChildrenAreReadInStepWithTheirReaders)
{
    std::vector<Child> children = gadgetChildren({.hotspots = {{{.posX = 12, .posY = 34}}},
                                                  .primLists = {{.prims = {{}, {.type = kPrimGT4}}}},
                                                  .options = 0});
    std::rotate(children.begin(), children.begin() + 1, children.end()); // hotspots, rects, options, prims
    ASSERT_EQ(children[2].tag, "MDFGPDO0");
    children[2].declaredSize = 64; // the body is 32 bytes
    // The primitives after those options are still found. In the second gadget
    // the options body carries 4 extra bytes and the hotspot table lacks the
    // first 4 bytes of its own (unchecked) tag.
    const Bytes table = arrayOf("MDFTVHS0", {arrayOf("MDFVHSP0", {hotspotBody(7, 8, 0x05)})});
    const Bytes shifted = recordBody({{"MDFGPDO0", concat({optionsBody(2), {'J', 'U', 'N', 'K'}})},
                                      {"MDFTVHS0", Bytes(table.begin() + 4, table.end())}});
    auto root = loadModel(rootWithGadgets({recordBody(children), shifted}, {"g", "h"}));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->gadgets.count(), 2);
    for (const auto& [index, x, y, flags] : {std::tuple{0, 12.0f, 34.0f, 0}, {1, 7.0f, 8.0f, 1}})
    {
        SCOPED_TRACE(index);
        const MdfGadget& read = root->gadgets.at(index);
        ASSERT_EQ(read.hotspots.count(), 1);
        ASSERT_EQ(read.hotspots.at(0).count(), 1);
        const MdfHotspot& spot = read.hotspots.at(0).at(0);
        EXPECT_EQ(std::tuple(read.options.flag, spot.posX, spot.posY, spot.flagsA, spot.flagsB),
                  std::tuple(0u, x, y, flags, flags));
        EXPECT_EQ(read.primitiveCount(), index == 0 ? 2u : 0u);
    }
}

TEST(MdfModel, LeafFieldsInBodyOrder)
{
    // aux0..aux3 = 1, 2, 3, 4; left 10, top -20, right 30, bottom 5.
    StreamOver rectInput({0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00, //
                          0x0A, 0x00, 0xEC, 0xFF, 0x1E, 0x00, 0x05, 0x00});
    MdfRect r;
    EXPECT_TRUE(r.read(rectInput.stream, 16));
    EXPECT_EQ((std::vector<float>{r.aux0, r.aux1, r.aux2, r.aux3, r.left, r.top, r.right, r.bottom}),
              (std::vector<float>{1, 2, 3, 4, 10, -20, 30, 5}));
    EXPECT_EQ(rectInput.stream.position(), 16u);
    // auxX 1, auxY -2, posX 300, posY -400, flags 0xF6, code 0x55, two ignored
    // bytes. Flag bits 4-7 are not part of either code.
    StreamOver spotInput({0x01, 0x00, 0xFE, 0xFF, 0x2C, 0x01, 0x70, 0xFE, 0xF6, 0x55, 0xFF, 0xFF});
    MdfHotspot h;
    EXPECT_TRUE(h.read(spotInput.stream, 12));
    EXPECT_EQ((std::vector<float>{h.auxX, h.auxY, h.posX, h.posY}), (std::vector<float>{1, -2, 300, -400}));
    EXPECT_EQ((std::vector<int>{h.flagsA, h.flagsB, h.code}), (std::vector<int>{1, 2, 0x55}));
    EXPECT_EQ(spotInput.stream.position(), 12u);
}

// Known root members may come in any order. The options flag is bit 0 of its
// word, 1 without an options record. A gadget's primitive count is that of
// its first list, 0 without one.
TEST(MdfModel, LoadedTablesOptionsFontsAndPrimitiveCounts)
{
    Layout layout;
    layout.gadgets = {
        {.name = "g",
         .rects = {{{.left = 1}, {.left = 2}, {.left = 3}}, {{.left = 4}, {.left = 5}, {.left = 6}}},
         .primLists = {{.prims = {{}, {}}}, {.prims = {{}, {}, {}, {}, {}}}},
         .options = 0xFFFFFFFE},
        {.name = "odd", .options = 0x80000001},
        {.name = "none"}};
    layout.fonts = {{{1, 2}, {3, 4}}, {{250, 7}}};
    layout.strings1 = {"help"};
    std::vector<Child> reversed = rootChildren(layout);
    std::reverse(reversed.begin(), reversed.end());
    auto root = loadModel(recordBody(reversed));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->gadgets.count(), 3);
    EXPECT_EQ(texts(root->stringBank0), (Texts{"g", "odd", "none"}));
    EXPECT_EQ(texts(root->stringBank1), Texts{"help"});
    const MdfGadget& g = root->gadgets.at(0);
    ASSERT_EQ(g.rects.count(), 2);
    ASSERT_EQ(g.rects.at(0).count(), 3);
    ASSERT_EQ(g.rects.at(1).count(), 3);
    EXPECT_EQ(
        (std::vector<float>{g.rects.at(0).at(0).left, g.rects.at(1).at(0).left, g.rects.at(1).at(2).left}),
        (std::vector<float>{1, 4, 6}));
    EXPECT_EQ((std::vector<uint32_t>{g.options.flag, root->gadgets.at(1).options.flag,
                                     root->gadgets.at(2).options.flag}),
              (std::vector<uint32_t>{0, 1, 1}));
    ASSERT_EQ(g.prims.lists.count(), 2u);
    EXPECT_EQ(g.primitiveCount(), 2u);
    EXPECT_EQ(g.prims.lists.items[1]->primitives.count(), 5u);
    EXPECT_EQ(root->gadgets.at(2).firstPrimList(), nullptr);
    EXPECT_EQ(root->gadgets.at(2).primitiveCount(), 0u);

    const MdfFontArray& fonts = root->fontTable.fonts;
    ASSERT_EQ(fonts.count(), 2);
    ASSERT_EQ(fonts.at(0).count(), 2);
    ASSERT_EQ(fonts.at(1).count(), 1);
    EXPECT_EQ(
        (std::vector<int>{fonts.at(0).at(0).value0, fonts.at(0).at(0).value1, fonts.at(0).at(1).value0,
                          fonts.at(0).at(1).value1, fonts.at(1).at(0).value0, fonts.at(1).at(0).value1}),
        (std::vector<int>{1, 2, 3, 4, 250, 7}));
}
