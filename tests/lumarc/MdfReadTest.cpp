// The MDF reader: layouts made by the test writer read back field by field,
// and files it must refuse whole, with the reason and the byte where the bad
// field starts.
#include "AllocationHook.h"
#include "LumarcFiles.h"

#include <gtest/gtest.h>

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

// The tag and count of an array, without the elements they announce.
Bytes arrayHead(std::string_view tag8, uint32_t count)
{
    Bytes out;
    putTag(out, tag8);
    put32(out, count);
    return out;
}

} // namespace

// The writer's record, array and string framing, which every other input
// of these tests relies on.
TEST(MdfWriter, RecordOfOneArrayOfOnePaddedString)
{
    const Bytes expected{1, 0,  0, 0, 'M', 'D', 'F', 'D', 'S', 'B', '0', '0', 0,   0, 0,
                         0, 24, 0, 0, 0,   'M', 'D', 'F', 'D', 'S', 'B', '0', '0', 1, 0,
                         0, 0,  0, 0, 0,   0,   4,   0,   0,   0,   'a', 'b', 0,   0};
    EXPECT_EQ(bankRoot({{.body = stringBody("ab", 4)}}), expected);
}

// Members come in any order; the filler after a name's NUL is passed over.
// Hotspot flags: bits 2-3 and 0-1. The options flag is bit 0 of its word, 1
// without options; the primitive count is that of the first list.
TEST(MdfRead, LayoutReadsBackAsWritten)
{
    Gadget first{.name = "",
                 .rects = {{Rect{1, -2, 3, 4}}, {}},
                 .hotspots = {{Hotspot{300, -400, 0xF6, 0x55}}},
                 .primLists = {PrimList{0, 0, {Prim{}, Prim{.type = kPrimGT4}}}, PrimList{0, 0, {Prim{}}}},
                 .options = 0xFFFFFFFE};
    std::vector<Child> children =
        rootChildren(Layout{.gadgets = {first, Gadget{}}, .strings1 = {"help"}, .fonts = {{{1, 2}, {3, 4}}}});
    children[0].body = arrayOf(tag::kStringBank0, {stringBody("Pad", 12), stringBody("Spare")});
    std::swap(children.front(), children.back());
    const TempFolder folder;
    const MdfLoadResult loaded = loadMdf(folder.write("layout.mdf", recordBody(children)));
    ASSERT_TRUE(loaded.model) << loaded.message;
    const MdfRoot& root = *loaded.model;
    ASSERT_EQ(root.gadgets.count(), 2);
    EXPECT_EQ(root.gadgetName(0), "Pad");
    EXPECT_EQ(root.gadgetName(1), "Spare");
    EXPECT_EQ(root.stringBank1.textAt(0), "help");
    const MdfGadget& g = root.gadgets.at(0);
    ASSERT_EQ(g.rects.count(), 2);
    ASSERT_EQ(g.rects.at(0).count(), 1);
    const MdfRect& r = g.rects.at(0).at(0);
    EXPECT_EQ((std::vector<float>{r.left, r.top, r.right, r.bottom}), (std::vector<float>{1, -2, 3, 4}));
    ASSERT_EQ(g.hotspots.count(), 1);
    const MdfHotspot& h = g.hotspots.at(0).at(0);
    EXPECT_EQ((std::vector<float>{h.posX, h.posY}), (std::vector<float>{300, -400}));
    EXPECT_EQ((std::vector<int>{h.flagsA, h.flagsB, h.code}), (std::vector<int>{1, 2, 0x55}));
    EXPECT_EQ((std::vector<uint32_t>{g.options.flag, root.gadgets.at(1).options.flag}),
              (std::vector<uint32_t>{0, 1}));
    EXPECT_EQ(g.primitiveCount(), 2u);
    ASSERT_EQ(root.fontTable.fonts.count(), 1);
    ASSERT_EQ(root.fontTable.fonts.at(0).count(), 2);
    EXPECT_EQ(root.fontTable.fonts.at(0).at(1).value1, 4);
}

// Forged counts are checked against the bytes left before anything is
// allocated for them.
TEST(MdfRead, UnreadableFilesAreRefusedWhole)
{
    const std::string kEnd = "unexpected end of file";
    struct Case
    {
        const char* name;
        std::optional<Bytes> bytes; // none: a folder
        std::string reason;
        uint64_t offset;
    };
    const Case cases[] = {
        {"empty file", Bytes{}, kEnd, 0},
        {"directory shorter than its count", head(bankRoot({{.body = stringBody("a")}}), 16), kEnd, 4},
        {"element table", head(bankRoot({{.body = stringBody("a")}, {.body = stringBody("b")}}), 40), kEnd,
         32},
        {"string", head(bankRoot({{.body = stringBody("hello")}}), 44), kEnd, 40},
        {"unknown child past the end", recordBody({{"MDFVPBI0", Bytes(8, 0), 0, 5000}}), kEnd, 20},
        {"huge entry count", join({0xFF, 0xFF, 0xFF, 0xFF}, Bytes(36, 0)), kEnd, 4},
        {"array count beyond the data",
         recordBody({{"MDFTGDG0", join(arrayHead("MDFTGDG0", 65535), Bytes(16, 0))}}), kEnd, 32},
        {"array count above the limit", recordBody({{"MDFDSB00", arrayHead("MDFDSB00", 65536)}}),
         "array count 65536 is above 65535", 28},
        {"string of size 0", bankRoot({{.body = stringBody("x"), .declaredSize = 0}}), "string of size 0",
         40},
        {"string without NUL", bankRoot({{.body = stringBody("abcdef"), .declaredSize = 3}}),
         "string without a terminating NUL", 40},
        {"folder", std::nullopt, "not a regular file", 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        const std::string path = c.bytes ? folder.write("layout.mdf", *c.bytes) : folder.path();
        resetLargestAllocation();
        const MdfLoadResult result = loadMdf(path);
        EXPECT_LT(largestAllocation(), std::size_t{64 * 1024});
        EXPECT_EQ(result.status, MdfLoadStatus::Unreadable);
        EXPECT_EQ(result.model, nullptr);
        EXPECT_EQ(result.message, "Couldn't read MDF file " + path + ": " + c.reason + " at byte " +
                                      std::to_string(c.offset));
    }

    const Bytes whole = mdfFile(panelLayout());
    const TempFolder folder;
    const std::string path = folder.file("cut.mdf");
    const std::string prefix = "Couldn't read MDF file " + path + ": " + kEnd + " at byte ";
    for (std::size_t length = 1; length < whole.size(); ++length)
    {
        SCOPED_TRACE(length);
        ASSERT_TRUE(writeFileBytes(path, head(whole, length)));
        const MdfLoadResult result = loadMdf(path);
        ASSERT_EQ(result.message.rfind(prefix, 0), 0u) << result.message;
        EXPECT_LE(std::stoull(result.message.substr(prefix.size())), length);
        EXPECT_EQ(result.model, nullptr);
    }
}
