// How the layout's primitives and hotspots fill the render list's records.

#include "MdfLeaves.h"
#include "Ostrel_ScriptFilePrim.h"
#include "RlfItems.h"

namespace
{

uint32_t colourWord(const PrimColour& colour)
{
    return static_cast<uint32_t>(colour.r) << 16 | static_cast<uint32_t>(colour.g) << 8 | colour.b;
}

// Vertices are copied as they stand; the caller adds the list's offset. A
// flat quad gives all four points its one colour.
template <std::size_t ColourCount>
void fillEntry(RlfRenderEntry& entry, const Ostrel_ScriptFilePrim_Quad<ColourCount>& prim, RlfEntryKind kind,
               int16_t textureId)
{
    entry.kind = kind;
    entry.modeLow = prim.modeLow;
    entry.textureId = textureId;
    for (std::size_t k = 0; k < 4; ++k)
    {
        entry.points[k] = {prim.vertices[k].x, prim.vertices[k].y};
        entry.colours[k] = colourWord(prim.colours[ColourCount == 4 ? k : 0]);
    }
}

} // namespace

void Ostrel_ScriptFilePrim_F4::doExport_RLF(RlfRenderEntry& entry) const
{
    fillEntry(entry, *this, RlfEntryKind::Untextured, RlfRenderEntry::kNoTexture);
}

void Ostrel_ScriptFilePrim_G4::doExport_RLF(RlfRenderEntry& entry) const
{
    fillEntry(entry, *this, RlfEntryKind::Untextured, RlfRenderEntry::kNoTexture);
}

void Ostrel_ScriptFilePrim_FT4::doExport_RLF(RlfRenderEntry& entry) const
{
    fillEntry(entry, *this, RlfEntryKind::Textured, static_cast<int16_t>(textureId));
}

void Ostrel_ScriptFilePrim_GT4::doExport_RLF(RlfRenderEntry& entry) const
{
    fillEntry(entry, *this, RlfEntryKind::Textured, static_cast<int16_t>(textureId));
}

void MdfHotspot::exportRlf(RlfHotspot& out) const
{
    out.flagsA = flagsA;
    out.flagsB = flagsB;
    out.x = rlf::toCoordinate(posX);
    out.y = rlf::toCoordinate(posY);
}
