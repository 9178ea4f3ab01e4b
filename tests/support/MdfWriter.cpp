#include "MdfWriter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace mdfwriter
{

namespace
{

void putS16(Bytes& out, int16_t value)
{
    put16(out, static_cast<uint16_t>(value));
}

uint32_t sizeOf(const Bytes& body)
{
    return static_cast<uint32_t>(body.size());
}

void putVertices(Bytes& out, const std::array<Vertex, 4>& vertices)
{
    for (const Vertex& vertex : vertices)
    {
        putS16(out, vertex.x);
        putS16(out, vertex.y);
    }
}

void putColour(Bytes& out, const Colour& colour)
{
    put8(out, colour.r);
    put8(out, colour.g);
    put8(out, colour.b);
    put8(out, colour.pad);
}

Bytes stringBankBody(std::string_view bankTag, const std::vector<std::string>& texts)
{
    std::vector<Bytes> bodies;
    bodies.reserve(texts.size());
    for (const std::string& text : texts)
        bodies.push_back(stringBody(text));
    return arrayOf(bankTag, bodies);
}

Bytes rectTableBody(const std::vector<std::vector<Rect>>& table)
{
    std::vector<Bytes> vectors;
    for (const std::vector<Rect>& rects : table)
    {
        std::vector<Bytes> bodies;
        for (const Rect& r : rects)
            bodies.push_back(rectBody(r.left, r.top, r.right, r.bottom, r.aux));
        vectors.push_back(arrayOf(tag::kRectVector, bodies));
    }
    return arrayOf(tag::kRectTable, vectors);
}

Bytes hotspotTableBody(const std::vector<std::vector<Hotspot>>& table)
{
    std::vector<Bytes> vectors;
    for (const std::vector<Hotspot>& hotspots : table)
    {
        std::vector<Bytes> bodies;
        for (const Hotspot& h : hotspots)
            bodies.push_back(hotspotBody(h.posX, h.posY, h.flags, h.code, h.auxX, h.auxY));
        vectors.push_back(arrayOf(tag::kHotspotVector, bodies));
    }
    return arrayOf(tag::kHotspotTable, vectors);
}

Bytes fontTableBody(const std::vector<std::vector<FontEntry>>& fonts)
{
    std::vector<Bytes> fontBodies;
    for (const std::vector<FontEntry>& font : fonts)
    {
        std::vector<Bytes> entries;
        for (const FontEntry& entry : font)
            entries.push_back(fontEntryBody(entry.value0, entry.value1));
        fontBodies.push_back(arrayOf(tag::kFont, entries));
    }
    return recordBody({
        {std::string(tag::kFontArray), arrayOf(tag::kFontArray, fontBodies)},
        {std::string(tag::kStringBank0), stringBankBody(tag::kStringBank0, {})},
        {std::string(tag::kStringBank1), stringBankBody(tag::kStringBank1, {})},
    });
}

// Writes all of `bytes` to `fd`, retrying short writes and interruptions.
bool writeAll(int fd, const Bytes& bytes)
{
    size_t done = 0;
    while (done < bytes.size())
    {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

void put8(Bytes& out, uint8_t value)
{
    out.push_back(value);
}

void put16(Bytes& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(Bytes& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>((value >> shift) & 0xFF));
}

void putTag(Bytes& out, std::string_view tag8)
{
    for (size_t i = 0; i < 8; ++i)
        out.push_back(i < tag8.size() ? static_cast<uint8_t>(tag8[i]) : uint8_t{0});
}

void putBytes(Bytes& out, const Bytes& bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

Bytes recordBody(const std::vector<Child>& children)
{
    Bytes out;
    put32(out, static_cast<uint32_t>(children.size()));
    for (const Child& child : children)
    {
        putTag(out, child.tag);
        put32(out, child.spare);
        put32(out, child.declaredSize.value_or(sizeOf(child.body)));
    }
    for (const Child& child : children)
        putBytes(out, child.body);
    return out;
}

Bytes arrayBody(std::string_view arrayTag, const std::vector<Element>& elements)
{
    Bytes out;
    putTag(out, arrayTag);
    put32(out, static_cast<uint32_t>(elements.size()));
    for (const Element& element : elements)
    {
        put32(out, element.spare);
        put32(out, element.declaredSize.value_or(sizeOf(element.body)));
    }
    for (const Element& element : elements)
        putBytes(out, element.body);
    return out;
}

Bytes arrayOf(std::string_view arrayTag, const std::vector<Bytes>& bodies)
{
    std::vector<Element> elements;
    elements.reserve(bodies.size());
    for (const Bytes& body : bodies)
        elements.push_back(Element{body});
    return arrayBody(arrayTag, elements);
}

Bytes stringBody(std::string_view text, uint32_t size)
{
    Bytes out(text.begin(), text.end());
    out.push_back(0);
    if (size != 0)
        out.resize(size, 0);
    return out;
}

Bytes rectBody(int16_t left, int16_t top, int16_t right, int16_t bottom, std::array<int16_t, 4> aux)
{
    Bytes out;
    for (int16_t value : aux)
        putS16(out, value);
    putS16(out, left);
    putS16(out, top);
    putS16(out, right);
    putS16(out, bottom);
    return out;
}

Bytes hotspotBody(int16_t posX, int16_t posY, uint8_t flags, uint8_t code, int16_t auxX, int16_t auxY)
{
    Bytes out;
    putS16(out, auxX);
    putS16(out, auxY);
    putS16(out, posX);
    putS16(out, posY);
    put8(out, flags);
    put8(out, code);
    put16(out, 0);
    return out;
}

Bytes optionsBody(uint32_t word)
{
    constexpr std::size_t kOptionsBytes = 32;
    Bytes out(kOptionsBytes, 0);
    for (std::size_t i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(word >> (8 * i));
    return out;
}

Bytes fontEntryBody(uint8_t value0, uint8_t value1)
{
    return {value0, value1, 0, 0};
}

Bytes primBody(const Prim& prim)
{
    Bytes out{prim.type, prim.mode, prim.cornerBits, prim.aux};
    if (prim.type < kPrimF4 || prim.type > kPrimGT4)
        return out;
    const bool textured = prim.type == kPrimFT4 || prim.type == kPrimGT4;
    const bool perVertex = prim.type == kPrimG4 || prim.type == kPrimGT4;
    if (textured)
    {
        put16(out, prim.textureId);
        put16(out, prim.textureAux);
    }
    putVertices(out, prim.vertices);
    const size_t colourCount = perVertex ? 4 : 1;
    for (size_t i = 0; i < colourCount; ++i)
        putColour(out, prim.colours[i]);
    return out;
}

Bytes primListBody(const PrimList& list)
{
    Bytes out;
    putS16(out, list.offsetX);
    putS16(out, list.offsetY);
    for (const Prim& prim : list.prims)
        putBytes(out, primBody(prim));
    put32(out, list.terminator);
    return out;
}

Bytes primSetBody(const std::vector<PrimList>& lists, uint32_t spare)
{
    Bytes out;
    put32(out, spare);
    put32(out, static_cast<uint32_t>(lists.size()));
    for (const PrimList& list : lists)
        putBytes(out, primListBody(list));
    return out;
}

std::vector<Child> gadgetChildren(const Gadget& gadget)
{
    std::vector<Child> children{
        {std::string(tag::kPrimSet), primSetBody(gadget.primLists)},
        {std::string(tag::kHotspotTable), hotspotTableBody(gadget.hotspots)},
        {std::string(tag::kRectTable), rectTableBody(gadget.rects)},
    };
    if (gadget.options)
        children.push_back({std::string(tag::kGadgetOptions), optionsBody(*gadget.options)});
    return children;
}

std::vector<Child> rootChildren(const Layout& layout)
{
    std::vector<std::string> names;
    std::vector<Bytes> gadgetBodies;
    for (const Gadget& gadget : layout.gadgets)
    {
        names.push_back(gadget.name);
        gadgetBodies.push_back(recordBody(gadgetChildren(gadget)));
    }
    std::vector<Child> children{{std::string(tag::kStringBank0), stringBankBody(tag::kStringBank0, names)}};
    children.insert(children.end(), layout.extraRootChunks.begin(), layout.extraRootChunks.end());
    children.push_back({std::string(tag::kStringBank1), stringBankBody(tag::kStringBank1, layout.strings1)});
    children.push_back({std::string(tag::kGadgetTable), arrayOf(tag::kGadgetTable, gadgetBodies)});
    children.push_back({std::string(tag::kFontTable), fontTableBody(layout.fonts)});
    return children;
}

Bytes mdfFile(const Layout& layout)
{
    return recordBody(rootChildren(layout));
}

bool writeFile(const std::string& path, const Bytes& bytes)
{
    std::string temporary = path + ".tmp-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    // mkstemp creates the file private to its owner; give it ordinary permissions.
    bool ok = ::fchmod(fd, 0644) == 0 && writeAll(fd, bytes);
    ok = (::close(fd) == 0) && ok;
    ok = ok && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temporary.c_str());
    return ok;
}

} // namespace mdfwriter
