#pragma once

#include "ScriptFileChunk.h"

#include <cstdint>

struct RlfHotspot;

// The fixed-layout chunks of a layout file. Their readers consume the layout
// regardless of the size the parent announced.

// One child rectangle; coordinates are 16-bit in the file.
class MdfRect final : public ScriptFileChunk
{
public:
    ChunkTag& getTag(ChunkTag& out) const override;
    bool read(ScriptFileStream& stream, uint32_t size) override;

    float left = 0, top = 0, right = 0, bottom = 0;
    float aux0 = 0, aux1 = 0, aux2 = 0, aux3 = 0;
};

// One hotspot: a point with two 2-bit flag codes.
class MdfHotspot final : public ScriptFileChunk
{
public:
    ChunkTag& getTag(ChunkTag& out) const override;
    bool read(ScriptFileStream& stream, uint32_t size) override;

    // Fills `out` with the flags and the point, truncated to 16 bits.
    void exportRlf(RlfHotspot& out) const;

    float posX = 0, posY = 0, auxX = 0, auxY = 0;
    uint8_t flagsA = 0; // bits 2-3 of the flags byte
    uint8_t flagsB = 0; // bits 0-1 of the flags byte
    uint8_t code = 0;
};

// A gadget's option word; only bit 0 means something.
class MdfGadgetOptions final : public ScriptFileChunk
{
public:
    ChunkTag& getTag(ChunkTag& out) const override;
    bool read(ScriptFileStream& stream, uint32_t size) override;

    uint32_t flag = 1;
};

// One entry of a font: two byte values.
class MdfFontEntry final : public ScriptFileChunk
{
public:
    ChunkTag& getTag(ChunkTag& out) const override;
    bool read(ScriptFileStream& stream, uint32_t size) override;

    uint8_t value0 = 0;
    uint8_t value1 = 0;
};
