#include "MdfPrimList.h"

#include "Ostrel_ScriptFilePrim.h"

#include <algorithm>
#include <array>

namespace
{

struct PrimHeader
{
    uint8_t type;
    uint8_t mode;
    uint8_t cornerBits;
    uint8_t aux;
};

template <typename Prim>
std::unique_ptr<Ostrel_ScriptFilePrim_Base> readPrim(ScriptFileStream& stream, const PrimHeader& header)
{
    std::array<uint8_t, Prim::kBodyBytes> body{};
    if (stream.readBytes(body.data(), body.size()) != static_cast<int>(body.size()))
        return nullptr;
    auto prim = std::make_unique<Prim>();
    prim->setHeader(header.mode, header.cornerBits, header.aux);
    prim->readBody(body.data());
    return prim;
}

// Creates and reads the primitive a header announces; nullptr for the
// terminating header (any other type) and for a body cut short.
std::unique_ptr<Ostrel_ScriptFilePrim_Base> readPrimRecord(ScriptFileStream& stream, const PrimHeader& header)
{
    switch (static_cast<PrimTypeCode>(header.type))
    {
    case PrimTypeCode::F4:
        return readPrim<Ostrel_ScriptFilePrim_F4>(stream, header);
    case PrimTypeCode::G4:
        return readPrim<Ostrel_ScriptFilePrim_G4>(stream, header);
    case PrimTypeCode::FT4:
        return readPrim<Ostrel_ScriptFilePrim_FT4>(stream, header);
    case PrimTypeCode::GT4:
        return readPrim<Ostrel_ScriptFilePrim_GT4>(stream, header);
    }
    return nullptr;
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
    auto list = std::make_unique<MdfPrimList>();
    int16_t offsetX = 0;
    int16_t offsetY = 0;
    stream.read16(offsetX).read16(offsetY);
    list->offsetX = offsetX;
    list->offsetY = offsetY;
    while (!stream.failed())
    {
        uint32_t word = 0;
        stream.read32(word);
        if (stream.failed())
            break;
        const PrimHeader header{static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8),
                                static_cast<uint8_t>(word >> 16), static_cast<uint8_t>(word >> 24)};
        auto prim = readPrimRecord(stream, header);
        if (!prim)
            break;
        list->primitives.append(std::move(prim));
    }
    computeBounds(*list);
    return list;
}
