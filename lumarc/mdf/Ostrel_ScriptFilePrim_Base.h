#pragma once

#include "PrimTypes.h"

#include <cstdint>

struct RlfRenderEntry;

// The type byte of a primitive record's header.
enum class PrimTypeCode : uint8_t
{
    F4 = 5,  // flat-coloured quad
    G4 = 6,  // quad coloured per vertex
    FT4 = 7, // textured flat-coloured quad
    GT4 = 8, // textured quad coloured per vertex
};

// The base of the four quad primitives of a primitive list.
class Ostrel_ScriptFilePrim_Base
{
public:
    Ostrel_ScriptFilePrim_Base() = default;
    Ostrel_ScriptFilePrim_Base(const Ostrel_ScriptFilePrim_Base&) = delete;
    Ostrel_ScriptFilePrim_Base& operator=(const Ostrel_ScriptFilePrim_Base&) = delete;
    virtual ~Ostrel_ScriptFilePrim_Base() = default;

    // The box of the four vertices; returns `out`.
    virtual PrimBounds& getBounds(PrimBounds& out) const = 0;
    // Fills one render-list entry. The base fills nothing and leaves a trace.
    virtual void doExport_RLF(RlfRenderEntry& entry) const;
    // Puts the vertices into canonical order: counter-clockwise winding (in
    // screen coordinates), then rotated until vertex 0 lies above vertex 2.
    virtual void normaliseOrder() = 0;
    // New vertex order (1, 3, 0, 2): a quarter turn of a quad drawn top-left,
    // top-right, bottom-left, bottom-right.
    virtual void rotateCorners() = 0;
    // Exchanges vertices 1 and 2.
    virtual void swapCorners() = 0;
    [[nodiscard]] virtual uint8_t maskedCornerBits() const = 0;
    [[nodiscard]] virtual int cornerBit5Clear() const = 0;
    [[nodiscard]] virtual int primType() const = 0;

    // Takes the four header bytes after the type.
    void setHeader(uint8_t modeByte, uint8_t cornerBitsByte, uint8_t auxByte);

    uint8_t mode = 0;
    uint8_t modeLow = 0;
    uint8_t modeMid = 0;
    // Four 2-bit fields; field k belongs to vertex k and moves with it.
    uint8_t cornerBits = 0;
    uint8_t aux = 0;
};
