// Literal-byte checks of the MDF test writer: the engine's tests trust these
// bytes, so every layout is pinned here against hand-written expectations.
#include "MdfWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

using namespace mdfwriter;

namespace
{

Bytes tagBytes(std::string_view tag8)
{
    Bytes out;
    putTag(out, tag8);
    return out;
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        putBytes(out, part);
    return out;
}

uint32_t u32At(const Bytes& bytes, size_t offset)
{
    return static_cast<uint32_t>(bytes.at(offset)) | static_cast<uint32_t>(bytes.at(offset + 1)) << 8 |
           static_cast<uint32_t>(bytes.at(offset + 2)) << 16 |
           static_cast<uint32_t>(bytes.at(offset + 3)) << 24;
}

std::string tagAt(const Bytes& bytes, size_t offset)
{
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                       bytes.begin() + static_cast<std::ptrdiff_t>(offset + 8));
}

// Directory of a record body as (tag, body offset, size), checking that the
// bodies exactly fill the record.
struct Entry
{
    std::string tag;
    size_t offset;
    uint32_t size;
};
std::vector<Entry> directoryOf(const Bytes& record)
{
    const uint32_t count = u32At(record, 0);
    std::vector<Entry> entries;
    size_t bodyOffset = 4 + 16 * size_t{count};
    for (uint32_t i = 0; i < count; ++i)
    {
        const size_t at = 4 + 16 * size_t{i};
        entries.push_back({tagAt(record, at), bodyOffset, u32At(record, at + 12)});
        bodyOffset += entries.back().size;
    }
    EXPECT_EQ(bodyOffset, record.size());
    return entries;
}

Bytes slice(const Bytes& bytes, const Entry& entry)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(entry.offset),
                 bytes.begin() + static_cast<std::ptrdiff_t>(entry.offset + entry.size));
}

} // namespace

TEST(MdfWriterFields, IntegersAreLittleEndianAndTagsEightBytes)
{
    Bytes out;
    put8(out, 0xAB);
    put16(out, 0x1234);
    put32(out, 0x89ABCDEF);
    putTag(out, "MDFDSB00");
    putTag(out, "AB");
    EXPECT_EQ(out, (Bytes{0xAB, 0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89, 'M', 'D', 'F', 'D', 'S',
                          'B',  '0',  '0',  'A',  'B',  0,    0,    0,   0,   0,   0}));
}

TEST(MdfWriterRecord, EmptyRecordIsZeroCountOnly)
{
    EXPECT_EQ(recordBody({}), (Bytes{0, 0, 0, 0}));
}

TEST(MdfWriterRecord, DirectoryPrecedesBodiesInOrder)
{
    const Bytes record = recordBody({
        {"MDFDSB01", {0xA1, 0xA2, 0xA3}, 7, std::nullopt},
        {"MDFVPBI0", {0xB1}, 0, 0x100}, // declared size overrides the real one
    });
    const Bytes expected = concat({
        {2, 0, 0, 0},
        tagBytes("MDFDSB01"),
        {7, 0, 0, 0, 3, 0, 0, 0},
        tagBytes("MDFVPBI0"),
        {0, 0, 0, 0, 0x00, 0x01, 0, 0},
        {0xA1, 0xA2, 0xA3, 0xB1},
    });
    EXPECT_EQ(record, expected);
}

TEST(MdfWriterArray, ElementTablePrecedesBodies)
{
    const Bytes array = arrayBody("MDFLFNT0", {{{1, 2, 3, 4}, 0x11, std::nullopt}, {{5, 6}, 0, 9}});
    const Bytes expected = concat({
        tagBytes("MDFLFNT0"),
        {2, 0, 0, 0},
        {0x11, 0, 0, 0, 4, 0, 0, 0},
        {0, 0, 0, 0, 9, 0, 0, 0},
        {1, 2, 3, 4, 5, 6},
    });
    EXPECT_EQ(array, expected);
}

TEST(MdfWriterArray, EmptyArrayIsTagAndZeroCount)
{
    EXPECT_EQ(arrayOf("MDFTGDG0", {}), concat({tagBytes("MDFTGDG0"), {0, 0, 0, 0}}));
}

TEST(MdfWriterLeaves, StringBodyIsTextNulAndFiller)
{
    EXPECT_EQ(stringBody("AB", 5), (Bytes{0x41, 0x42, 0, 0, 0}));
    EXPECT_EQ(stringBody("AB"), (Bytes{0x41, 0x42, 0}));
    EXPECT_EQ(stringBody(""), (Bytes{0}));
    // A size shorter than the text leaves no NUL: a deliberately bad string.
    EXPECT_EQ(stringBody("ABC", 2), (Bytes{0x41, 0x42}));
}

TEST(MdfWriterLeaves, RectPutsAuxBeforeCorners)
{
    EXPECT_EQ(rectBody(1, -2, 0x0304, 5, {6, 7, 8, -1}),
              (Bytes{6, 0, 7, 0, 8, 0, 0xFF, 0xFF, 1, 0, 0xFE, 0xFF, 0x04, 0x03, 5, 0}));
}

TEST(MdfWriterLeaves, HotspotPutsAuxBeforePositionThenFlagsAndCode)
{
    EXPECT_EQ(hotspotBody(0x0102, -1, 0x0D, 0x42, 3, 4),
              (Bytes{3, 0, 4, 0, 0x02, 0x01, 0xFF, 0xFF, 0x0D, 0x42, 0, 0}));
}

TEST(MdfWriterLeaves, OptionsAndFontEntryHaveFixedLengths)
{
    Bytes options(32, 0);
    options[0] = 0x01;
    options[3] = 0x80;
    EXPECT_EQ(optionsBody(0x80000001), options);
    EXPECT_EQ(fontEntryBody(8, 12), (Bytes{8, 12, 0, 0}));
}

TEST(MdfWriterPrims, BodyLengthsIncludeHeader)
{
    EXPECT_EQ(primBody(Prim{.type = kPrimF4}).size(), 24u);
    EXPECT_EQ(primBody(Prim{.type = kPrimG4}).size(), 36u);
    EXPECT_EQ(primBody(Prim{.type = kPrimFT4}).size(), 28u);
    EXPECT_EQ(primBody(Prim{.type = kPrimGT4}).size(), 40u);
    EXPECT_EQ(primBody(Prim{.type = 9, .mode = 1}), (Bytes{9, 1, 0, 0}));
}

TEST(MdfWriterPrims, FlatPrimUsesFirstColourOnly)
{
    Prim prim{.type = kPrimF4, .mode = 0x0A, .cornerBits = 0xE4, .aux = 0x33};
    prim.vertices = {{{1, 2}, {3, 4}, {5, 6}, {-1, 0x0100}}};
    prim.colours = {{{0x10, 0x20, 0x30, 0x40}, {0x99, 0x99, 0x99, 0x99}}};
    EXPECT_EQ(primBody(prim), (Bytes{5, 0x0A, 0xE4, 0x33, 1,    0,    2,    0,    3,    0,    4,    0,
                                     5, 0,    6,    0,    0xFF, 0xFF, 0x00, 0x01, 0x10, 0x20, 0x30, 0x40}));
}

TEST(MdfWriterPrims, TexturedGouraudPrimPutsTextureFirstAndFourColours)
{
    Prim prim{.type = kPrimGT4, .textureId = 0x0102, .textureAux = 0x0304};
    prim.vertices = {{{1, 2}, {3, 4}, {5, 6}, {7, 8}}};
    prim.colours = {{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}}};
    EXPECT_EQ(primBody(prim),
              (Bytes{8, 0, 0, 0, 0x02, 0x01, 0x04, 0x03, 1, 0, 2, 0, 3, 0,  4,  0,  5,  0,  6,  0,
                     7, 0, 8, 0, 1,    2,    3,    4,    5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
}

TEST(MdfWriterPrims, ListAndSetFraming)
{
    const PrimList empty{.offsetX = -2, .offsetY = 3, .prims = {}, .terminator = 0x000000FF};
    EXPECT_EQ(primListBody(empty), (Bytes{0xFE, 0xFF, 3, 0, 0xFF, 0, 0, 0}));

    const PrimList one{.offsetX = 0, .offsetY = 0, .prims = {Prim{.type = kPrimF4}}, .terminator = 0};
    const Bytes list = primListBody(one);
    ASSERT_EQ(list.size(), 4u + 24u + 4u);
    EXPECT_EQ(list[4], kPrimF4);

    EXPECT_EQ(primSetBody({empty, empty}, 0x55),
              concat({{0x55, 0, 0, 0, 2, 0, 0, 0}, primListBody(empty), primListBody(empty)}));
}

TEST(MdfWriterFile, EmptyLayoutHasFourRootChunksOfEmptyContainers)
{
    const Bytes file = mdfFile(Layout{});
    const std::vector<Entry> root = directoryOf(file);
    ASSERT_EQ(root.size(), 4u);
    EXPECT_EQ(root[0].tag, "MDFDSB00");
    EXPECT_EQ(root[1].tag, "MDFDSB01");
    EXPECT_EQ(root[2].tag, "MDFTGDG0");
    EXPECT_EQ(root[3].tag, "MDFFTAB0");
    EXPECT_EQ(slice(file, root[0]), arrayOf("MDFDSB00", {}));
    EXPECT_EQ(slice(file, root[1]), arrayOf("MDFDSB01", {}));
    EXPECT_EQ(slice(file, root[2]), arrayOf("MDFTGDG0", {}));

    const Bytes fontTable = slice(file, root[3]);
    const std::vector<Entry> fonts = directoryOf(fontTable);
    ASSERT_EQ(fonts.size(), 3u);
    EXPECT_EQ(slice(fontTable, fonts[0]), arrayOf("MDFLFTA0", {}));
    EXPECT_EQ(slice(fontTable, fonts[1]), arrayOf("MDFDSB00", {}));
    EXPECT_EQ(slice(fontTable, fonts[2]), arrayOf("MDFDSB01", {}));
}

TEST(MdfWriterFile, GadgetNamesTablesAndExtraChunksLandWhereExpected)
{
    Gadget gadget{.name = "StartButton",
                  .rects = {{{1, 2, 3, 4}}},
                  .hotspots = {{{10, 20, 0x05, 7}}, {}},
                  .primLists = {PrimList{.offsetX = 5, .offsetY = 6, .prims = {}, .terminator = 0}},
                  .options = 1};
    Layout layout{.gadgets = {gadget},
                  .strings1 = {"Start"},
                  .fonts = {{{8, 9}}},
                  .extraRootChunks = {{"MDFVPBI0", {1, 2, 3}, 0, std::nullopt}}};
    const Bytes file = mdfFile(layout);
    const std::vector<Entry> root = directoryOf(file);
    ASSERT_EQ(root.size(), 5u);
    EXPECT_EQ(root[0].tag, "MDFDSB00");
    EXPECT_EQ(slice(file, root[0]), arrayOf("MDFDSB00", {stringBody("StartButton")}));
    EXPECT_EQ(root[1].tag, "MDFVPBI0");
    EXPECT_EQ(slice(file, root[1]), (Bytes{1, 2, 3}));
    EXPECT_EQ(slice(file, root[2]), arrayOf("MDFDSB01", {stringBody("Start")}));

    const Bytes gadgetRecord = concat({
        {4, 0, 0, 0},
        tagBytes("MDFSVPI0"),
        {0, 0, 0, 0, 16, 0, 0, 0},
        tagBytes("MDFTVHS0"),
        {0, 0, 0, 0, 72, 0, 0, 0},
        tagBytes("MDFTVRE0"),
        {0, 0, 0, 0, 56, 0, 0, 0},
        tagBytes("MDFGPDO0"),
        {0, 0, 0, 0, 32, 0, 0, 0},
        primSetBody(gadget.primLists),
        arrayOf("MDFTVHS0", {arrayOf("MDFVHSP0", {hotspotBody(10, 20, 0x05, 7)}), arrayOf("MDFVHSP0", {})}),
        arrayOf("MDFTVRE0", {arrayOf("MDFVREC0", {rectBody(1, 2, 3, 4)})}),
        optionsBody(1),
    });
    EXPECT_EQ(slice(file, root[3]), arrayOf("MDFTGDG0", {gadgetRecord}));

    const Bytes fontTable = slice(file, root[4]);
    const std::vector<Entry> fonts = directoryOf(fontTable);
    ASSERT_EQ(fonts.size(), 3u);
    EXPECT_EQ(slice(fontTable, fonts[0]), arrayOf("MDFLFTA0", {arrayOf("MDFLFNT0", {fontEntryBody(8, 9)})}));
}

TEST(MdfWriterFile, GadgetWithoutOptionsHasNoOptionsChunk)
{
    const std::vector<Child> children = gadgetChildren(Gadget{.name = "Plain"});
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(children[0].tag, "MDFSVPI0");
    EXPECT_EQ(children[0].body, (Bytes{0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(MdfWriterFile, WriteFileReplacesContentAndFailsCleanly)
{
    const std::filesystem::path dir =
        std::filesystem::path(::testing::TempDir()) / ("mdfwriter_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "out.mdf").string();

    ASSERT_TRUE(writeFile(path, Bytes{1, 2, 3, 4, 5}));
    ASSERT_TRUE(writeFile(path, Bytes{9, 8}));
    std::ifstream in(path, std::ios::binary);
    const Bytes read{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(read, (Bytes{9, 8}));

    EXPECT_FALSE(writeFile((dir / "missing" / "out.mdf").string(), Bytes{1}));
    // Only the one finished file remains: no temporary was left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()),
              1);
    std::filesystem::remove_all(dir);
}
