// Damaged copies of a good file: every truncation and every forged count,
// offset, kind or box is reported at the field where it stops making sense,
// without reading or allocating beyond what the file holds.
#include "BytePatch.h"
#include "LargestAllocation.h"
#include "RlfReader.h"
#include "RlfTestFiles.h"

#include <gtest/gtest.h>

#include <functional>

using namespace mdfwriter;

namespace
{

// Three gadgets: one with every part, one with hotspots only (its records
// end where the next gadget starts), one with only entries.
Layout damageLayout()
{
    Gadget full{.name = "Full",
                .rects = {{Rect{10, 10, 50, 40}}},
                .hotspots = {{Hotspot{12, 14, 0x06}}},
                .primLists = {PrimList{0, 0, {quadAt(kPrimFT4, 20, 20, 1)}}}};
    Gadget pointsOnly{.name = "Points", .hotspots = {{Hotspot{100, 90}}, {Hotspot{120, 95}}}};
    Gadget quadsOnly{.name = "Quads",
                     .primLists = {PrimList{5, 5, {quadAt(kPrimG4, 0, 0), quadAt(kPrimF4, 30, 0)}}}};
    return Layout{{full, pointsOnly, quadsOnly}};
}

struct Corruption
{
    const char* name;
    // Changes the good file; `good` is what the reader made of it.
    std::function<void(Bytes&, const rlfinfo::Contents& good)> apply;
    std::function<uint64_t(const rlfinfo::Contents& good)> offset;
    const char* message; // a part of the expected text
};

using C = const rlfinfo::Contents&;

const std::vector<Corruption> kCorruptions{
    {"gadget count the file cannot hold", [](Bytes& b, C) { patchLittleEndian(b, 0, 0x01000000, 4); },
     [](C) { return 0; }, "gadget count 16777216 needs at least 402653188 bytes, the file has "},
    {"gadget offset", [](Bytes& b, C g) { patchLittleEndian(b, 8, g.gadgets[1].offset + 8, 4); },
     [](C) { return 8; }, "gadget 1 offset is 104, the layout puts it at 96"},
    {"child areas offset", [](Bytes& b, C g) { patchLittleEndian(b, g.gadgets[0].offset + 8, 40, 4); },
     [](C g) { return g.gadgets[0].offset + 8; },
     "gadget 0 child areas offset is 40, the layout puts them at 36"},
    {"hotspots offset inside a child area",
     [](Bytes& b, C g)
     { patchLittleEndian(b, g.gadgets[0].offset + 12, g.gadgets[0].hotspotsOffset + 4, 4); },
     [](C g) { return g.gadgets[0].offset + 12; }, "gadget 0 hotspots offset is 48"},
    {"hotspots offset of a gadget without child areas",
     [](Bytes& b, C g) { patchLittleEndian(b, g.gadgets[1].offset + 12, g.gadgets[1].offset + 28, 4); },
     [](C g) { return g.gadgets[1].offset + 12; }, "without child areas the layout puts them at 116"},
    {"render list offset",
     [](Bytes& b, C g)
     { patchLittleEndian(b, g.gadgets[0].offset + 16, g.gadgets[0].renderListOffset + 4, 4); },
     [](C g) { return g.gadgets[0].offset + 16; }, "gadget 0 render list offset is 56"},
    {"render list offset past the end",
     [](Bytes& b, C g) { patchLittleEndian(b, g.gadgets[0].offset + 16, 0x10000024, 4); },
     [](C g) { return g.gadgets[0].offset + 16; },
     "render list offset 268435492 is past the end of the file"},
    {"render list of no entries",
     [](Bytes& b, C g) { patchLittleEndian(b, g.gadgets[0].renderListOffset, 0, 4); },
     [](C g) { return g.gadgets[0].renderListOffset; }, "gadget 0 render list count is 0"},
    {"entry count the file cannot hold",
     [](Bytes& b, C g) { patchLittleEndian(b, g.gadgets[2].renderListOffset, 3, 4); },
     [](C g) { return g.gadgets[2].renderListOffset; }, "gadget 2 render list count 3 needs 124 bytes"},
    {"entry offset",
     [](Bytes& b, C g)
     { patchLittleEndian(b, g.gadgets[2].renderListOffset + 8, g.gadgets[2].entries[1].offset + 1, 4); },
     [](C g) { return g.gadgets[2].renderListOffset + 8; }, "gadget 2 entry 1 offset is"},
    {"unknown entry kind", [](Bytes& b, C g) { patchLittleEndian(b, g.gadgets[2].entries[1].offset, 2, 1); },
     [](C g) { return g.gadgets[2].entries[1].offset; }, "gadget 2 entry 1 has unknown kind 2"},
    {"colour with its top byte set",
     [](Bytes& b, C g) { patchLittleEndian(b, g.gadgets[2].entries[0].offset + 27, 1, 1); },
     [](C g) { return g.gadgets[2].entries[0].offset + 24; },
     "colour word 0x1405060 with its unused top byte"},
    {"box", [](Bytes& b, C g) { patchLittleEndian(b, g.gadgets[1].offset + 6, 7, 2); },
     [](C g) { return g.gadgets[1].offset; }, "gadget 1 box is 100 90 20 7, its contents give 100 90 20 5"},
    {"next gadget cutting a record",
     [](Bytes& b, C g) { patchLittleEndian(b, 12, g.gadgets[2].offset + 4, 4); }, [](C) { return 12; },
     "gadget 2 offset is 136, which cuts gadget 1's records"},
    {"next gadget past the end", [](Bytes& b, C) { patchLittleEndian(b, 12, 5000, 4); }, [](C) { return 12; },
     "gadget 2 offset 5000 is past the end of the file (236 bytes)"},
    {"bytes after the last gadget", [](Bytes& b, C) { b.insert(b.end(), 8, 0); },
     [](C g) { return g.fileSize; }, "but 8 more bytes follow"},
};

} // namespace

TEST(RlfDamage, EveryTruncationIsReportedAtOrBeforeTheCut)
{
    const Bytes good = savedRlf(damageLayout());
    ASSERT_FALSE(rlfinfo::readRlf(good).damage);
    for (std::size_t length = 0; length < good.size(); ++length)
    {
        // A copy of exactly `length` bytes, so that a read past it is seen
        // by the sanitizers.
        const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
        const rlfinfo::ReadResult read = rlfinfo::readRlf(cut);
        ASSERT_TRUE(read.damage) << "length " << length;
        EXPECT_LE(read.damage->offset, length) << read.damage->what;
        EXPECT_TRUE(read.contents.gadgets.empty());
    }
}

TEST(RlfDamage, FileEndingInsideARecordOfTheLastGadget)
{
    Bytes file = savedRlf(Layout{{Gadget{.hotspots = {{Hotspot{1, 2}}, {Hotspot{3, 4}}}}}});
    ASSERT_EQ(file.size(), 44u);
    file.resize(41);
    const rlfinfo::ReadResult read = rlfinfo::readRlf(file);
    ASSERT_TRUE(read.damage);
    EXPECT_EQ(read.damage->offset, 36u);
    EXPECT_EQ(read.damage->what, "the file ends inside gadget 0's records");
}

TEST(RlfDamage, ForgedFieldsAreReportedWhereTheyAre)
{
    const Bytes good = savedRlf(damageLayout());
    const rlfinfo::ReadResult goodRead = rlfinfo::readRlf(good);
    ASSERT_FALSE(goodRead.damage);
    ASSERT_EQ(goodRead.contents.gadgets.size(), 3u);
    for (const Corruption& corruption : kCorruptions)
    {
        SCOPED_TRACE(corruption.name);
        Bytes bad = good;
        corruption.apply(bad, goodRead.contents);
        resetLargestAllocation();
        const rlfinfo::ReadResult read = rlfinfo::readRlf(bad);
        EXPECT_LE(largestAllocation(), 16 * bad.size() + 4096);
        ASSERT_TRUE(read.damage);
        EXPECT_EQ(read.damage->offset, corruption.offset(goodRead.contents));
        EXPECT_NE(read.damage->what.find(corruption.message), std::string::npos) << read.damage->what;
    }
}
