// The render list as the converter writes it, once byte by byte, and
// rlfinfo's reader refusing damaged copies.
#include "LumarcFiles.h"
#include "RlfReader.h"

#include "AllocationHook.h"

#include <gtest/gtest.h>

// Little-endian for both screens; the console's file is the PC's with every
// y 16 lines lower. Only the first primitive list is drawn, and texture 1 is
// the game's 7.
TEST(RlfFile, PanelForPcAndConsoleByteByByte)
{
    const Bytes pc{
        0x01, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00,                         // 1 gadget, at 8
        0x01, 0x00, 0x02, 0x00, 0x1E, 0x00, 0x26, 0x00,                         // box 1, 2, 30, 38
        0x1C, 0x00, 0x00, 0x00, 0x24, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, // parts at 28, 36, 44
        0x0A, 0x00, 0x14, 0x00, 0x14, 0x00, 0x14, 0x00,                         // child area 10, 20, 20, 20
        0x01, 0x00, 0x02, 0x00, 0x05, 0x00, 0x06, 0x00,                         // hotspot flags 1, 2 at 5, 6
        0x02, 0x00, 0x00, 0x00, 0x38, 0x00, 0x00, 0x00, 0x5C, 0x00, 0x00, 0x00, // 2 entries, at 56, 92
        0x01, 0x02, 0x07, 0x00,                                                 // textured, mode 2, texture 7
        0x01, 0x00, 0x02, 0x00, 0x11, 0x00, 0x02, 0x00, 0x01, 0x00, 0x12, 0x00, 0x11, 0x00, 0x12, 0x00,
        0x30, 0x20, 0x10, 0x00, 0x30, 0x20, 0x10, 0x00, 0x30, 0x20, 0x10, 0x00, 0x30, 0x20, 0x10, 0x00,
        0x00, 0x01, 0xFF, 0xFF, // untextured, mode 1, no texture
        0x15, 0x00, 0x02, 0x00, 0x1F, 0x00, 0x02, 0x00, 0x15, 0x00, 0x0C, 0x00, 0x1F, 0x00, 0x0C, 0x00,
        0x33, 0x22, 0x11, 0x00, 0x66, 0x55, 0x44, 0x00, 0x99, 0x88, 0x77, 0x00, 0xCC, 0xBB, 0xAA, 0x00};
    Bytes psx = pc;
    for (std::size_t y : {10, 30, 42, 62, 66, 70, 74, 98, 102, 106, 110})
        psx.at(y) += 16;
    for (const auto& [yOffset, expected] : {std::pair{0, pc}, std::pair{kPsxYOffset, psx}})
    {
        SCOPED_TRACE(yOffset);
        int64_t reported = 0;
        EXPECT_EQ(savedRlf(panelLayout(), yOffset, &reported), expected);
        EXPECT_EQ(reported, 128);
    }
}

// A part a gadget lacks takes no bytes and has offset 0, so the next part
// starts where the previous one ends; a gadget with nothing keeps the box it
// starts from.
TEST(RlfFile, MissingPartsTakeNoBytes)
{
    using namespace mdfwriter;
    const Layout layout{
        .gadgets = {Gadget{.name = "Empty"},
                    Gadget{.name = "Points", .hotspots = {{Hotspot{100, 90}}, {Hotspot{120, 95}}}},
                    Gadget{.name = "Quad", .primLists = {PrimList{5, 5, {Prim{.type = kPrimF4}}}}}}};
    const rlfinfo::ReadResult read = rlfinfo::readRlf(savedRlf(layout, 0));
    ASSERT_FALSE(read.damage) << read.damage->what;
    EXPECT_EQ(read.contents.fileSize, 136u);
    ASSERT_EQ(read.contents.gadgets.size(), 3u);
    using Parts = std::array<uint32_t, 4>; // the gadget's offset and those of its three parts
    const Parts parts[] = {{16, 0, 0, 0}, {36, 0, 56, 0}, {72, 0, 0, 92}};
    const rlfinfo::Area boxes[] = {{640, 480, -640, -480}, {100, 90, 20, 5}, {5, 5, 0, 0}};
    for (std::size_t i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(i);
        const rlfinfo::Gadget& g = read.contents.gadgets[i];
        EXPECT_EQ((Parts{g.offset, g.childAreasOffset, g.hotspotsOffset, g.renderListOffset}), parts[i]);
        EXPECT_TRUE(g.box == boxes[i]) << g.box.x << " " << g.box.y << " " << g.box.w << " " << g.box.h;
    }
    EXPECT_EQ(read.contents.gadgets[1].hotspots.at(1).x, 120);
}

// Every cut is damage at or before the cut; forged fields are named where
// they are, and a forged count allocates nothing near what it asks for.
TEST(RlfDamage, DamagedCopiesAreRefusedAtTheField)
{
    const Bytes good = savedRlf(panelLayout(), 0);
    ASSERT_FALSE(rlfinfo::readRlf(good).damage);
    for (std::size_t length = 0; length < good.size(); ++length)
    {
        const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
        const rlfinfo::ReadResult read = rlfinfo::readRlf(cut);
        ASSERT_TRUE(read.damage) << "length " << length;
        EXPECT_LE(read.damage->offset, length) << read.damage->what;
        EXPECT_TRUE(read.contents.gadgets.empty());
    }
    struct Case
    {
        const char* name;
        std::size_t at;
        uint64_t value;
        int width;
        uint64_t offset;
        std::string what;
    };
    const Case cases[] = {
        {"gadget count", 0, 0x01000000, 4, 0,
         "gadget count 16777216 needs at least 402653188 bytes, the file has 128"},
        {"gadget offset", 4, 12, 4, 4, "gadget 0 offset is 12, the layout puts it at 8"},
        {"render list count", 44, 3, 4, 44,
         "gadget 0 render list count 3 needs 124 bytes from byte 44, the file has 128"},
        {"entry kind", 56, 2, 1, 56, "gadget 0 entry 0 has unknown kind 2"},
        {"bytes after the last gadget", 128, 0, 8, 128, "but 8 more bytes follow"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Bytes bad = good;
        bad.resize(std::max(bad.size(), c.at + static_cast<std::size_t>(c.width)));
        patchLittleEndian(bad, c.at, c.value, c.width);
        resetLargestAllocation();
        const rlfinfo::ReadResult read = rlfinfo::readRlf(bad);
        EXPECT_LT(largestAllocation(), std::size_t{4096});
        ASSERT_TRUE(read.damage);
        EXPECT_EQ(read.damage->offset, c.offset);
        EXPECT_NE(read.damage->what.find(c.what), std::string::npos) << read.damage->what;
    }
}
