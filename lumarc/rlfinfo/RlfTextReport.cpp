#include "RlfTextReport.h"

#include <cstdio>

namespace rlfinfo
{

namespace
{

void add(std::string& out, const char* name, int64_t value)
{
    out += ' ';
    out += name;
    out += ' ';
    out += std::to_string(value);
}

void addArea(std::string& out, const Area& area)
{
    add(out, "x", area.x);
    add(out, "y", area.y);
    add(out, "w", area.w);
    add(out, "h", area.h);
}

void addEntry(std::string& out, std::size_t index, const Entry& entry)
{
    out += "  entry ";
    out += std::to_string(index);
    add(out, "offset", entry.offset);
    out += " kind ";
    out += kindName(entry.kind);
    add(out, "modeLow", entry.modeLow);
    add(out, "textureId", entry.textureId);
    out += " points";
    for (const Point& point : entry.points)
    {
        out += ' ';
        out += std::to_string(point.x);
        out += ',';
        out += std::to_string(point.y);
    }
    out += " colours";
    for (uint32_t colour : entry.colours)
    {
        out += ' ';
        out += colourText(colour);
    }
    out += '\n';
}

} // namespace

std::string colourText(uint32_t colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(colour & 0xFFFFFF));
    return text;
}

std::string textReport(const Contents& contents)
{
    std::string out;
    out += "gadgets ";
    out += std::to_string(contents.gadgets.size());
    out += "\nbytes ";
    out += std::to_string(contents.fileSize);
    out += "\nbyteOrder ";
    out += byteOrderName(contents.byteOrder);
    out += "\noffsetsChecked ";
    out += std::to_string(contents.offsetsChecked);
    out += '\n';
    for (std::size_t g = 0; g < contents.gadgets.size(); ++g)
    {
        const Gadget& gadget = contents.gadgets[g];
        out += "gadget ";
        out += std::to_string(g);
        add(out, "offset", gadget.offset);
        add(out, "childAreas", static_cast<int64_t>(gadget.childAreas.size()));
        add(out, "hotspots", static_cast<int64_t>(gadget.hotspots.size()));
        add(out, "entries", static_cast<int64_t>(gadget.entries.size()));
        out += "\n  box";
        addArea(out, gadget.box);
        out += "\n  offsets";
        add(out, "childAreas", gadget.childAreasOffset);
        add(out, "hotspots", gadget.hotspotsOffset);
        add(out, "renderList", gadget.renderListOffset);
        out += '\n';
        for (std::size_t i = 0; i < gadget.childAreas.size(); ++i)
        {
            out += "  childArea ";
            out += std::to_string(i);
            addArea(out, gadget.childAreas[i]);
            out += '\n';
        }
        for (std::size_t i = 0; i < gadget.hotspots.size(); ++i)
        {
            const Hotspot& hotspot = gadget.hotspots[i];
            out += "  hotspot ";
            out += std::to_string(i);
            add(out, "flagsA", hotspot.flagsA);
            add(out, "flagsB", hotspot.flagsB);
            add(out, "x", hotspot.x);
            add(out, "y", hotspot.y);
            out += '\n';
        }
        for (std::size_t i = 0; i < gadget.entries.size(); ++i)
            addEntry(out, i, gadget.entries[i]);
    }
    return out;
}

} // namespace rlfinfo
