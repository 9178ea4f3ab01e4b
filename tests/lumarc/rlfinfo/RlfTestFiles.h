// Render-list files made the way users make them: a layout written by our
// MDF writer, loaded by the real reader and saved by the real converter.
#pragma once

#include "LoadedLayout.h"
#include "RlfConversion.h"
#include "RlfSave.h"

#include <gtest/gtest.h>

// The saved file's bytes; empty (with a test failure) when saving failed.
[[nodiscard]] inline mdfwriter::Bytes savedRlf(const mdfwriter::Layout& layout, int yOffset = 0)
{
    TempFolder folder;
    const auto model = loadLayout(folder, layout);
    if (!model)
    {
        ADD_FAILURE() << "the layout did not load";
        return {};
    }
    const std::string path = folder.file("out.rlf");
    const RlfSaveResult saved = saveRlf(*model, yOffset, path, {});
    EXPECT_EQ(saved.status, RlfSaveStatus::Saved) << saved.message;
    return readBytes(path);
}

// A 16 x 16 quad at (x, y) with four different colours.
[[nodiscard]] inline mdfwriter::Prim quadAt(uint8_t type, int16_t x, int16_t y, uint16_t textureId = 0,
                                            uint8_t mode = 0x0A)
{
    mdfwriter::Prim prim;
    prim.type = type;
    prim.mode = mode;
    prim.textureId = textureId;
    prim.vertices = {mdfwriter::Vertex{x, y}, mdfwriter::Vertex{int16_t(x + 16), y},
                     mdfwriter::Vertex{x, int16_t(y + 16)},
                     mdfwriter::Vertex{int16_t(x + 16), int16_t(y + 16)}};
    prim.colours = {mdfwriter::Colour{0x10, 0x20, 0x30}, mdfwriter::Colour{0x40, 0x50, 0x60},
                    mdfwriter::Colour{0x70, 0x80, 0x90}, mdfwriter::Colour{0xA1, 0xB2, 0xC3}};
    return prim;
}
