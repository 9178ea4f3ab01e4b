#include "MdfRoot.h"

#include "MdfTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

using namespace mdfwriter;
using mdftest::concat;
using mdftest::loadModel;
using mdftest::rootWithGadgets;

namespace
{

Bytes bank(std::string_view tag8, std::initializer_list<std::string_view> texts)
{
    std::vector<Bytes> bodies;
    for (std::string_view text : texts)
        bodies.push_back(stringBody(text));
    return arrayOf(tag8, bodies);
}

// Checks childCount and both childAt overloads against the expected members by
// index, including indexes outside the table, which give member 0.
template <typename Record>
void expectChildTable(Record& record, const std::vector<const ScriptFileChunk*>& byIndex)
{
    const Record& constRecord = record;
    const int count = static_cast<int>(byIndex.size());
    EXPECT_EQ(record.childCount(), count);
    for (int i = 0; i < count; ++i)
    {
        EXPECT_EQ(&record.childAt(i), byIndex[static_cast<std::size_t>(i)]) << "index " << i;
        EXPECT_EQ(&constRecord.childAt(i), byIndex[static_cast<std::size_t>(i)]) << "index " << i;
    }
    for (int outside : {-1, count, count + 1, INT_MAX, INT_MIN})
    {
        EXPECT_EQ(&record.childAt(outside), byIndex[0]) << "index " << outside;
        EXPECT_EQ(&constRecord.childAt(outside), byIndex[0]) << "index " << outside;
    }
}

// Checks both findChild overloads: each literal tag finds its member, and
// tags of other records, other case or another final digit find nothing.
template <typename Record>
void expectFindChild(Record& record, const std::vector<std::pair<ChunkTag, const ScriptFileChunk*>>& members)
{
    const Record& constRecord = record;
    for (const auto& [tag, member] : members)
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

TEST(RecordReader, UnknownTagsAreSkippedBySize)
{
    auto root = loadModel(recordBody({
        {"MDFVPBI0", Bytes(37, 0xEE)},
        {"MDFDSB00", bank("MDFDSB00", {"a", "b"})},
        {"ZZZZZZZZ", Bytes(5000, 0x01)},
        {"MDFDSB01", bank("MDFDSB01", {"c"})},
    }));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->stringBank0.count(), 2);
    EXPECT_EQ(root->stringBank0.at(0).text, "a");
    EXPECT_EQ(root->stringBank0.at(1).text, "b");
    ASSERT_EQ(root->stringBank1.count(), 1);
    EXPECT_EQ(root->stringBank1.at(0).text, "c");
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
    EXPECT_EQ(root->gadgetName(0), "button");
    EXPECT_EQ(root->gadgetName(1), "slider");
    ASSERT_EQ(root->stringBank1.count(), 1);
    EXPECT_EQ(root->stringBank1.at(0).text, "help");
    ASSERT_EQ(root->fontTable.fonts.count(), 1);
    ASSERT_EQ(root->fontTable.fonts.at(0).count(), 1);
    EXPECT_EQ(root->fontTable.fonts.at(0).at(0).value1, 2);
}

TEST(RecordReader, TagsDifferingInCaseOrLastDigitSelectDifferentMembers)
{
    auto root = loadModel(recordBody({
        {"MDFDSB01", bank("MDFDSB01", {"bank one"})},
        {"mdfdsb00", bank("MDFDSB00", {"lower case"})},
        {"MDFDSB00", bank("MDFDSB00", {"bank zero"})},
        {"MDFDSB02", bank("MDFDSB00", {"digit two"})},
    }));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->stringBank0.count(), 1);
    EXPECT_EQ(root->stringBank0.at(0).text, "bank zero");
    ASSERT_EQ(root->stringBank1.count(), 1);
    EXPECT_EQ(root->stringBank1.at(0).text, "bank one");
}

TEST(RecordReader, ChildTablesAndFindChild)
{
    MdfRoot root;
    expectChildTable(root, {&root.gadgets, &root.stringBank0, &root.stringBank1, &root.fontTable});
    expectFindChild(root, {{ChunkTag("MDFDSB00"), &root.stringBank0},
                           {ChunkTag("MDFDSB01"), &root.stringBank1},
                           {ChunkTag("MDFTGDG0"), &root.gadgets},
                           {ChunkTag("MDFFTAB0"), &root.fontTable}});
    MdfGadget gadget;
    expectChildTable(gadget, {&gadget.hotspots, &gadget.rects, &gadget.options, &gadget.prims});
    expectFindChild(gadget, {{ChunkTag("MDFSVPI0"), &gadget.prims},
                             {ChunkTag("MDFTVHS0"), &gadget.hotspots},
                             {ChunkTag("MDFTVRE0"), &gadget.rects},
                             {ChunkTag("MDFGPDO0"), &gadget.options}});
    MdfFontTable table;
    expectChildTable(table, {&table.fonts, &table.stringBank0, &table.stringBank1});
    expectFindChild(table, {{ChunkTag("MDFLFTA0"), &table.fonts},
                            {ChunkTag("MDFDSB00"), &table.stringBank0},
                            {ChunkTag("MDFDSB01"), &table.stringBank1}});
}

// The size of a known child is not consulted: its reader takes what its layout
// needs and the next child starts right there.
TEST(RecordReader, DeclaredSizeLargerThanTheKnownBodyIsNotSkippedTo)
{
    Gadget gadget{.hotspots = {{{.posX = 12, .posY = 34}}}, .options = 0};
    std::vector<Child> children = gadgetChildren(gadget);
    std::rotate(children.begin(), children.end() - 1, children.end()); // options first
    ASSERT_EQ(children[0].tag, "MDFGPDO0");
    children[0].declaredSize = 64; // the body is 32 bytes

    auto root = loadModel(rootWithGadgets({recordBody(children)}, {"g"}));
    ASSERT_NE(root, nullptr);
    ASSERT_GE(root->gadgets.count(), 1);
    const MdfGadget& read = root->gadgets.at(0);
    EXPECT_EQ(read.options.flag, 0u);
    ASSERT_EQ(read.hotspots.count(), 1);
    ASSERT_EQ(read.hotspots.at(0).count(), 1);
    EXPECT_EQ(read.hotspots.at(0).at(0).posX, 12.0f);
    EXPECT_EQ(read.hotspots.at(0).at(0).posY, 34.0f);
}

TEST(RecordReader, BytesAKnownReaderLeavesBelongToTheNextChild)
{
    // The options body carries 4 extra bytes; the hotspot table after it
    // lacks the first 4 bytes of its own tag. Read in step with the readers,
    // the extra bytes become the start of the table's (unchecked) tag.
    const Bytes table = arrayOf("MDFTVHS0", {arrayOf("MDFVHSP0", {hotspotBody(7, 8, 0x05)})});
    const Bytes gadgetRecord = recordBody({
        {"MDFGPDO0", concat({optionsBody(2), {'J', 'U', 'N', 'K'}})},
        {"MDFTVHS0", Bytes(table.begin() + 4, table.end())},
    });

    auto root = loadModel(rootWithGadgets({gadgetRecord}, {"g"}));
    ASSERT_NE(root, nullptr);
    ASSERT_GE(root->gadgets.count(), 1);
    const MdfGadget& read = root->gadgets.at(0);
    EXPECT_EQ(read.options.flag, 0u);
    ASSERT_EQ(read.hotspots.count(), 1);
    ASSERT_EQ(read.hotspots.at(0).count(), 1);
    EXPECT_EQ(read.hotspots.at(0).at(0).posX, 7.0f);
    EXPECT_EQ(read.hotspots.at(0).at(0).flagsA, 1);
    EXPECT_EQ(read.hotspots.at(0).at(0).flagsB, 1);
}
