#include "MdfWriter.h"

#include <cstdio>
#include <fstream>
#include <initializer_list>

namespace mdfwriter
{

namespace
{

void append(Bytes& out, const Bytes& bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// The values as little-endian s16, then `tail`.
Bytes s16s(std::initializer_list<int16_t> values, const Bytes& tail = {})
{
    Bytes out;
    for (int16_t value : values)
        put16(out, static_cast<uint16_t>(value));
    append(out, tail);
    return out;
}

template <typename Item, typename Encode>
Bytes tableOf(std::string_view tableTag, std::string_view vectorTag,
              const std::vector<std::vector<Item>>& table, Encode encode)
{
    std::vector<Bytes> vectors;
    for (const std::vector<Item>& items : table)
    {
        std::vector<Bytes> bodies;
        for (const Item& item : items)
            bodies.push_back(encode(item));
        vectors.push_back(arrayOf(vectorTag, bodies));
    }
    return arrayOf(tableTag, vectors);
}

Bytes stringBank(std::string_view bankTag, const std::vector<std::string>& texts)
{
    std::vector<Bytes> bodies;
    for (const std::string& text : texts)
        bodies.push_back(stringBody(text));
    return arrayOf(bankTag, bodies);
}

Bytes primListBody(const PrimList& list)
{
    Bytes out = s16s({list.offsetX, list.offsetY});
    for (const Prim& prim : list.prims)
    {
        append(out, {prim.type, prim.mode, prim.cornerBits, prim.aux});
        if (prim.type < kPrimF4 || prim.type > kPrimGT4)
            continue;
        if (prim.type == kPrimFT4 || prim.type == kPrimGT4)
        {
            put16(out, prim.textureId);
            put16(out, prim.textureAux);
        }
        for (const Vertex& vertex : prim.vertices)
            append(out, s16s({vertex.x, vertex.y}));
        const std::size_t colours = prim.type == kPrimG4 || prim.type == kPrimGT4 ? 4 : 1;
        for (std::size_t i = 0; i < colours; ++i)
            append(out, {prim.colours[i].r, prim.colours[i].g, prim.colours[i].b, prim.colours[i].pad});
    }
    put32(out, list.terminator);
    return out;
}

Bytes gadgetRecord(const Gadget& gadget)
{
    Bytes prims;
    put32(prims, 0);
    put32(prims, static_cast<uint32_t>(gadget.primLists.size()));
    for (const PrimList& list : gadget.primLists)
        append(prims, primListBody(list));
    std::vector<Child> children{
        {"MDFSVPI0", prims},
        {"MDFTVHS0", tableOf("MDFTVHS0", "MDFVHSP0", gadget.hotspots,
                             [](const Hotspot& h) {
                                 return s16s({h.auxX, h.auxY, h.posX, h.posY}, {h.flags, h.code, 0, 0});
                             })},
        {"MDFTVRE0",
         tableOf("MDFTVRE0", "MDFVREC0", gadget.rects,
                 [](const Rect& r) {
                     return s16s({r.aux[0], r.aux[1], r.aux[2], r.aux[3], r.left, r.top, r.right, r.bottom});
                 })},
    };
    if (gadget.options)
    {
        Bytes options;
        put32(options, *gadget.options);
        options.resize(32, 0);
        children.push_back({"MDFGPDO0", options});
    }
    return recordBody(children);
}

} // namespace

void put16(Bytes& out, uint16_t value)
{
    append(out, {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)});
}

void put32(Bytes& out, uint32_t value)
{
    put16(out, static_cast<uint16_t>(value));
    put16(out, static_cast<uint16_t>(value >> 16));
}

void putTag(Bytes& out, std::string_view tag8)
{
    for (std::size_t i = 0; i < 8; ++i)
        out.push_back(i < tag8.size() ? static_cast<uint8_t>(tag8[i]) : uint8_t{0});
}

Bytes recordBody(const std::vector<Child>& children)
{
    Bytes out;
    put32(out, static_cast<uint32_t>(children.size()));
    for (const Child& child : children)
    {
        putTag(out, child.tag);
        put32(out, child.spare);
        put32(out, child.declaredSize.value_or(static_cast<uint32_t>(child.body.size())));
    }
    for (const Child& child : children)
        append(out, child.body);
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
        put32(out, element.declaredSize.value_or(static_cast<uint32_t>(element.body.size())));
    }
    for (const Element& element : elements)
        append(out, element.body);
    return out;
}

Bytes arrayOf(std::string_view arrayTag, const std::vector<Bytes>& bodies)
{
    std::vector<Element> elements;
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

std::vector<Child> rootChildren(const Layout& layout)
{
    std::vector<std::string> names;
    std::vector<Bytes> records;
    for (const Gadget& gadget : layout.gadgets)
    {
        names.push_back(gadget.name);
        records.push_back(gadgetRecord(gadget));
    }
    std::vector<Child> children{{"MDFDSB00", stringBank(tag::kStringBank0, names)}};
    children.insert(children.end(), layout.extraRootChunks.begin(), layout.extraRootChunks.end());
    children.push_back({"MDFDSB01", stringBank(tag::kStringBank1, layout.strings1)});
    children.push_back({"MDFTGDG0", arrayOf("MDFTGDG0", records)});
    const Bytes fonts = tableOf("MDFLFTA0", "MDFLFNT0", layout.fonts,
                                [](const FontEntry& e) {
                                    return Bytes{e.value0, e.value1, 0, 0};
                                });
    children.push_back({"MDFFTAB0", recordBody({{"MDFLFTA0", fonts},
                                                {"MDFDSB00", stringBank(tag::kStringBank0, {})},
                                                {"MDFDSB01", stringBank(tag::kStringBank1, {})}})});
    return children;
}

Bytes mdfFile(const Layout& layout)
{
    return recordBody(rootChildren(layout));
}

bool writeFile(const std::string& path, const Bytes& bytes)
{
    const std::string temporary = path + ".tmp";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const bool written = static_cast<bool>(out.flush());
    out.close();
    if (written && std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}

} // namespace mdfwriter
