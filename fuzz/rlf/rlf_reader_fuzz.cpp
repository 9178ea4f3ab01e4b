// Fuzzes the render-list reader and, for files it accepts, both reports.
//
// The reader checks every offset, size and box against the writer's layout,
// so a file it accepts must be exactly the file the writer would make from
// what was read: the target writes it again and compares.
#include "RlfJsonReport.h"
#include "RlfReader.h"
#include "RlfTextReport.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{

// A broken invariant must stop the run where libFuzzer sees it as a crash.
void check(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "rlf_reader_fuzz: %s\n", what);
    std::abort();
}

class Encoder
{
public:
    explicit Encoder(rlfinfo::ByteOrder order) : m_order(order) {}

    void put(uint32_t value, int width)
    {
        for (int i = 0; i < width; ++i)
            bytes.push_back(static_cast<uint8_t>(
                value >> (m_order == rlfinfo::ByteOrder::LittleEndian ? 8 * i : 8 * (width - 1 - i))));
    }
    void putArea(int16_t a, int16_t b, int16_t c, int16_t d)
    {
        for (int16_t value : {a, b, c, d})
            put(static_cast<uint16_t>(value), 2);
    }

    std::vector<uint8_t> bytes;

private:
    rlfinfo::ByteOrder m_order;
};

// The file the writer makes from `contents`, with the offsets as read.
std::vector<uint8_t> encode(const rlfinfo::Contents& contents)
{
    Encoder out(contents.byteOrder);
    out.put(static_cast<uint32_t>(contents.gadgets.size()), 4);
    for (const rlfinfo::Gadget& gadget : contents.gadgets)
        out.put(gadget.offset, 4);
    for (const rlfinfo::Gadget& gadget : contents.gadgets)
    {
        out.putArea(gadget.box.x, gadget.box.y, gadget.box.w, gadget.box.h);
        out.put(gadget.childAreasOffset, 4);
        out.put(gadget.hotspotsOffset, 4);
        out.put(gadget.renderListOffset, 4);
        for (const rlfinfo::Area& area : gadget.childAreas)
            out.putArea(area.x, area.y, area.w, area.h);
        for (const rlfinfo::Hotspot& hotspot : gadget.hotspots)
            out.putArea(hotspot.flagsA, hotspot.flagsB, hotspot.x, hotspot.y);
        if (gadget.entries.empty())
            continue;
        out.put(static_cast<uint32_t>(gadget.entries.size()), 4);
        for (const rlfinfo::Entry& entry : gadget.entries)
            out.put(entry.offset, 4);
        for (const rlfinfo::Entry& entry : gadget.entries)
        {
            out.put(static_cast<uint8_t>(entry.kind), 1);
            out.put(entry.modeLow, 1);
            out.put(static_cast<uint16_t>(entry.textureId), 2);
            for (const rlfinfo::Point& point : entry.points)
            {
                out.put(static_cast<uint16_t>(point.x), 2);
                out.put(static_cast<uint16_t>(point.y), 2);
            }
            for (uint32_t colour : entry.colours)
                out.put(colour, 4);
        }
    }
    return out.bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const rlfinfo::ReadResult result = rlfinfo::readRlf({data, size});
    if (result.damage)
    {
        check(result.damage->offset <= size, "damage reported past the end of the file");
        check(!result.damage->what.empty(), "damage without a reason");
        check(result.contents.gadgets.empty(), "damaged file left gadgets behind");
        return 0;
    }
    const rlfinfo::Contents& contents = result.contents;
    check(contents.fileSize == size, "size differs from the input");
    check(encode(contents) == std::vector<uint8_t>(data, data + size),
          "accepted file is not the writer's file");
    const std::string text = rlfinfo::textReport(contents);
    check(text.rfind("gadgets ", 0) == 0, "text report without its header");
    const nlohmann::json json = nlohmann::json::parse(rlfinfo::jsonReport(contents), nullptr, false);
    check(!json.is_discarded(), "JSON report does not parse");
    check(json["gadgets"].size() == contents.gadgets.size(), "JSON report lost gadgets");
    return 0;
}
