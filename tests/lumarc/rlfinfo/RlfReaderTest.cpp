// The reader against files made by the real converter and writer: what it
// reads must be what the converter placed, for the PC and the console.
#include "RlfReader.h"
#include "BinaryOutStream.h"
#include "RlfTestFiles.h"

#include <gtest/gtest.h>

#include <random>

using namespace mdfwriter;

namespace
{

// Layouts with every mix of parts: gadgets without anything, with only one
// kind of part, with all of them; coordinates mostly on screen, sometimes
// anywhere in 16 bits so that far edges and boxes wrap.
Layout generatedLayout(uint32_t seed)
{
    std::mt19937 random(seed);
    const auto pick = [&](int low, int high)
    { return std::uniform_int_distribution<int>(low, high)(random); };
    const auto coordinate = [&]
    { return static_cast<int16_t>(pick(0, 6) == 0 ? pick(-32768, 32767) : pick(-50, 700)); };
    Layout layout;
    for (int g = pick(0, 4); g > 0; --g)
    {
        Gadget& gadget = layout.gadgets.emplace_back();
        gadget.name = std::string("G").append(std::to_string(g));
        for (int r = pick(0, 3); r > 0; --r)
            gadget.rects.push_back({Rect{coordinate(), coordinate(), coordinate(), coordinate()}});
        for (int h = pick(0, 3); h > 0; --h)
            gadget.hotspots.push_back(
                {Hotspot{coordinate(), coordinate(), static_cast<uint8_t>(pick(0, 255))}});
        PrimList list{coordinate(), coordinate(), {}};
        for (int p = pick(0, 3); p > 0; --p)
        {
            Prim prim = quadAt(static_cast<uint8_t>(pick(kPrimF4, kPrimGT4)), coordinate(), coordinate(),
                               static_cast<uint16_t>(pick(0, 7)), static_cast<uint8_t>(pick(0, 255)));
            prim.colours[0] =
                Colour{static_cast<uint8_t>(pick(0, 255)), static_cast<uint8_t>(seed), 0xFF, 0x55};
            list.prims.push_back(prim);
        }
        gadget.primLists.push_back(list);
    }
    return layout;
}

// Compares everything read with the converter's model after its layout
// pass, and the offsets with the sizes the model reports.
void expectSameAsModel(const rlfinfo::Contents& read, const RlfFile& model)
{
    ASSERT_EQ(read.gadgets.size(), model.gadgets.count());
    EXPECT_EQ(read.fileSize, static_cast<uint64_t>(model.size()));
    EXPECT_EQ(read.byteOrder, rlfinfo::ByteOrder::LittleEndian);
    uint64_t offset = 4 + 4 * read.gadgets.size();
    uint64_t offsetFields = read.gadgets.size();
    auto actual = read.gadgets.begin();
    for (const RlfGadget& expected : model.gadgets)
    {
        SCOPED_TRACE(testing::Message() << "gadget at " << offset);
        EXPECT_EQ(actual->offset, offset);
        EXPECT_EQ(actual->box, (rlfinfo::Area{expected.x, expected.y, expected.w, expected.h}));
        ASSERT_EQ(actual->childAreas.size(), expected.childAreas.count());
        auto area = actual->childAreas.begin();
        for (const RlfRect& rect : expected.childAreas)
            EXPECT_EQ(*area++, (rlfinfo::Area{rect.x, rect.y, rect.w, rect.h}));
        ASSERT_EQ(actual->hotspots.size(), expected.hotspots.count());
        auto hotspot = actual->hotspots.begin();
        for (const RlfHotspot& h : expected.hotspots)
        {
            EXPECT_EQ((std::array{hotspot->flagsA, hotspot->flagsB, hotspot->x, hotspot->y}),
                      (std::array{h.flagsA, h.flagsB, h.x, h.y}));
            ++hotspot;
        }
        ASSERT_EQ(actual->entries.size(), expected.renderList.entries.count());
        auto entry = actual->entries.begin();
        for (const RlfRenderEntry& e : expected.renderList.entries)
        {
            EXPECT_EQ(static_cast<int>(entry->kind), static_cast<int>(e.kind));
            EXPECT_EQ(entry->modeLow, e.modeLow);
            EXPECT_EQ(entry->textureId, e.textureId);
            for (std::size_t k = 0; k < 4; ++k)
            {
                EXPECT_EQ(entry->points[k].x, e.points[k].x);
                EXPECT_EQ(entry->points[k].y, e.points[k].y);
            }
            EXPECT_EQ(entry->colours, e.colours);
            ++entry;
        }
        offset += static_cast<uint64_t>(expected.size());
        offsetFields += 3 + expected.renderList.entries.count();
        ++actual;
    }
    EXPECT_EQ(read.offsetsChecked, offsetFields);
}

} // namespace

TEST(RlfReader, ReadsWhatTheConverterPlacedForPcAndConsole)
{
    for (const int yOffset : {0, kPsxYOffset})
        for (uint32_t seed = 1; seed <= 25; ++seed)
        {
            SCOPED_TRACE(testing::Message() << "y offset " << yOffset << ", seed " << seed);
            const Layout layout = generatedLayout(seed);
            const Bytes file = savedRlf(layout, yOffset);
            const rlfinfo::ReadResult read = rlfinfo::readRlf(file);
            ASSERT_FALSE(read.damage) << read.damage->what << " at " << read.damage->offset;

            TempFolder folder;
            const auto model = loadLayout(folder, layout);
            ASSERT_TRUE(model);
            const auto rlf = buildRlf(*model, yOffset);
            rlf->layout();
            expectSameAsModel(read.contents, *rlf);
        }
}

TEST(RlfReader, ConsoleFileIsThePcFileWithEveryY16Lower)
{
    Gadget gadget{.name = "Panel",
                  .rects = {{Rect{20, 10, 300, 60}}},
                  .hotspots = {{Hotspot{40, 30, 0x09}}},
                  .primLists = {PrimList{4, -2, {quadAt(kPrimGT4, 60, 10, 2), quadAt(kPrimF4, 0, 0)}}}};
    const rlfinfo::ReadResult pc = rlfinfo::readRlf(savedRlf(Layout{{gadget}}, 0));
    const rlfinfo::ReadResult psx = rlfinfo::readRlf(savedRlf(Layout{{gadget}}, kPsxYOffset));
    ASSERT_FALSE(pc.damage);
    ASSERT_FALSE(psx.damage);
    const rlfinfo::Gadget& a = pc.contents.gadgets.at(0);
    const rlfinfo::Gadget& b = psx.contents.gadgets.at(0);

    // The layout's own values: corner and extent, flag codes from bits 2-3
    // and 0-1, entries moved by the list's offset, textures renumbered.
    EXPECT_EQ(a.childAreas.at(0), (rlfinfo::Area{20, 10, 280, 50}));
    EXPECT_EQ(b.childAreas.at(0), (rlfinfo::Area{20, 26, 280, 50}));
    EXPECT_EQ((std::array{b.hotspots.at(0).flagsA, b.hotspots[0].flagsB, b.hotspots[0].x, b.hotspots[0].y}),
              (std::array<int16_t, 4>{2, 1, 40, 46}));
    EXPECT_EQ(a.box, (rlfinfo::Area{4, -2, 296, 62}));
    EXPECT_EQ(b.box, (rlfinfo::Area{4, 14, 296, 62}));
    ASSERT_EQ(b.entries.size(), 2u);
    EXPECT_EQ(b.entries[0].kind, rlfinfo::EntryKind::Textured);
    EXPECT_EQ(b.entries[0].textureId, 3);
    EXPECT_EQ(b.entries[0].modeLow, 2);
    EXPECT_EQ(b.entries[1].kind, rlfinfo::EntryKind::Untextured);
    EXPECT_EQ(b.entries[1].textureId, -1);
    EXPECT_EQ(b.entries[1].colours, (std::array<uint32_t, 4>{0x102030, 0x102030, 0x102030, 0x102030}));
    for (std::size_t e = 0; e < 2; ++e)
        for (std::size_t k = 0; k < 4; ++k)
        {
            EXPECT_EQ(b.entries[e].points[k].x, a.entries[e].points[k].x);
            EXPECT_EQ(b.entries[e].points[k].y, a.entries[e].points[k].y + 16);
        }
    EXPECT_EQ(a.entries[0].points[0].x, 64);
    EXPECT_EQ(a.entries[0].points[0].y, 8);
    // Same layout, same offsets.
    EXPECT_EQ(pc.contents.fileSize, psx.contents.fileSize);
    EXPECT_EQ(a.renderListOffset, b.renderListOffset);
    EXPECT_EQ(a.entries[1].offset, b.entries[1].offset);
}

TEST(RlfReader, BigEndianFileIsRecognisedAndReadTheSame)
{
    Layout layout;
    for (uint32_t seed = 1; seed <= 4; ++seed)
        for (const Gadget& gadget : generatedLayout(seed).gadgets)
            layout.gadgets.push_back(gadget);
    ASSERT_GE(layout.gadgets.size(), 4u);
    TempFolder folder;
    const auto model = loadLayout(folder, layout);
    ASSERT_TRUE(model);
    const auto rlf = buildRlf(*model, 0);
    rlf->layout();
    const std::string path = folder.file("big.rlf");
    BinaryOutStream stream;
    ASSERT_TRUE(stream.open(path, "wb", false));
    ASSERT_TRUE(rlf->write(stream));
    ASSERT_TRUE(stream.close());

    const rlfinfo::ReadResult big = rlfinfo::readRlf(readBytes(path));
    const rlfinfo::ReadResult little = rlfinfo::readRlf(savedRlf(layout));
    ASSERT_FALSE(big.damage) << big.damage->what;
    ASSERT_FALSE(little.damage);
    EXPECT_EQ(big.contents.byteOrder, rlfinfo::ByteOrder::BigEndian);
    rlfinfo::Contents asLittle = big.contents;
    asLittle.byteOrder = rlfinfo::ByteOrder::LittleEndian;
    expectSameAsModel(asLittle, *rlf);
}

TEST(RlfReader, FileWithoutGadgetsIsFourZeroBytes)
{
    const rlfinfo::ReadResult read = rlfinfo::readRlf(savedRlf(Layout{}));
    ASSERT_FALSE(read.damage);
    EXPECT_EQ(read.contents.fileSize, 4u);
    EXPECT_TRUE(read.contents.gadgets.empty());
}
