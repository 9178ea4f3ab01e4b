#include "ExpectedBank.h"

#include "TgaWriter.h"

#include <fstream>
#include <initializer_list>
#include <iterator>

namespace expected
{
namespace
{

void put16(Bytes& out, std::initializer_list<uint32_t> values)
{
    for (uint32_t value : values)
        out.insert(out.end(), {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)});
}

void put32(Bytes& out, std::initializer_list<uint32_t> values)
{
    for (uint32_t value : values)
        put16(out, {value & 0xFFFF, value >> 16});
}

void append(Bytes& out, const Bytes& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

} // namespace

Texture pattern(int width, int height, int count, uint16_t first)
{
    Texture texture{width, height, {}, {}};
    for (int i = 0; i < count; ++i)
        texture.colours.push_back(static_cast<uint16_t>(first + i));
    for (int i = 0; i < width * height; ++i)
        texture.pixels.push_back(static_cast<uint16_t>(i % count));
    return texture;
}

Texture recoloured(const Texture& texture, const std::vector<uint16_t>& colours)
{
    return {texture.width, texture.height, colours, texture.pixels};
}

uint16_t withStp(uint16_t colour)
{
    return colour == 0 ? 0 : static_cast<uint16_t>(colour | 0x8000);
}

Bytes targa(const Texture& texture)
{
    std::vector<tgawriter::Rgba> pixels;
    for (uint16_t index : texture.pixels)
    {
        const uint16_t c = texture.colours[index];
        pixels.push_back({static_cast<uint8_t>((c & 31) * 8), static_cast<uint8_t>(((c >> 5) & 31) * 8),
                          static_cast<uint8_t>(((c >> 10) & 31) * 8), 0});
    }
    return tgawriter::encodeTga(tgawriter::fromColours(texture.width, texture.height, pixels, 24));
}

int depth(const Texture& texture)
{
    return texture.colours.size() <= 16 ? 4 : texture.colours.size() <= 256 ? 8 : 16;
}

std::vector<uint16_t> ownClut(const Texture& texture, uint16_t clutSize8)
{
    std::vector<uint16_t> clut(depth(texture) == 4 ? 16 : clutSize8, 0);
    for (std::size_t i = 0; i < clut.size() && i < texture.colours.size(); ++i)
        clut[i] = withStp(texture.colours[i]);
    return clut;
}

Bytes tim(const Texture& texture, const TimFields& fields)
{
    const int bits = depth(texture);
    const uint32_t mode = bits == 4 ? 0 : bits == 8 ? 1 : 2;
    Bytes out;
    put32(out, {0x10, mode | (bits != 16 ? 8u : 0u) | (fields.semiTrans & 0x0Fu) << 4 |
                          (fields.semiTrans & 0x80u) << 8});
    if (bits != 16)
    {
        const std::vector<uint16_t> entries = fields.clutEntries.value_or(ownClut(texture, fields.clutSize8));
        put32(out, {static_cast<uint32_t>(12 + 2 * entries.size())});
        put16(out, {fields.clutX, fields.clutY,
                    fields.clutWidth.value_or(static_cast<uint16_t>(entries.size())), fields.clutRows});
        for (uint16_t entry : entries)
            put16(out, {entry});
    }
    const int words = bits == 4   ? (texture.width + 3) / 4
                      : bits == 8 ? (texture.width + 1) / 2
                                  : texture.width;
    put32(out, {static_cast<uint32_t>(12 + 2 * words * texture.height)});
    put16(out,
          {fields.x, fields.y, static_cast<uint32_t>(texture.width), static_cast<uint32_t>(texture.height)});
    for (int row = 0; row < texture.height; ++row)
    {
        Bytes texels(static_cast<std::size_t>(words) * 2, 0);
        for (int column = 0; column < texture.width; ++column)
        {
            const uint16_t index = texture.pixels[static_cast<std::size_t>(row * texture.width + column)];
            const auto at = static_cast<std::size_t>(column);
            if (bits == 4)
                texels[at / 2] = static_cast<uint8_t>(texels[at / 2] | index << (4 * (at % 2)));
            else if (bits == 8)
                texels[at] = static_cast<uint8_t>(index + fields.indexOffset);
            else
            {
                const uint16_t colour = withStp(texture.colours[index]);
                texels[2 * at] = static_cast<uint8_t>(colour);
                texels[2 * at + 1] = static_cast<uint8_t>(colour >> 8);
            }
        }
        append(out, texels);
    }
    return out;
}

Bytes record(uint32_t id, const Bytes& timImage)
{
    Bytes out;
    put32(out, {static_cast<uint32_t>(timImage.size()), id});
    append(out, timImage);
    return out;
}

Bytes paletteRecord(uint32_t tag, uint32_t id, uint16_t clutX, uint16_t clutY,
                    const std::vector<uint16_t>& row, uint16_t rows)
{
    Bytes out;
    put32(out, {static_cast<uint32_t>(row.size() * 2 + 8) | tag, id});
    put16(out, {clutX, clutY, static_cast<uint32_t>(row.size()), rows});
    for (uint16_t entry : row)
        put16(out, {entry});
    return out;
}

Bytes bank(uint32_t textureTotal, uint32_t separateRows, const std::vector<Group>& groups)
{
    Bytes out;
    put32(out, {textureTotal, separateRows});
    for (const Group& group : groups)
    {
        put32(out, {group.columns, group.lines, static_cast<uint32_t>(group.records.size())});
        for (const Bytes& one : group.records)
            append(out, one);
    }
    return out;
}

Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace expected
