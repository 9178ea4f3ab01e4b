#include "MdfPrimList.h"

#include "ByteReader.h"
#include "Ostrel_ScriptFilePrim.h"

#include <algorithm>
#include <array>

namespace
{

// A primitive record starts with four bytes: type, mode, corner bits, aux.
constexpr uint32_t kHeaderBytes = 4;

struct PrimHeader
{
    uint8_t type;
    uint8_t mode;
    uint8_t cornerBits;
    uint8_t aux;
};

// Reads a primitive's body and appends the primitive to `list`; false when
// the body is cut short.
template <typename Prim>
bool readPrim(ScriptFileStream& stream, const PrimHeader& header, MdfPrimList& list)
{
    std::array<uint8_t, Prim::kBodyBytes> body{};
    if (stream.readBytes(body.data(), body.size()) != static_cast<int>(body.size()))
        return false;
    Prim& prim = list.primitives.template emplace<Prim>();
    prim.setHeader(header.mode, header.cornerBits, header.aux);
    ByteReader fields(body);
    prim.readBody(fields);
    return true;
}

// Reads the primitive a header announces; false for the terminating header
// (any other type) and for a body cut short.
bool readPrimRecord(ScriptFileStream& stream, const PrimHeader& header, MdfPrimList& list)
{
    switch (static_cast<PrimTypeCode>(header.type))
    {
    case PrimTypeCode::F4:
        return readPrim<Ostrel_ScriptFilePrim_F4>(stream, header, list);
    case PrimTypeCode::G4:
        return readPrim<Ostrel_ScriptFilePrim_G4>(stream, header, list);
    case PrimTypeCode::FT4:
        return readPrim<Ostrel_ScriptFilePrim_FT4>(stream, header, list);
    case PrimTypeCode::GT4:
        return readPrim<Ostrel_ScriptFilePrim_GT4>(stream, header, list);
    }
    return false;
}

void computeBounds(MdfPrimList& list)
{
    auto it = list.primitives.begin();
    if (it == list.primitives.end())
        return;
    PrimBounds total;
    it->getBounds(total);
    for (++it; it != list.primitives.end(); ++it)
    {
        PrimBounds box;
        it->getBounds(box);
        total.minX = std::min(total.minX, box.minX);
        total.minY = std::min(total.minY, box.minY);
        total.maxX = std::max(total.maxX, box.maxX);
        total.maxY = std::max(total.maxY, box.maxY);
    }
    total.minX += list.offsetX;
    total.maxX += list.offsetX;
    total.minY += list.offsetY;
    total.maxY += list.offsetY;
    list.bounds = total;
}

} // namespace

std::unique_ptr<MdfPrimList> readPrimList(ScriptFileStream& stream)
{
    auto list = stream.itemArena() ? std::make_unique<MdfPrimList>(*stream.itemArena())
                                   : std::make_unique<MdfPrimList>();
    int16_t offsetX = 0;
    int16_t offsetY = 0;
    stream.read16(offsetX).read16(offsetY);
    list->offsetX = offsetX;
    list->offsetY = offsetY;
    while (!stream.failed())
    {
        std::array<uint8_t, kHeaderBytes> bytes{};
        if (stream.readBytes(bytes.data(), kHeaderBytes) != static_cast<int>(kHeaderBytes))
            break;
        ByteReader fields(bytes);
        const PrimHeader header{fields.u8(), fields.u8(), fields.u8(), fields.u8()};
        if (!readPrimRecord(stream, header, *list))
            break;
    }
    computeBounds(*list);
    return list;
}
