// The layout most Lumarc tests share, and the render list the real reader,
// conversion and save make of it.
#pragma once

#include "MdfLoader.h"
#include "MdfWriter.h"
#include "RlfConversion.h"
#include "RlfSave.h"
#include "TempFolder.h"

// Gadget "Panel": a child area, a hotspot with both flag codes set, and a
// first list moved by (1, 2) holding a textured flat quad and an untextured
// gouraud one. Its second list is never drawn.
[[nodiscard]] inline mdfwriter::Layout panelLayout()
{
    using namespace mdfwriter;
    // clang-format off
    const Prim textured{.type = kPrimFT4, .mode = 0x0A, .textureId = 1, .vertices = {{{0, 0}, {16, 0}, {0, 16}, {16, 16}}},
                        .colours = {{{0x10, 0x20, 0x30}, {0xEE, 0xEE, 0xEE}}}};
    const Prim shaded{.type = kPrimG4, .mode = 0x01, .vertices = {{{20, 0}, {30, 0}, {20, 10}, {30, 10}}},
                      .colours = {{{0x11, 0x22, 0x33}, {0x44, 0x55, 0x66}, {0x77, 0x88, 0x99}, {0xAA, 0xBB, 0xCC}}}};
    return Layout{.gadgets = {Gadget{.name = "Panel", .rects = {{Rect{10, 20, 30, 40}}}, .hotspots = {{Hotspot{5, 6, 0x06}}},
                                     .primLists = {PrimList{1, 2, {textured, shaded}}, PrimList{0, 0, {shaded}}}}}};
    // clang-format on
}

// One of each family: "Kinds" holds three rectangle vectors (the first of
// two rectangles), two hotspots and, in its first list moved by (-10, 20),
// every primitive type and texture ids 0 to 6; "Points" four hotspots;
// "Area" one rectangle; "Empty" nothing.
[[nodiscard]] inline mdfwriter::Layout familyLayout()
{
    using namespace mdfwriter;
    // clang-format off
    // Texture `id`, mode `mode`, a 4 x 4 square at x; colour k of vertex k holds c.
    const auto prim = [](uint8_t type, uint8_t mode, uint16_t id, int16_t x, uint8_t c)
    {
        return Prim{.type = type, .mode = mode, .textureId = id, .textureAux = 0x1234,
                    .vertices = {{{x, 0}, {int16_t(x + 4), 0}, {x, 4}, {int16_t(x + 4), 4}}},
                    .colours = {{{c, 0x20, 0x30, 0x99}, {0x40, c, 0x60}, {0x70, 0x80, c}, {0xA0, 0xB0, c}}}};
    };
    const Prim flat{.type = kPrimF4, .mode = 0x1D, .vertices = {{{10, 20}, {30, 20}, {10, 40}, {30, 40}}},
                    .colours = {{{0x12, 0x34, 0x56, 0x99}}}};
    Prim far = prim(kPrimGT4, 0x01, 5, 100, 0x66);
    far.vertices[3] = {700, -30};
    return Layout{.gadgets = {
        Gadget{.name = "Kinds",
               .rects = {{Rect{10, 20, 30, 40}, Rect{0, 0, 1, 1}}, {Rect{-5, 100, 5, 90}}, {Rect{600, 400, 650, 470}}},
               .hotspots = {{Hotspot{7, 8, 0x0E}}, {Hotspot{-3, 300, 0x01}}},
               .primLists = {PrimList{-10, 20, {flat, prim(kPrimG4, 2, 0, 20, 0x11), prim(kPrimFT4, 3, 0, 30, 0x22),
                                                prim(kPrimGT4, 0x0C, 1, 40, 0x33), prim(kPrimFT4, 6, 2, 50, 0x44),
                                                prim(kPrimGT4, 7, 3, 60, 0x55), prim(kPrimFT4, 8, 4, 70, 0x66), far,
                                                prim(kPrimFT4, 9, 6, 80, 0x77)}},
                             PrimList{0, 0, {flat}}}},
        Gadget{.name = "Points", .hotspots = {{Hotspot{100, 90, 0x05}}, {Hotspot{120, 95, 0x0A}},
                                              {Hotspot{-50, 500, 0x0F}}, {Hotspot{3, 4}}}},
        Gadget{.name = "Area", .rects = {{Rect{1, 1, 2, 2}}}}, Gadget{.name = "Empty"}}};
    // clang-format on
}

// The saved file for the PC (0) or the console (kPsxYOffset).
[[nodiscard]] inline Bytes savedRlf(const mdfwriter::Layout& layout, int yOffset)
{
    const TempFolder folder;
    const MdfLoadResult loaded = loadMdf(folder.write("layout.mdf", mdfwriter::mdfFile(layout)));
    EXPECT_TRUE(loaded.model) << loaded.message;
    if (!loaded.model)
        return {};
    const RlfSaveResult saved = saveRlf(*loaded.model, yOffset, folder.file("out.rlf"), {});
    EXPECT_EQ(saved.status, RlfSaveStatus::Saved) << saved.message;
    return folder.read("out.rlf");
}
