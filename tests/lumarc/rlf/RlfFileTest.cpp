// The render-list model: the layout pass (gadget boxes and texture numbers),
// the file byte by byte with its foretold size, and the writer's trace.
#include "RlfFile.h"
#include "BinaryOutStream.h"
#include "DebugOutput.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

using mdfwriter::Bytes;

namespace
{

struct Parts
{
    std::vector<RlfRect> areas{};
    std::vector<RlfHotspot> spots{};
    std::vector<RlfRenderEntry> entries{};
};

std::unique_ptr<RlfGadget> gadgetOf(const Parts& parts)
{
    auto gadget = std::make_unique<RlfGadget>("g");
    for (const RlfRect& r : parts.areas)
        gadget->addChildArea(std::make_unique<RlfRect>(r));
    for (const RlfHotspot& h : parts.spots)
        gadget->addHotspot(std::make_unique<RlfHotspot>(h));
    for (const RlfRenderEntry& e : parts.entries)
        gadget->renderList.add(std::make_unique<RlfRenderEntry>(e));
    return gadget;
}

// An entry at the given points, textured unless it has no texture.
RlfRenderEntry entry(std::array<RlfPoint, 4> points, int16_t textureId = RlfRenderEntry::kNoTexture)
{
    RlfRenderEntry e;
    e.points = points;
    e.textureId = textureId;
    e.kind = textureId == RlfRenderEntry::kNoTexture ? RlfEntryKind::Untextured : RlfEntryKind::Textured;
    return e;
}

RlfRenderEntry entryAt(int16_t x, int16_t y, int16_t textureId = RlfRenderEntry::kNoTexture)
{
    return entry({RlfPoint{x, y}, {x, y}, {x, y}, {x, y}}, textureId);
}

RlfRenderEntry flatQuad(uint32_t colour)
{
    RlfRenderEntry e = entry({RlfPoint{1, 1}, {2, 1}, {1, 2}, {2, 2}});
    e.modeLow = 1;
    e.colours = {colour, colour, colour, colour};
    return e;
}

// Lays the file out and writes it the way a save does; the bytes written,
// which the file's size foretold before the layout pass.
Bytes written(const std::vector<Parts>& gadgets)
{
    RlfFile file;
    for (const Parts& parts : gadgets)
        file.addGadget(gadgetOf(parts));
    const int64_t size = file.size();
    TempFolder folder;
    BinaryOutStream stream;
    EXPECT_TRUE(stream.open(folder.file("out.rlf"), "wb", true));
    file.layout();
    EXPECT_TRUE(file.write(stream));
    EXPECT_TRUE(stream.close());
    Bytes bytes = readBytes(folder.file("out.rlf"));
    EXPECT_EQ(static_cast<int64_t>(bytes.size()), size);
    EXPECT_EQ(file.size(), size);
    return bytes;
}

Bytes join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        mdfwriter::putBytes(out, part);
    return out;
}

} // namespace

// The box starts from the far screen corner (640, 480) and the origin; a
// child area reaches to its far edge (which only ever raises the maximum),
// hotspots and entries only to their points. Extents keep their low 16 bits.
TEST(RlfLayout, GadgetBox)
{
    using Box = std::array<int16_t, 4>;
    const std::vector<std::tuple<const char*, Parts, Box>> cases{
        {"empty", {}, {640, 480, -640, -480}},
        {"entry beyond the screen",
         {.entries = {entry({RlfPoint{700, 500}, {800, 500}, {700, 600}, {800, 600}})}},
         {640, 480, 160, 120}},
        {"negative hotspots", {.spots = {{0, 0, -50, -40}, {0, 0, -10, -20}}}, {-50, -40, 50, 40}},
        {"child area far edge", {.areas = {{600, 400, 100, 200}}}, {600, 400, 100, 200}},
        {"negative extent", {.areas = {{10, 20, -50, -70}}}, {10, 20, -10, -20}},
        {"far edge without wrapping", {.areas = {{32000, 0, 32000, 10}}}, {640, 0, -2176, 10}},
        {"hotspot point only", {.spots = {{0, 0, 700, 500}}}, {640, 480, 60, 20}},
        {"all four entry points",
         {.entries = {entry({RlfPoint{-10, 30}, {700, 40}, {5, 600}, {20, -20}})}},
         {-10, -20, 710, 620}},
        {"combined", {{{100, 100, 50, 50}}, {{0, 0, 90, 300}}, {entryAt(200, 120)}}, {90, 100, 110, 200}},
        {"extent wider than 16 bits",
         {.entries = {entry({RlfPoint{-32768, 0}, {32767, 0}, {0, 0}, {0, 0}})}},
         {-32768, 0, -1, 0}},
    };
    for (const auto& [name, parts, box] : cases)
    {
        SCOPED_TRACE(name);
        const auto gadget = gadgetOf(parts);
        gadget->layout();
        EXPECT_EQ((Box{gadget->x, gadget->y, gadget->w, gadget->h}), box);
    }
}

TEST(TextureIdRemap, MapsLayoutTexturesToGameTextures)
{
    std::vector<int16_t> after;
    for (int16_t id : {0, 1, 2, 3, 4, 5, 6, 7, 100, 32767, -1, -2, -32768})
        after.push_back(TextureIdRemap(id));
    EXPECT_EQ(after, (std::vector<int16_t>{0, 7, 3, 4, 5, 6, -1, -1, -1, -1, -1, -1, -1}));
}

// The pass is meant to run once per conversion: a second run translates the
// already translated ids again.
TEST(RlfLayout, EachPassRemapsTextureIdOfEveryEntry)
{
    const auto gadget =
        gadgetOf({.entries = {entryAt(0, 0, 1), entryAt(0, 0), entryAt(0, 0, 9), entryAt(0, 0, 3)}});
    for (const std::vector<int16_t>& expected : {std::vector<int16_t>{7, -1, -1, 4}, {-1, -1, -1, 5}})
    {
        gadget->layout();
        std::vector<int16_t> ids;
        for (const RlfRenderEntry& e : gadget->renderList.entries)
            ids.push_back(e.textureId);
        EXPECT_EQ(ids, expected);
    }
}

TEST(RlfWriter, FileLayoutByteByByte)
{
    RlfRenderEntry textured = entry({RlfPoint{10, 20}, {30, 20}, {10, 40}, {30, 40}}, 2); // the game's 3
    textured.modeLow = 3;
    textured.colours = {0x123456, 0xABCDEF, 0x000001, 0xFF0000};
    // Box 640, 480, -640, -480 and no areas, hotspots or render list.
    const Bytes emptyGadget{0x80, 0x02, 0xE0, 0x01, 0x80, 0xFD, 0x20, 0xFE, 0, 0,
                            0,    0,    0,    0,    0,    0,    0,    0,    0, 0};
    const std::vector<std::tuple<const char*, std::vector<Parts>, Bytes>> cases{
        {"no gadgets", {}, {0, 0, 0, 0}},
        {"empty gadget", {Parts{}}, join({{0x01, 0, 0, 0, 0x08, 0, 0, 0}, emptyGadget})},
        {"child area and one textured entry",
         {{.areas = {{5, 6, 7, 8}}, .entries = {textured}}},
         {0x01, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00,                         // 1 gadget, at 8
          0x05, 0x00, 0x06, 0x00, 0x19, 0x00, 0x22, 0x00,                         // box 5, 6, 25, 34
          0x1C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x24, 0x00, 0x00, 0x00, // areas 28, list 36
          0x05, 0x00, 0x06, 0x00, 0x07, 0x00, 0x08, 0x00,                         // child area
          0x01, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00,                         // 1 entry, at 44
          0x01, 0x03, 0x03, 0x00, // textured, mode 3, texture 3
          0x0A, 0x00, 0x14, 0x00, 0x1E, 0x00, 0x14, 0x00, 0x0A, 0x00, 0x28, 0x00, 0x1E, 0x00, 0x28, 0x00,
          0x56, 0x34, 0x12, 0x00, 0xEF, 0xCD, 0xAB, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00}},
        {"hotspots without child areas start right after the gadget header",
         {Parts{}, Parts{.spots = {{3, 2, 100, 200}, {1, 0, 50, 60}}}},
         join({{0x02, 0, 0, 0, 0x0C, 0, 0, 0, 0x20, 0, 0, 0},
               emptyGadget,
               {0x32, 0x00, 0x3C, 0x00, 0x32, 0x00, 0x8C, 0x00,     // box 50, 60, 50, 140
                0x00, 0x00, 0x00, 0x00, 0x34, 0x00, 0x00, 0x00,     // hotspots at 52
                0x00, 0x00, 0x00, 0x00,                             // no render list
                0x03, 0x00, 0x02, 0x00, 0x64, 0x00, 0xC8, 0x00,     // flags 3, 2; 100, 200
                0x01, 0x00, 0x00, 0x00, 0x32, 0x00, 0x3C, 0x00}})}, // 1, 0; 50, 60
        {"empty render list takes no bytes and has a zero offset",
         {{.areas = {{1, 1, 2, 2}}}},
         {0x01, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x02, 0x00, 0x02, 0x00,
          0x1C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // areas 28, nothing
                                                                                  // else
          0x01, 0x00, 0x01, 0x00, 0x02, 0x00, 0x02, 0x00}},
    };
    for (const auto& [name, gadgets, expected] : cases)
    {
        SCOPED_TRACE(name);
        EXPECT_EQ(written(gadgets), expected);
    }
}

// An untextured entry's texture is FFFF; colours are blue, green, red, zero.
TEST(RlfWriter, EntryOffsetsFollowTheOffsetTable)
{
    const Bytes bytes = written({{.entries = {flatQuad(0x123456), flatQuad(0), flatQuad(0)}}});
    ASSERT_EQ(bytes.size(), 8U + 20 + 4 + 3 * 40);
    const Bytes colour{0x56, 0x34, 0x12, 0};
    EXPECT_EQ(Bytes(bytes.begin() + 24, bytes.begin() + 80),
              join({{0x1C, 0, 0, 0, 3, 0, 0, 0},                      // list at 28, 3 entries
                    {0x2C, 0, 0, 0, 0x50, 0, 0, 0, 0x74, 0, 0, 0},    // at 44, 80, 116
                    {0x00, 0x01, 0xFF, 0xFF},                         // untextured, mode 1, no texture
                    {1, 0, 1, 0, 2, 0, 1, 0, 1, 0, 2, 0, 2, 0, 2, 0}, // points
                    colour,
                    colour,
                    colour,
                    colour}));
}

TEST(RlfWriter, TraceReportsEachPartOrWhatTheGadgetLacks)
{
    std::string trace;
    setDebugOutputSink([&](std::string_view text) { trace.append(text).append("|"); });
    (void)written({{{{0, 0, 4, 4}}, {{0, 1, 2, 2}}, {flatQuad(0)}}});
    const std::string full = trace;
    trace.clear();
    (void)written({Parts{}});
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
