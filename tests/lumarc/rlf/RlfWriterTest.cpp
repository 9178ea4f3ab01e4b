// The render-list file byte by byte, and the writer's progress trace.
#include "BinaryOutStream.h"
#include "DebugOutput.h"
#include "RlfFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <optional>

using mdfwriter::Bytes;

namespace
{

// Lays the file out and writes it the way a save does; the bytes written.
Bytes written(RlfFile& file)
{
    TempFolder folder;
    const std::string path = folder.file("out.rlf");
    BinaryOutStream stream;
    EXPECT_TRUE(stream.open(path, "wb", true));
    file.layout();
    EXPECT_TRUE(file.write(stream));
    EXPECT_TRUE(stream.close());
    Bytes bytes = readBytes(path);
    EXPECT_EQ(static_cast<int64_t>(bytes.size()), file.size());
    return bytes;
}

// One gadget with the given child area, hotspot and entries (each optional).
Bytes writtenGadget(std::optional<RlfRect> area, std::optional<RlfHotspot> spot,
                    std::vector<RlfRenderEntry> list)
{
    RlfFile file;
    auto gadget = std::make_unique<RlfGadget>("g");
    if (area)
        gadget->addChildArea(std::make_unique<RlfRect>(*area));
    if (spot)
        gadget->addHotspot(std::make_unique<RlfHotspot>(*spot));
    for (const RlfRenderEntry& e : list)
        gadget->renderList.add(std::make_unique<RlfRenderEntry>(e));
    file.addGadget(std::move(gadget));
    return written(file);
}

// A textured quad with layout texture 2 (the game's 3) and mode 3.
RlfRenderEntry texturedQuad()
{
    RlfRenderEntry e;
    e.kind = RlfEntryKind::Textured;
    e.modeLow = 3;
    e.textureId = 2;
    e.points = {RlfPoint{10, 20}, RlfPoint{30, 20}, RlfPoint{10, 40}, RlfPoint{30, 40}};
    e.colours = {0x123456, 0xABCDEF, 0x000001, 0xFF0000};
    return e;
}

RlfRenderEntry flatQuad(uint32_t colour)
{
    RlfRenderEntry e;
    e.modeLow = 1;
    e.points = {RlfPoint{1, 1}, RlfPoint{2, 1}, RlfPoint{1, 2}, RlfPoint{2, 2}};
    e.colours = {colour, colour, colour, colour};
    return e;
}

Bytes slice(const Bytes& bytes, size_t from, size_t count)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

const Bytes kEmptyGadgetBlock{0x80, 0x02, 0xE0, 0x01, 0x80, 0xFD, 0x20, 0xFE, 0, 0,
                              0,    0,    0,    0,    0,    0,    0,    0,    0, 0};

} // namespace

TEST(RlfWriter, FileWithoutGadgetsIsFourZeroBytes)
{
    RlfFile file;
    EXPECT_EQ(written(file), (Bytes{0, 0, 0, 0}));
}

TEST(RlfWriter, EmptyGadgetIsBoxAndThreeZeroOffsets)
{
    Bytes expected{0x01, 0, 0, 0, 0x08, 0, 0, 0};
    mdfwriter::putBytes(expected, kEmptyGadgetBlock);
    EXPECT_EQ(writtenGadget({}, {}, {}), expected);
}

TEST(RlfWriter, GadgetWithChildAreaAndOneEntryIs80Bytes)
{
    const Bytes expected{
        0x01, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00,                         // 1 gadget, at 8
        0x05, 0x00, 0x06, 0x00, 0x19, 0x00, 0x22, 0x00,                         // box 5, 6, 25, 34
        0x1C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x24, 0x00, 0x00, 0x00, // areas 28, list 36
        0x05, 0x00, 0x06, 0x00, 0x07, 0x00, 0x08, 0x00,                         // child area
        0x01, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00,                         // 1 entry, at 44
        0x01, 0x03, 0x03, 0x00, // textured, mode 3, texture 3
        0x0A, 0x00, 0x14, 0x00, 0x1E, 0x00, 0x14, 0x00, 0x0A, 0x00, 0x28, 0x00, 0x1E, 0x00, 0x28, 0x00,
        0x56, 0x34, 0x12, 0x00, 0xEF, 0xCD, 0xAB, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00};
    EXPECT_EQ(writtenGadget(RlfRect{5, 6, 7, 8}, {}, {texturedQuad()}), expected);
}

TEST(RlfWriter, HotspotsWithoutChildAreasStartRightAfterGadgetHeader)
{
    RlfFile file;
    file.addGadget(std::make_unique<RlfGadget>("first"));
    auto gadget = std::make_unique<RlfGadget>("second");
    gadget->addHotspot(std::make_unique<RlfHotspot>(RlfHotspot{3, 2, 100, 200}));
    gadget->addHotspot(std::make_unique<RlfHotspot>(RlfHotspot{1, 0, 50, 60}));
    file.addGadget(std::move(gadget));
    Bytes expected{0x02, 0, 0, 0, 0x0C, 0, 0, 0, 0x20, 0, 0, 0};
    mdfwriter::putBytes(expected, kEmptyGadgetBlock);
    mdfwriter::putBytes(expected, {0x32, 0x00, 0x3C, 0x00, 0x32, 0x00, 0x8C, 0x00, // box 50, 60, 50, 140
                                   0x00, 0x00, 0x00, 0x00, 0x34, 0x00, 0x00, 0x00, // hotspots at 52
                                   0x00, 0x00, 0x00, 0x00,                         // no render list
                                   0x03, 0x00, 0x02, 0x00, 0x64, 0x00, 0xC8, 0x00, // flags 3, 2; 100, 200
                                   0x01, 0x00, 0x00, 0x00, 0x32, 0x00, 0x3C, 0x00}); // 1, 0; 50, 60
    EXPECT_EQ(written(file), expected);
}

TEST(RlfWriter, EmptyRenderListTakesNoBytesAndHasZeroOffset)
{
    const Bytes expected{0x01, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00,
                         0x02, 0x00, 0x02, 0x00, 0x1C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                         0x00, 0x00, 0x00, 0x00, // areas 28, nothing else
                         0x01, 0x00, 0x01, 0x00, 0x02, 0x00, 0x02, 0x00};
    EXPECT_EQ(writtenGadget(RlfRect{1, 1, 2, 2}, {}, {}), expected);
}

// The entry occupies bytes 36-71: kind, mode, texture, points, colours.
TEST(RlfWriter, ColourIsBlueGreenRedZeroAndMissingTextureFFFF)
{
    const Bytes bytes = writtenGadget({}, {}, {flatQuad(0x123456)});
    ASSERT_EQ(bytes.size(), 72U);
    EXPECT_EQ(slice(bytes, 36, 4), (Bytes{0x00, 0x01, 0xFF, 0xFF}));
    for (size_t k = 0; k < 4; ++k)
        EXPECT_EQ(slice(bytes, 56 + 4 * k, 4), (Bytes{0x56, 0x34, 0x12, 0x00})) << "colour " << k;
}

TEST(RlfWriter, EntryOffsetsFollowTheOffsetTable)
{
    const Bytes bytes = writtenGadget({}, {}, {flatQuad(0), flatQuad(0), flatQuad(0)});
    ASSERT_EQ(bytes.size(), 8U + 20 + 4 + 3 * 40);
    // List at 28: count 3, then entries at 28 + 4 + 12 = 44, 80, 116.
    EXPECT_EQ(slice(bytes, 24, 20),
              (Bytes{0x1C, 0, 0, 0, 3, 0, 0, 0, 0x2C, 0, 0, 0, 0x50, 0, 0, 0, 0x74, 0, 0, 0}));
}

TEST(RlfWriter, TraceReportsEachPartOrWhatTheGadgetLacks)
{
    std::string trace;
    setDebugOutputSink([&](std::string_view text) { trace.append(text).append("|"); });
    (void)writtenGadget(RlfRect{0, 0, 4, 4}, RlfHotspot{0, 1, 2, 2}, {texturedQuad()});
    const std::string full = trace;
    trace.clear();
    (void)writtenGadget({}, {}, {});
    setDebugOutputSink({});
    const std::string start =
        "Writing RLF header ... |done.\n|Writing gadgets ...\n|Writing gadget header ...|done.\n|";
    EXPECT_EQ(full, start + "Writing child areas ...\n|Writing rect ... |done.\n|"
                            "Writing hotspots ...\n|Writing hotspot ... |done.\n|"
                            "Writing renderlist header ... |done.\n|Writing renderlist entries ...\n|"
                            "Writing renderlist entry ... |done.\n|done.\n|");
    // An empty gadget's trace ends after the render-list header.
    EXPECT_EQ(trace, start + "No child areas.\n|No hotspots.\n|Writing renderlist header ... |");
}
