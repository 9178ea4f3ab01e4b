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
    const Prim textured{.type = kPrimFT4,
                        .mode = 0x0A,
                        .textureId = 1,
                        .vertices = {{{0, 0}, {16, 0}, {0, 16}, {16, 16}}},
                        .colours = {{{0x10, 0x20, 0x30}, {0xEE, 0xEE, 0xEE}}}};
    const Prim shaded{
        .type = kPrimG4,
        .mode = 0x01,
        .vertices = {{{20, 0}, {30, 0}, {20, 10}, {30, 10}}},
        .colours = {{{0x11, 0x22, 0x33}, {0x44, 0x55, 0x66}, {0x77, 0x88, 0x99}, {0xAA, 0xBB, 0xCC}}}};
    return Layout{
        .gadgets = {Gadget{.name = "Panel",
                           .rects = {{Rect{10, 20, 30, 40}}},
                           .hotspots = {{Hotspot{5, 6, 0x06}}},
                           .primLists = {PrimList{1, 2, {textured, shaded}}, PrimList{0, 0, {shaded}}}}}};
}

// The saved file for the PC (0) or the console (kPsxYOffset); the size the
// save reported goes to `reported`.
[[nodiscard]] inline Bytes savedRlf(const mdfwriter::Layout& layout, int yOffset, int64_t* reported = nullptr)
{
    const TempFolder folder;
    const MdfLoadResult loaded = loadMdf(folder.write("layout.mdf", mdfwriter::mdfFile(layout)));
    if (!loaded.model)
    {
        ADD_FAILURE() << loaded.message;
        return {};
    }
    const RlfSaveResult saved = saveRlf(*loaded.model, yOffset, folder.file("out.rlf"),
                                        [&](int64_t bytes)
                                        {
                                            if (reported)
                                                *reported = bytes;
                                        });
    EXPECT_EQ(saved.status, RlfSaveStatus::Saved) << saved.message;
    return folder.read("out.rlf");
}
