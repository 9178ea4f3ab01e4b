// The MDF reader: records written by hand, layouts made by the test writer
// (larger ones than its block too), and files it must refuse whole, with the
// reason and the byte where the bad field starts.
#include "AllocationHook.h"
#include "LumarcFiles.h"
#include "MdfRoot.h"
#include "RlfReader.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <optional>

using namespace mdfwriter;

namespace
{

Bytes head(Bytes bytes, std::size_t length)
{
    bytes.resize(length);
    return bytes;
}

Bytes join(Bytes first, const Bytes& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// A root of one names bank holding `strings`: its array body starts at 20,
// the count at 28, the element table at 32 and, with one element, the first
// string at 40.
Bytes bankRoot(const std::vector<Element>& strings)
{
    return recordBody({{"MDFDSB00", arrayBody("MDFDSB00", strings)}});
}

// Records written by hand as the format lays them out: a rectangle, a
// hotspot, and a list of one primitive of each type ended by a header of type
// 9, then an empty list.
// clang-format off
const Bytes kRect{1, 1, 2, 2, 3, 3, 4, 4, 10, 0, 0xEC, 0xFF, 30, 0, 5, 0}; // aux, 10, -20, 30, 5
const Bytes kHotspot{1, 0, 2, 0, 0x2C, 1, 0x70, 0xFE, 0xF6, 0x55, 0, 0};   // aux, 300, -400, flags, code
const Bytes kLists{0, 0, 0, 0, 2, 0, 0, 0, 0xFE, 0xFF, 3, 0,                // 2 lists; the first at -2, 3
        5, 0x1D, 0xE4, 0x7F, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 0xF8, 0xFF, 0x11, 0x12, 0x13, 0x14,
        6, 2, 0, 0, 11, 0, 12, 0, 13, 0, 14, 0, 15, 0, 16, 0, 17, 0, 18, 0,
        0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F, 0x30,
        7, 3, 0, 0, 5, 0, 0x34, 0x12, 21, 0, 22, 0, 23, 0, 24, 0, 25, 0, 26, 0, 27, 0, 28, 0, 0x31, 0x32, 0x33, 0x34,
        8, 0x0C, 0x1B, 0x02, 1, 0, 2, 0, 31, 0, 32, 0, 33, 0, 34, 0, 35, 0, 36, 0, 37, 0, 38, 0,
        0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x50,
        9, 0xAA, 0xBB, 0xCC, 7, 0, 8, 0, 0, 0, 0, 0};                          // the end; the second list at 7, 8
// clang-format on

// A root holding one gadget of `lists`, the hotspot and the rectangle above.
Bytes handGadgets(const Bytes& lists)
{
    return arrayOf("MDFTGDG0",
                   {recordBody({{"MDFSVPI0", lists},
                                {"MDFTVHS0", arrayOf("MDFTVHS0", {arrayOf("MDFVHSP0", {kHotspot})})},
                                {"MDFTVRE0", arrayOf("MDFTVRE0", {arrayOf("MDFVREC0", {kRect})})}})});
}

} // namespace

// The writer's record, array and string framing, which every other input
// of these tests relies on.
TEST(MdfWriter, RecordOfOneArrayOfOnePaddedString)
{
    // clang-format off
    const Bytes expected{1, 0, 0, 0, 'M', 'D', 'F', 'D', 'S', 'B', '0', '0', 0, 0, 0, 0, 24, 0, 0, 0,
                         'M', 'D', 'F', 'D', 'S', 'B', '0', '0', 1, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 'a', 'b', 0, 0};
    // clang-format on
    EXPECT_EQ(bankRoot({{.body = stringBody("ab", 4)}}), expected);
}

// Members come in any order; the filler after a name's NUL is passed over.
// The options flag is bit 0 of its word, 1 without options.
TEST(MdfRead, LayoutReadsBackAsWritten)
{
    std::vector<Child> children = rootChildren(Layout{.gadgets = {Gadget{.options = 0xFFFFFFFE}, Gadget{}},
                                                      .strings1 = {"help"},
                                                      .fonts = {{{1, 2}, {3, 4}}}});
    children[0].body = arrayOf(tag::kStringBank0, {stringBody("Pad", 12), stringBody("Spare")});
    std::swap(children.front(), children.back());
    const TempFolder folder;
    const MdfLoadResult loaded = loadMdf(folder.write("layout.mdf", recordBody(children)));
    ASSERT_TRUE(loaded.model) << loaded.message;
    const MdfRoot& root = *loaded.model;
    ASSERT_EQ(root.gadgets.count(), 2);
    ASSERT_EQ(root.fontTable.fonts.count(), 1);
    EXPECT_EQ((std::vector<std::string>{root.gadgetName(0), root.gadgetName(1), root.stringBank1.textAt(0)}),
              (std::vector<std::string>{"Pad", "Spare", "help"}));
    EXPECT_EQ(
        (std::vector<uint32_t>{root.gadgets.at(0).options.flag, root.gadgets.at(1).options.flag,
                               root.fontTable.fonts.at(0).count(), root.fontTable.fonts.at(0).at(1).value1}),
        (std::vector<uint32_t>{0, 1, 2, 4}));
}

// The test writer makes the records written by hand of the same values, so
// the layouts the other tests read are the format's. The reader finds one
// primitive of each type, ends the list at the header of type 9 and finds the
// second list right after it.
TEST(MdfRead, RecordsPinnedByHand)
{
    // clang-format off
    const Colour c1{0x11, 0x12, 0x13, 0x14}, c3{0x31, 0x32, 0x33, 0x34};
    const std::array<Colour, 4> g4{{{0x21, 0x22, 0x23, 0x24}, {0x25, 0x26, 0x27, 0x28}, {0x29, 0x2A, 0x2B, 0x2C}, {0x2D, 0x2E, 0x2F, 0x30}}};
    const std::array<Colour, 4> gt4{{{0x41, 0x42, 0x43, 0x44}, {0x45, 0x46, 0x47, 0x48}, {0x49, 0x4A, 0x4B, 0x4C}, {0x4D, 0x4E, 0x4F, 0x50}}};
    const Gadget gadget{.name = "G", .rects = {{Rect{10, -20, 30, 5, {0x101, 0x202, 0x303, 0x404}}}},
        .hotspots = {{Hotspot{300, -400, 0xF6, 0x55, 1, 2}}},
        .primLists = {PrimList{-2, 3, {Prim{kPrimF4, 0x1D, 0xE4, 0x7F, 0, 0, {{{1, 2}, {3, 4}, {5, 6}, {7, -8}}}, {c1}},
                                       Prim{kPrimG4, 2, 0, 0, 0, 0, {{{11, 12}, {13, 14}, {15, 16}, {17, 18}}}, g4},
                                       Prim{kPrimFT4, 3, 0, 0, 5, 0x1234, {{{21, 22}, {23, 24}, {25, 26}, {27, 28}}}, {c3}},
                                       Prim{kPrimGT4, 0x0C, 0x1B, 2, 1, 2, {{{31, 32}, {33, 34}, {35, 36}, {37, 38}}}, gt4}},
                               0xCCBBAA09}, PrimList{7, 8}}};
    // clang-format on
    std::vector<Child> children = rootChildren(Layout{.gadgets = {gadget}});
    EXPECT_EQ(children.at(2).body, handGadgets(kLists));
    children.at(2).body = handGadgets(kLists);
    const TempFolder folder;
    const MdfLoadResult loaded = loadMdf(folder.write("layout.mdf", recordBody(children)));
    ASSERT_TRUE(loaded.model) << loaded.message;
    const MdfPrimListArray& lists = loaded.model->gadgets.at(0).prims.lists;
    ASSERT_EQ(lists.items.size(), 2u);
    std::vector<float> seen{lists.items[1]->offsetX, lists.items[1]->offsetY};
    for (const Ostrel_ScriptFilePrim_Base& prim : lists.items[0]->primitives)
        seen.push_back(float(prim.primType()));
    EXPECT_EQ(seen, (std::vector<float>{7, 8, 5, 6, 7, 8}));
}

// The reader takes the file in blocks of 64 KiB. Unknown chunks are passed
// over within a block, to its very end and beyond it; fields straddle a
// block's end; a list longer than a block is read whole.
TEST(MdfRead, LayoutsLargerThanABlock)
{
    Layout layout = familyLayout();
    Gadget& big = layout.gadgets.emplace_back(Gadget{.name = "Big", .primLists = {{}}});
    for (int16_t k = 0; k < 4000; ++k)
        big.primLists[0].prims.push_back(
            Prim{.mode = 3, .vertices = {{{k, 1}, {2, k}, {3, 4}, {5, 6}}}, .colours = {{{7, 8, 9}}}});
    const Bytes expected = savedRlf(layout, 0);
    const rlfinfo::ReadResult read = rlfinfo::readRlf(expected);
    ASSERT_EQ(read.contents.gadgets.at(4).entries.size(), 4000u);
    for (int k = 0; k < 4000; ++k)
        ASSERT_EQ(read.contents.gadgets[4].entries[std::size_t(k)].points[0].x, k);
    // The unknown chunk starts at byte 164: 65372 bytes end at the block's end.
    for (uint32_t junk : {65000u, 65001u, 65002u, 65003u, 65372u, 65373u, 200000u})
    {
        SCOPED_TRACE(junk);
        layout.extraRootChunks = {{std::string(tag::kUnknownVpbi), Bytes(junk, 0xAB)}};
        if (junk > 65536) // a second long one, its tag a known one in lower case
            layout.extraRootChunks.push_back({"mdfdsb01", Bytes(70000, 0xCD)});
        EXPECT_EQ(savedRlf(layout, 0), expected);
    }
}

// Forged counts are checked against the bytes left before anything is
// allocated for them.
TEST(MdfRead, UnreadableFilesAreRefusedWhole)
{
    const std::string kEnd = "unexpected end of file";
    // An array's tag and count, without the elements they announce.
    const auto arrayHead = [](std::string_view tag8, std::size_t count)
    { return head(arrayBody(tag8, std::vector<Element>(count)), 12); };
    // clang-format off
    struct Case { const char* name; std::optional<Bytes> bytes; std::string reason; uint64_t offset; };
    const Case cases[] = {
        {"empty file", Bytes{}, kEnd, 0},
        {"string", head(bankRoot({{.body = stringBody("hello")}}), 44), kEnd, 40},
        {"unknown child past the end", recordBody({{"MDFVPBI0", Bytes(8, 0), 0, 5000}}), kEnd, 20},
        {"huge entry count", join({0xFF, 0xFF, 0xFF, 0xFF}, Bytes(36, 0)), kEnd, 4},
        {"array count beyond the data", recordBody({{"MDFTGDG0", join(arrayHead("MDFTGDG0", 65535), Bytes(16, 0))}}), kEnd, 32},
        {"array count above the limit", recordBody({{"MDFDSB00", arrayHead("MDFDSB00", 65536)}}), "array count 65536 is above 65535", 28},
        {"string of size 0", bankRoot({{.body = stringBody("x"), .declaredSize = 0}}), "string of size 0", 40},
        {"string without NUL", bankRoot({{.body = stringBody("abcdef"), .declaredSize = 3}}), "string without a terminating NUL", 40},
        {"folder (no bytes)", std::nullopt, "not a regular file", 0},
        {"pipe", std::nullopt, "not a regular file", 0}, // with no writer: refused, not waited for
    };
    // clang-format on
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        const bool pipe = std::string_view(c.name) == "pipe";
        const std::string path = pipe ? folder.file("p.mdf") : c.bytes ? folder.write("layout.mdf", *c.bytes) : folder.path();
        ASSERT_TRUE(!pipe || mkfifo(path.c_str(), 0600) == 0);
        resetLargestAllocation();
        const MdfLoadResult result = loadMdf(path);
        EXPECT_LT(largestAllocation(), std::size_t{64 * 1024});
        EXPECT_EQ(result.status, MdfLoadStatus::Unreadable);
        EXPECT_EQ(result.model, nullptr);
        EXPECT_EQ(result.message, "Couldn't read MDF file " + path + ": " + c.reason + " at byte " +
                                      std::to_string(c.offset));
    }

    // One gadget of one flat quad, a hotspot and a rectangle, cut anywhere, is
    // refused where the field, table or body the cut leaves short begins:
    // root, gadget table, gadget directory, list array, the quad's body, the
    // end header; hotspot and rectangle tables, then each of their fields.
    const Bytes quad(kLists.begin() + 8, kLists.begin() + 36);
    const Bytes whole =
        recordBody({{"MDFTGDG0", handGadgets(join(join({0, 0, 0, 0, 1, 0, 0, 0}, quad), {0, 0, 0, 0}))}});
    // clang-format off
    const std::size_t starts[] = {0, 4, 20, 28, 32, 40, 44, 92, 96, 100, 108, 128, 132, 140, 144, 152, 160, 164,
        172, 174, 176, 178, 180, 181, 182, 183, 184, 192, 196, 204, 212, 216, 224, 226, 228, 230, 232, 234, 236, 238};
    // clang-format on
    const TempFolder folder;
    const std::string path = folder.file("cut.mdf");
    for (std::size_t length = 1; length <= whole.size(); ++length)
    {
        ASSERT_TRUE(writeFileBytes(path, head(whole, length)));
        const MdfLoadResult result = loadMdf(path);
        const std::size_t at = *std::prev(std::upper_bound(std::begin(starts), std::end(starts), length));
        const std::string refusal =
            "Couldn't read MDF file " + path + ": " + kEnd + " at byte " + std::to_string(at);
        EXPECT_EQ(result.message, length == whole.size() ? "" : refusal);
        EXPECT_EQ(result.model == nullptr, length < whole.size()) << length;
    }
}
