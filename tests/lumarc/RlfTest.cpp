// The render list as the converter writes it, and rlfinfo's reader refusing
// damaged copies.
#include "LumarcFiles.h"
#include "RlfReader.h"

#include "AllocationHook.h"

#include <gtest/gtest.h>

#include <algorithm>

// Every family at once, little-endian for both screens. A part a gadget
// lacks takes no bytes and has offset 0; a box reaches the far edges of child
// areas and every point; textured quads carry the game's texture number,
// others -1. One record of each kind byte by byte, then the values of the
// rest. The console's file is the PC's with every y 16 lines lower.
TEST(RlfFile, EveryFamilyConverted)
{
    const Bytes file = savedRlf(familyLayout(), 0);
    const auto at = [&](std::size_t from, std::size_t n)
    { return Bytes(file.begin() + std::ptrdiff_t(from), file.begin() + std::ptrdiff_t(from + n)); };
    // clang-format off
    EXPECT_EQ(at(0, 20), (Bytes{4, 0, 0, 0, 20, 0, 0, 0, 0xBC, 1, 0, 0, 0xF0, 1, 0, 0, 0x0C, 2, 0, 0}));
    EXPECT_EQ(at(40, 8), (Bytes{10, 0, 20, 0, 20, 0, 20, 0})); // child area 10, 20, 20 x 20
    EXPECT_EQ(at(64, 8), (Bytes{3, 0, 2, 0, 7, 0, 8, 0}));     // hotspot flags 3, 2 at 7, 8
    EXPECT_EQ(at(80, 8), (Bytes{9, 0, 0, 0, 120, 0, 0, 0}));   // 9 entries, the first at 120
    EXPECT_EQ(at(120, 36), (Bytes{0, 5, 0xFF, 0xFF, 0, 0, 40, 0, 20, 0, 40, 0, 0, 0, 60, 0, 20, 0, 60, 0,
                                  0x56, 0x34, 0x12, 0, 0x56, 0x34, 0x12, 0, 0x56, 0x34, 0x12, 0, 0x56, 0x34, 0x12, 0}));
    EXPECT_EQ(at(228, 36), (Bytes{1, 4, 7, 0, 30, 0, 20, 0, 34, 0, 20, 0, 30, 0, 24, 0, 34, 0, 24, 0,
                                  0x30, 0x20, 0x33, 0, 0x60, 0x33, 0x40, 0, 0x33, 0x80, 0x70, 0, 0x33, 0xB0, 0xA0, 0}));
    Bytes psx = file; // y of boxes but the empty one, areas, hotspots, and the 9 entries' points from 126
    for (std::size_t y : {22, 42, 50, 58, 70, 78, 446, 470, 478, 486, 494, 498, 518, 126, 130, 134, 138})
        for (std::size_t entry = 0; entry < (y < 120 || y > 400 ? 1 : 9); ++entry)
            patchLittleEndian(psx, y + 36 * entry, littleEndianAt(psx, y + 36 * entry, 2) + 16, 2);
    EXPECT_EQ(savedRlf(familyLayout(), kPsxYOffset), psx);
    const rlfinfo::ReadResult read = rlfinfo::readRlf(file);
    ASSERT_FALSE(read.damage) << read.damage->what;
    ASSERT_EQ(read.contents.gadgets.size(), 4u);
    EXPECT_EQ(read.contents.fileSize, 544u);
    using Four = std::array<int, 4>; // offsets of a gadget and its parts, a box, a record
    const auto four = [](const auto& r) { return Four{r.x, r.y, r.w, r.h}; };
    const auto spot = [](const rlfinfo::Hotspot& h) { return Four{h.flagsA, h.flagsB, h.x, h.y}; };
    const auto parts = [](const rlfinfo::Gadget& x) {
        return Four{int(x.offset), int(x.childAreasOffset), int(x.hotspotsOffset), int(x.renderListOffset)};
    };
    const auto& g = read.contents.gadgets;
    EXPECT_EQ((std::vector<Four>{parts(g[0]), parts(g[1]), parts(g[2]), parts(g[3]), four(g[0].box), four(g[1].box),
                                 four(g[2].box), four(g[3].box), four(g[0].childAreas.at(1)), four(g[0].childAreas.at(2)),
                                 four(g[2].childAreas.at(0)), spot(g[0].hotspots.at(1)), spot(g[1].hotspots.at(0)),
                                 spot(g[1].hotspots.at(1)), spot(g[1].hotspots.at(2)), spot(g[1].hotspots.at(3))}),
              (std::vector<Four>{{20, 40, 64, 80}, {444, 0, 464, 0}, {496, 516, 0, 0}, {524, 0, 0, 0},
                                 {-5, -10, 695, 480}, {-50, 4, 170, 496}, {1, 1, 1, 1}, {640, 480, -640, -480},
                                 {-5, 100, 10, -10}, {600, 400, 50, 70}, {1, 1, 1, 1},
                                 {0, 1, -3, 300}, {1, 1, 100, 90}, {2, 2, 120, 95}, {3, 3, -50, 500}, {0, 0, 3, 4}}));
    // kind, modeLow, texture id, the last point, the last colour
    const std::vector<std::array<int, 6>> entries{{0, 5, -1, 20, 60, 0x123456}, {0, 2, -1, 14, 24, 0xA0B011},
        {1, 3, 0, 24, 24, 0x222030}, {1, 4, 7, 34, 24, 0xA0B033}, {1, 6, 3, 44, 24, 0x442030}, {1, 7, 4, 54, 24, 0xA0B055},
        {1, 0, 5, 64, 24, 0x662030}, {1, 1, 6, 690, -10, 0xA0B066}, {1, 1, -1, 74, 24, 0x772030}};
    // clang-format on
    std::vector<std::array<int, 6>> converted;
    for (const rlfinfo::Entry& e : g[0].entries)
        converted.push_back(
            {int(e.kind), e.modeLow, e.textureId, e.points[3].x, e.points[3].y, int(e.colours[3])});
    EXPECT_EQ(converted, entries);
}

// Every cut is damage at the field it cuts short; forged fields are named where
// they are, and a forged count allocates nothing near what it asks for.
TEST(RlfDamage, DamagedCopiesAreRefusedAtTheField)
{
    const Bytes good = savedRlf(panelLayout(), 0);
    ASSERT_FALSE(rlfinfo::readRlf(good).damage);
    // A cut is refused at the first field it leaves short: the count, the
    // offset table and gadget header the count asks for, the render list's
    // offset, then its count with its offsets and entries.
    // clang-format off
    struct Cut { std::size_t from; uint64_t offset; std::string what; };
    const Cut cuts[] = {{0, 0, "the file ends inside the gadget count"}, {4, 0, "gadget count 1 needs at least 28 bytes, the file has "},
                        {28, 24, "gadget 0 render list offset 44 is past the end of the file ("},
                        {48, 44, "gadget 0 render list count 2 needs 84 bytes from byte 44, the file has "}};
    // clang-format on
    for (std::size_t length = 0; length < good.size(); ++length)
    {
        const Cut& cut =
            *std::find_if(std::rbegin(cuts), std::rend(cuts), [&](const Cut& c) { return c.from <= length; });
        const rlfinfo::ReadResult read =
            rlfinfo::readRlf(Bytes(good.begin(), good.begin() + std::ptrdiff_t(length)));
        ASSERT_TRUE(read.damage) << "length " << length;
        EXPECT_EQ(read.damage->offset, cut.offset) << length;
        EXPECT_EQ(read.damage->what.rfind(cut.what, 0), 0u) << length << ": " << read.damage->what;
        EXPECT_TRUE(read.contents.gadgets.empty());
    }
    // clang-format off
    struct Case { const char* name; std::size_t at; uint64_t value; int width; uint64_t offset; std::string what; };
    const Case cases[] = {
        {"gadget count", 0, 0x01000000, 4, 0, "gadget count 16777216 needs at least 402653188 bytes, the file has 128"},
        {"gadget offset", 4, 12, 4, 4, "gadget 0 offset is 12, the layout puts it at 8"},
        {"render list count", 44, 3, 4, 44, "gadget 0 render list count 3 needs 124 bytes from byte 44, the file has 128"},
        {"entry kind", 56, 2, 1, 56, "gadget 0 entry 0 has unknown kind 2"},
        {"bytes after the last gadget", 128, 0, 8, 128, "but 8 more bytes follow"},
    };
    // clang-format on
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
