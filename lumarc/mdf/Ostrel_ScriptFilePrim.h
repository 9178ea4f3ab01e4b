#pragma once

#include "ByteReader.h"
#include "Ostrel_ScriptFilePrim_Base.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The geometry the four quad primitives share: four vertices and one colour
// (flat) or four colours (one per vertex). Colour k moves with vertex k.
template <std::size_t ColourCount>
class Ostrel_ScriptFilePrim_Quad : public Ostrel_ScriptFilePrim_Base
{
    static_assert(ColourCount == 1 || ColourCount == 4);

public:
    PrimBounds& getBounds(PrimBounds& out) const override;
    void normaliseOrder() override;
    void rotateCorners() override;
    void swapCorners() override;
    [[nodiscard]] uint8_t maskedCornerBits() const override { return cornerBits & 0xC0; }
    [[nodiscard]] int cornerBit5Clear() const override { return (cornerBits & 0x20) == 0 ? 1 : 0; }

    std::array<PrimVertex, 4> vertices{};
    std::array<PrimColour, ColourCount> colours{};

protected:
    // Reads the vertices (eight s16) and the colours right after them.
    // Defined here, with the bodies' readers, so that the bound checks on a
    // body of known size fold away where the body is read.
    void decodeGeometry(ByteReader& body)
    {
        for (PrimVertex& vertex : vertices)
        {
            vertex.x = body.i16();
            vertex.y = body.i16();
        }
        for (PrimColour& colour : colours)
        {
            colour.r = body.u8();
            colour.g = body.u8();
            colour.b = body.u8();
            colour.pad = body.u8();
        }
    }

private:
    // Reorders vertices, per-vertex colours and corner fields: new slot k
    // takes old slot order[k].
    void permute(const std::array<int, 4>& order);
};

class Ostrel_ScriptFilePrim_F4 final : public Ostrel_ScriptFilePrim_Quad<1>
{
public:
    static constexpr std::size_t kBodyBytes = 20;
    void readBody(ByteReader& body) { decodeGeometry(body); }
    void doExport_RLF(RlfRenderEntry& entry) const override;
    [[nodiscard]] int primType() const override { return static_cast<int>(PrimTypeCode::F4); }
    [[nodiscard]] const PrimColour& colour() const { return colours[0]; }
};

class Ostrel_ScriptFilePrim_G4 final : public Ostrel_ScriptFilePrim_Quad<4>
{
public:
    static constexpr std::size_t kBodyBytes = 32;
    void readBody(ByteReader& body) { decodeGeometry(body); }
    void doExport_RLF(RlfRenderEntry& entry) const override;
    [[nodiscard]] int primType() const override { return static_cast<int>(PrimTypeCode::G4); }
};

class Ostrel_ScriptFilePrim_FT4 final : public Ostrel_ScriptFilePrim_Quad<1>
{
public:
    static constexpr std::size_t kBodyBytes = 24;
    void readBody(ByteReader& body)
    {
        textureId = body.u16();
        textureAux = body.u16();
        decodeGeometry(body);
    }
    void doExport_RLF(RlfRenderEntry& entry) const override;
    [[nodiscard]] int primType() const override { return static_cast<int>(PrimTypeCode::FT4); }
    [[nodiscard]] const PrimColour& colour() const { return colours[0]; }

    uint16_t textureId = 0;
    uint16_t textureAux = 0;
};

class Ostrel_ScriptFilePrim_GT4 final : public Ostrel_ScriptFilePrim_Quad<4>
{
public:
    static constexpr std::size_t kBodyBytes = 36;
    void readBody(ByteReader& body)
    {
        textureId = body.u16();
        textureAux = body.u16();
        decodeGeometry(body);
    }
    void doExport_RLF(RlfRenderEntry& entry) const override;
    [[nodiscard]] int primType() const override { return static_cast<int>(PrimTypeCode::GT4); }

    uint16_t textureId = 0;
    uint16_t textureAux = 0;
};
