#include "MdfRoot.h"

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
        const auto at = i >= 0 && i < count ? static_cast<std::size_t>(i) : 0;
        const ScriptFileChunk* expected = byIndex[at].second;
        EXPECT_EQ(&record.childAt(i), expected) << "index " << i;
        EXPECT_EQ(&constRecord.childAt(i), expected) << "index " << i;
    }
    for (const auto& [tag, member] : byIndex)
    {
        EXPECT_EQ(record.findChild(tag), member) << tag.text();
        EXPECT_EQ(constRecord.findChild(tag), member) << tag.text();
    }
    for (const ChunkTag& unknown : {ChunkTag("MDFVPBI0"), ChunkTag("mdfdsb00"), ChunkTag("MDFDSB02"),
                                    ChunkTag("MDFROOT0"), ChunkTag("MDFGARC0"), ChunkTag("MDFSTR00")})
    {
        EXPECT_EQ(record.findChild(unknown), nullptr) << unknown.text();
        EXPECT_EQ(constRecord.findChild(unknown), nullptr) << unknown.text();
    }
}

} // namespace

TEST(RecordReader, RootOfZeroEntriesIsEmpty)
{
    auto root = loadModel({0, 0, 0, 0});
    ASSERT_NE(root, nullptr);
    EXPECT_EQ((std::vector<int>{root->stringBank0.count(), root->stringBank1.count(), root->gadgets.count(),
                                root->fontTable.fonts.count(), root->fontTable.stringBank0.count(),
                                root->fontTable.stringBank1.count()}),
              std::vector<int>(6, 0));
}

// Unknown tags are skipped by their size; tags differing in case or final
// digit are unknown.
TEST(RecordReader, OnlyExactTagsSelectMembers)
{
    auto root = loadModel(recordBody({
        {"MDFVPBI0", Bytes(37, 0xEE)},
        {"MDFDSB01", bank("MDFDSB01", {"bank one"})},
        {"mdfdsb00", bank("MDFDSB00", {"lower case"})},
        {"MDFDSB00", bank("MDFDSB00", {"a", "b"})},
        {"ZZZZZZZZ", Bytes(5000, 0x01)},
        {"MDFDSB02", bank("MDFDSB00", {"digit two"})},
    }));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(texts(root->stringBank0), (Texts{"a", "b"}));
    EXPECT_EQ(texts(root->stringBank1), (Texts{"bank one"}));
}

TEST(RecordReader, KnownMembersInAnyOrder)
{
    Layout layout;
    layout.gadgets = {{.name = "button"}, {.name = "slider"}};
    layout.strings1 = {"help"};
    layout.fonts = {{{1, 2}}};
    std::vector<Child> children = rootChildren(layout);
    std::reverse(children.begin(), children.end());

    auto root = loadModel(recordBody(children));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->gadgets.count(), 2);
    EXPECT_EQ(texts(root->stringBank0), (Texts{"button", "slider"}));
    EXPECT_EQ(texts(root->stringBank1), (Texts{"help"}));
    ASSERT_EQ(root->fontTable.fonts.count(), 1);
    ASSERT_EQ(root->fontTable.fonts.at(0).count(), 1);
    EXPECT_EQ(root->fontTable.fonts.at(0).at(0).value1, 2);
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
    Gadget gadget{.hotspots = {{{.posX = 12, .posY = 34}}}, .options = 0};
    std::vector<Child> children = gadgetChildren(gadget);
    std::rotate(children.begin(), children.end() - 1, children.end()); // options first
    ASSERT_EQ(children[0].tag, "MDFGPDO0");
    children[0].declaredSize = 64; // the body is 32 bytes
    // Here the options body carries 4 extra bytes and the hotspot table lacks
    // the first 4 bytes of its own (unchecked) tag.
    const Bytes table = arrayOf("MDFTVHS0", {arrayOf("MDFVHSP0", {hotspotBody(7, 8, 0x05)})});
    const Bytes shifted = recordBody({
        {"MDFGPDO0", concat({optionsBody(2), {'J', 'U', 'N', 'K'}})},
        {"MDFTVHS0", Bytes(table.begin() + 4, table.end())},
    });

    auto root = loadModel(rootWithGadgets({recordBody(children), shifted}, {"g", "h"}));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->gadgets.count(), 2);
    for (const auto& [index, x, y, flags] : {std::tuple{0, 12.0f, 34.0f, 0}, {1, 7.0f, 8.0f, 1}})
    {
        SCOPED_TRACE(index);
        const MdfGadget& read = root->gadgets.at(index);
        EXPECT_EQ(read.options.flag, 0u);
        ASSERT_EQ(read.hotspots.count(), 1);
        ASSERT_EQ(read.hotspots.at(0).count(), 1);
        const MdfHotspot& spot = read.hotspots.at(0).at(0);
        EXPECT_EQ(spot.posX, x);
        EXPECT_EQ(spot.posY, y);
        EXPECT_EQ(spot.flagsA, flags);
        EXPECT_EQ(spot.flagsB, flags);
    }
}
