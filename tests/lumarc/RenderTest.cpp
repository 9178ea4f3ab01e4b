// The picture of a render list, pixel by pixel: small lists made here, and
// the colours worked out by hand from the quad rules (a quad covers the
// pixels from its left and top edges up to, not including, its right and
// bottom ones).
#include "LayoutPicture.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace
{

// An axis-aligned quad with corners stored top-left, top-right, bottom-left,
// bottom-right.
RlfRenderEntry quad(int16_t left, int16_t top, int16_t right, int16_t bottom, std::array<uint32_t, 4> colours,
                    int16_t textureId = rlf::kNoTexture)
{
    RlfRenderEntry entry;
    entry.kind = textureId == rlf::kNoTexture ? RlfEntryKind::Untextured : RlfEntryKind::Textured;
    entry.textureId = textureId;
    entry.points = {{{left, top}, {right, top}, {left, bottom}, {right, bottom}}};
    entry.colours = colours;
    return entry;
}

std::array<uint32_t, 4> flat(uint32_t colour)
{
    return {colour, colour, colour, colour};
}

// clang-format off
struct Pixel { int32_t x, y; Rgb colour; };
struct Case { const char* name; std::vector<PictureGadget> gadgets; std::vector<Pixel> expected;
              PictureOptions options = {.overlays = false}; std::size_t notes = 0; };
// clang-format on

std::string hex(Rgb colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(colour));
    return text;
}

} // namespace

TEST(LayoutPicture, PixelsWorkedOutByHand)
{
    // Both sides of a vertical and of a slanted shared edge (x = 28 + 0.4 y);
    // the quad on the left is drawn last, so a pixel it took twice shows.
    RlfRenderEntry slantLeft = quad(20, 0, 28, 10, flat(0xFF0000));
    slantLeft.points[3] = {32, 10};
    RlfRenderEntry slantRight = quad(28, 0, 40, 10, flat(0x00FF00));
    slantRight.points[2] = {32, 10};
    RlfRenderEntry textured = quad(100, 100, 132, 132, flat(0x808080), 7);
    RlfRenderEntry untexturedId = quad(200, 100, 216, 116, flat(0x4080FF));
    untexturedId.kind = RlfEntryKind::Textured;
    // clang-format off
    const PictureGadget marked{.box = {50, 60, 30, 25}, .childAreas = {{58, 61, 9, 5}}, .hotspots = {{0, 0, 70, 76}}, .entries = {}};
    const std::vector<Case> cases{
        {"flat quad: edges left out, the inner diagonal drawn", {{.entries = {quad(10, 10, 20, 20, flat(0x336699))}}},
         {{10, 10, 0x336699}, {19, 19, 0x336699}, {15, 15, 0x336699}, {20, 15, 0}, {15, 20, 0}, {9, 15, 0}}},
        // Red is 20 x and green 20 y on both triangles; the centre is the mean.
        {"gouraud quad", {{.entries = {quad(0, 0, 10, 10, {0x000000, 0xC80000, 0x00C800, 0xC8C800})}}},
         {{0, 0, 0x000000}, {9, 0, 0xB40000}, {0, 9, 0x00B400}, {9, 9, 0xB4B400}, {5, 5, 0x646400}}},
        {"quads sharing an edge", {{.entries = {quad(8, 0, 16, 8, flat(0x00FF00)), quad(0, 0, 8, 8, flat(0xFF0000)), slantRight, slantLeft}}},
         {{7, 4, 0xFF0000}, {8, 4, 0x00FF00}, {16, 4, 0}, {29, 5, 0xFF0000}, {30, 5, 0x00FF00},
          {28, 2, 0xFF0000}, {29, 2, 0x00FF00}, {31, 9, 0xFF0000}, {32, 9, 0x00FF00}, {20, 9, 0xFF0000}}},
        // Texture 7's checker 9060E0 / 483070 in 8-pixel cells; "7" on a
        // plate from (114, 113). No texture is grey 808080 / 404040, tinted
        // by 4080FF (blue limited to 255), labelled "-1" from (204, 105).
        {"textured quads", {{.entries = {textured, untexturedId}}},
         {{100, 100, 0x9060E0}, {108, 100, 0x483070}, {108, 108, 0x9060E0}, {131, 131, 0x9060E0}, {114, 113, 0}, {115, 114, 0xFFFFFF},
          {117, 114, 0xFFFFFF}, {115, 115, 0}, {117, 115, 0xFFFFFF}, {200, 100, 0x4080FF}, {208, 100, 0x20407F}, {205, 108, 0xFFFFFF},
          {205, 107, 0}, {209, 106, 0}, {210, 106, 0xFFFFFF}, {209, 107, 0xFFFFFF}}},
        // The empty gadget 0 draws no box; gadget 1's number is on a plate at (51, 61).
        {"gadget box, child area, hotspot", {{.box = {0, 0, 0, 0}}, marked},
         {{50, 60, 0xFFFF00}, {79, 84, 0xFFFF00}, {80, 60, 0}, {60, 84, 0xFFFF00}, {0, 0, 0}, {51, 61, 0}, {52, 62, 0}, {53, 62, 0xFFFFFF},
          {58, 61, 0x00FFFF}, {61, 61, 0}, {64, 61, 0x00FFFF}, {58, 64, 0}, {66, 72, 0xFF00FF}, {70, 76, 0xFF00FF}, {67, 73, 0xFF00FF},
          {68, 73, 0}}, {}},
        {"overlays left out", {marked}, {{50, 60, 0}, {58, 61, 0}, {70, 76, 0}}},
        {"entries partly off a 32 x 24 canvas",
         {{.box = {-32768, -32768, -1, -1}, .entries = {quad(-32768, -32768, 32767, 32767, flat(0x0000FF)),
                                                        quad(-5, -5, 10, 10, flat(0xFF0000)), quad(28, 20, 40, 30, flat(0x00FF00))}}},
         {{0, 0, 0xFF0000}, {9, 9, 0xFF0000}, {10, 0, 0x0000FF}, {31, 23, 0x00FF00}, {27, 23, 0x0000FF}},
         {.width = 32, .height = 24, .overlays = false}, 1},
        {"box one past the right edge: not drawn on the next line",
         {{.box = {16, 4, 17, 4}, .childAreas = {{20, 5, 2, 2}}}}, {{31, 4, 0xFFFF00}, {0, 5, 0}},
         {.width = 32, .height = 24}, 1},
    };
    // clang-format on
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const LayoutPicture picture = drawLayout(c.gadgets, c.options);
        ASSERT_EQ(picture.canvas.width(), c.options.width);
        ASSERT_EQ(picture.canvas.height(), c.options.height);
        for (const Pixel& p : c.expected)
            EXPECT_EQ(hex(picture.canvas.at(p.x, p.y)), hex(p.colour)) << "at " << p.x << "," << p.y;
        EXPECT_EQ(picture.notes.size(), c.notes);
    }
}
