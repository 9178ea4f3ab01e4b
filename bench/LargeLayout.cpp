#include "LargeLayout.h"

#include <cstdint>
#include <string>

namespace
{

using namespace mdfwriter;

// A small fixed-seed generator, so coordinates and colours vary without
// making the file depend on the standard library's engines.
class Sequence
{
public:
    uint32_t next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int16_t coordinate(int range) { return static_cast<int16_t>(next() % static_cast<uint32_t>(range)); }
    uint8_t byte() { return static_cast<uint8_t>(next()); }

private:
    uint32_t m_state = 12345;
};

Prim makePrim(Sequence& seq, std::size_t index)
{
    static constexpr uint8_t kTypes[] = {kPrimF4, kPrimG4, kPrimFT4, kPrimGT4};
    Prim prim{.type = kTypes[index % 4], .mode = static_cast<uint8_t>(seq.byte() & 7)};
    prim.cornerBits = seq.byte();
    prim.textureId = static_cast<uint16_t>(seq.next() % 8);
    const int16_t x = seq.coordinate(300);
    const int16_t y = seq.coordinate(220);
    const auto right = static_cast<int16_t>(x + 1 + seq.coordinate(40));
    const auto bottom = static_cast<int16_t>(y + 1 + seq.coordinate(40));
    prim.vertices = {{{x, y}, {right, y}, {x, bottom}, {right, bottom}}};
    for (Colour& colour : prim.colours)
        colour = {seq.byte(), seq.byte(), seq.byte(), 0};
    return prim;
}

Gadget makeGadget(Sequence& seq, std::size_t index, std::size_t primitives)
{
    Gadget gadget;
    gadget.name = "Gadget" + std::to_string(index);
    const int16_t x = seq.coordinate(280);
    const int16_t y = seq.coordinate(200);
    const std::size_t vectors = 1 + index % 2;
    for (std::size_t v = 0; v < vectors; ++v)
    {
        const auto offset = static_cast<int16_t>(4 * v);
        gadget.rects.push_back({{static_cast<int16_t>(x + offset), static_cast<int16_t>(y + offset),
                                 static_cast<int16_t>(x + 40), static_cast<int16_t>(y + 20)}});
        gadget.hotspots.push_back({{.posX = static_cast<int16_t>(x + 10 + offset),
                                    .posY = static_cast<int16_t>(y + 10),
                                    .flags = static_cast<uint8_t>(seq.byte() & 0x0F),
                                    .code = static_cast<uint8_t>(v)}});
    }
    PrimList list{.offsetX = x, .offsetY = y};
    list.prims.reserve(primitives);
    for (std::size_t p = 0; p < primitives; ++p)
        list.prims.push_back(makePrim(seq, p));
    gadget.primLists.push_back(std::move(list));
    gadget.options = static_cast<uint32_t>(index % 3);
    return gadget;
}

} // namespace

Bytes makeLargeMdf(const LargeLayoutShape& shape)
{
    Sequence seq;
    Layout layout;
    layout.gadgets.reserve(shape.gadgets);
    for (std::size_t i = 0; i < shape.gadgets; ++i)
        layout.gadgets.push_back(makeGadget(seq, i, shape.primitivesPerGadget));
    layout.strings1 = {"Large layout"};
    layout.fonts = {{{8, 12}, {10, 14}}};
    return mdfFile(layout);
}
