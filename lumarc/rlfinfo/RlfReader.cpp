#include "RlfReader.h"

#include "RlfFormat.h"

#include <sstream>
#include <utility>

namespace rlfinfo
{

namespace
{

using rlf::kChildAreasField;
using rlf::kColourUnusedBits;
using rlf::kCountBytes;
using rlf::kEntryBytes;
using rlf::kGadgetHeaderBytes;
using rlf::kHotspotsField;
using rlf::kOffsetBytes;
using rlf::kRecordBytes;
using rlf::kRenderListField;
// Each gadget takes at least its offset in the table and its header.
constexpr uint64_t kSmallestGadgetBytes = kOffsetBytes + kGadgetHeaderBytes;

template <typename... Parts>
std::string words(const Parts&... parts)
{
    std::ostringstream text;
    (text << ... << parts);
    return text.str();
}

std::string gadgetName(uint64_t index)
{
    return words("gadget ", index);
}

// The box the writer's layout pass gives a gadget, by the writer's own rule:
// widened by every child area, hotspot and entry point, each value kept to
// its low 16 bits.
Area layoutBox(const Gadget& gadget)
{
    RlfBounds bounds = kEmptyRlfBounds;
    for (const Area& area : gadget.childAreas)
        area.accumulateBounds(bounds);
    for (const Hotspot& hotspot : gadget.hotspots)
        hotspot.accumulateBounds(bounds);
    for (const Entry& entry : gadget.entries)
        for (const Point& point : entry.points)
            bounds.include(point.x, point.y);
    const auto low16 = [](int32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFF)); };
    return Area{low16(bounds.minX), low16(bounds.minY), low16(bounds.maxX - bounds.minX),
                low16(bounds.maxY - bounds.minY)};
}

std::string boxText(const Area& box)
{
    return words(box.x, ' ', box.y, ' ', box.w, ' ', box.h);
}

class Parser
{
public:
    Parser(std::span<const uint8_t> bytes, ByteOrder order) : m_in(bytes, order)
    {
        m_result.contents.fileSize = bytes.size();
        m_result.contents.byteOrder = order;
    }

    ReadResult run()
    {
        if (!readFile())
            m_result.contents = Contents{};
        return std::move(m_result);
    }

private:
    bool fail(uint64_t offset, std::string what)
    {
        m_result.damage = Damage{offset, std::move(what)};
        return false;
    }
    bool failTruncated(const std::string& inside)
    {
        return fail(m_in.failureOffset(), words("the file ends inside ", inside));
    }

    [[nodiscard]] uint64_t size() const { return m_in.size(); }

    bool readFile()
    {
        m_in.seek(0);
        const uint32_t gadgetCount = m_in.u32();
        if (m_in.failed())
            return failTruncated("the gadget count");
        const uint64_t smallest = kCountBytes + kSmallestGadgetBytes * gadgetCount;
        if (smallest > size())
            return fail(0, words("gadget count ", gadgetCount, " needs at least ", smallest,
                                 " bytes, the file has ", size()));
        // The count is now bounded by the file's size, and so is the table.
        std::vector<uint32_t> gadgetOffsets(gadgetCount);
        for (uint32_t& offset : gadgetOffsets)
            offset = m_in.u32();
        m_result.contents.offsetsChecked = gadgetCount;
        m_result.contents.gadgets.reserve(gadgetCount);

        uint64_t expected = kCountBytes + kOffsetBytes * gadgetCount;
        for (uint64_t i = 0; i < gadgetCount; ++i)
        {
            if (gadgetOffsets[i] != expected)
                return fail(kCountBytes + kOffsetBytes * i,
                            words(gadgetName(i), " offset is ", gadgetOffsets[i], ", the layout puts it at ",
                                  expected));
            const bool last = i + 1 == gadgetCount;
            const uint64_t end = last ? size() : gadgetOffsets[i + 1];
            uint64_t gadgetSize = 0;
            if (!readGadget(i, expected, end, last, gadgetSize))
                return false;
            expected += gadgetSize;
        }
        if (expected != size())
            return fail(expected, words("the layout ends the file at byte ", expected, ", but ",
                                        size() - expected, " more bytes follow"));
        return true;
    }

    // Reads gadget `index` at `start`. Its child areas and hotspots are not
    // counted anywhere: they fill the bytes up to its render list, or, for a
    // gadget without entries, up to `end`, where the next gadget starts (the
    // end of the file for the last one).
    bool readGadget(uint64_t index, uint64_t start, uint64_t end, bool last, uint64_t& gadgetSize)
    {
        const std::string name = gadgetName(index);
        Gadget gadget;
        gadget.offset = static_cast<uint32_t>(start);
        m_in.seek(start);
        gadget.box = Area{m_in.i16(), m_in.i16(), m_in.i16(), m_in.i16()};
        gadget.childAreasOffset = m_in.u32();
        gadget.hotspotsOffset = m_in.u32();
        gadget.renderListOffset = m_in.u32();
        if (m_in.failed())
            return failTruncated(words(name, "'s header"));
        m_result.contents.offsetsChecked += 3;

        uint64_t recordsEnd = 0;
        if (!checkPartOffsets(index, start, end, last, gadget, recordsEnd))
            return false;
        const uint64_t records = start + kGadgetHeaderBytes;
        const uint64_t hotspots = gadget.hotspotsOffset != 0 ? gadget.hotspotsOffset : recordsEnd;
        if (!readRecords(name, records, hotspots, recordsEnd, gadget))
            return false;
        uint64_t listSize = 0;
        if (gadget.renderListOffset != 0 && !readRenderList(name, gadget, listSize))
            return false;
        const Area box = layoutBox(gadget);
        if (!(box == gadget.box))
            return fail(start,
                        words(name, " box is ", boxText(gadget.box), ", its contents give ", boxText(box)));
        gadgetSize = recordsEnd - start + listSize;
        m_result.contents.gadgets.push_back(std::move(gadget));
        return true;
    }

    // Checks the three part offsets against the layout, which puts child
    // areas right after the header, hotspots after them and the render list
    // after those, and stores 0 for a missing part. Sets `recordsEnd`, where
    // the gadget's last record ends.
    bool checkPartOffsets(uint64_t index, uint64_t start, uint64_t end, bool last, const Gadget& gadget,
                          uint64_t& recordsEnd)
    {
        const std::string name = gadgetName(index);
        const uint64_t records = start + kGadgetHeaderBytes;
        const uint64_t childAreas = gadget.childAreasOffset;
        const uint64_t hotspots = gadget.hotspotsOffset;
        const uint64_t renderList = gadget.renderListOffset;
        const auto whole = [&](uint64_t at) { return at >= records && (at - records) % kRecordBytes == 0; };

        if (childAreas != 0 && childAreas != records)
            return fail(start + kChildAreasField, words(name, " child areas offset is ", childAreas,
                                                        ", the layout puts them at ", records));
        if (hotspots != 0 && childAreas == 0 && hotspots != records)
            return fail(start + kHotspotsField,
                        words(name, " hotspots offset is ", hotspots,
                              ", without child areas the layout puts them at ", records));
        if (hotspots != 0 && childAreas != 0 && (hotspots == records || !whole(hotspots)))
            return fail(start + kHotspotsField,
                        words(name, " hotspots offset is ", hotspots,
                              ", the layout puts them after the child areas, at ", records + kRecordBytes,
                              " or later in steps of ", kRecordBytes));

        // Where the records may end: each part that is present has at least
        // one record, and without either part there are none.
        const uint64_t fewest = hotspots != 0     ? hotspots + kRecordBytes
                                : childAreas != 0 ? records + kRecordBytes
                                                  : records;
        const bool exact = childAreas == 0 && hotspots == 0;
        if (renderList != 0)
        {
            if (exact ? renderList != records : renderList < fewest || !whole(renderList))
                return fail(start + kRenderListField,
                            exact ? words(name, " render list offset is ", renderList,
                                          ", without child areas or hotspots the layout puts it at ", records)
                                  : words(name, " render list offset is ", renderList,
                                          ", the layout puts it after the records, at ", fewest,
                                          " or later in steps of ", kRecordBytes));
            if (renderList > size() || size() - renderList < kCountBytes)
                return fail(start + kRenderListField,
                            words(name, " render list offset ", renderList, " is past the end of the file (",
                                  size(), " bytes)"));
            recordsEnd = renderList;
            return true;
        }
        if (exact)
        {
            // The gadget is its header alone; a next gadget that starts
            // elsewhere is reported at its own offset.
            recordsEnd = records;
            return true;
        }
        if (end <= size() && end >= fewest && whole(end))
        {
            recordsEnd = end;
            return true;
        }
        if (last)
        {
            const uint64_t cut =
                end < records ? records : records + (end - records) / kRecordBytes * kRecordBytes;
            return fail(cut, words("the file ends inside ", name, "'s records"));
        }
        const uint64_t nextField = kCountBytes + kOffsetBytes * (index + 1);
        if (end > size())
            return fail(nextField, words(gadgetName(index + 1), " offset ", end,
                                         " is past the end of the file (", size(), " bytes)"));
        return fail(nextField, words(gadgetName(index + 1), " offset is ", end, ", which cuts ", name,
                                     "'s records: they start at ", records, " and take ", kRecordBytes,
                                     " bytes each, at least up to ", fewest));
    }

    bool readRecords(const std::string& name, uint64_t records, uint64_t hotspots, uint64_t recordsEnd,
                     Gadget& gadget)
    {
        // Both ranges lie inside the file, which bounds the reservations.
        m_in.seek(records);
        if (gadget.childAreasOffset != 0)
        {
            gadget.childAreas.reserve((hotspots - records) / kRecordBytes);
            while (m_in.offset() < hotspots)
            {
                const uint64_t at = m_in.offset();
                gadget.childAreas.push_back(Area{m_in.i16(), m_in.i16(), m_in.i16(), m_in.i16()});
                if (m_in.failed())
                    return failTruncated(words(name, "'s child area at ", at));
            }
        }
        if (gadget.hotspotsOffset != 0)
        {
            gadget.hotspots.reserve((recordsEnd - hotspots) / kRecordBytes);
            while (m_in.offset() < recordsEnd)
            {
                const uint64_t at = m_in.offset();
                gadget.hotspots.push_back(Hotspot{m_in.i16(), m_in.i16(), m_in.i16(), m_in.i16()});
                if (m_in.failed())
                    return failTruncated(words(name, "'s hotspot at ", at));
            }
        }
        return true;
    }

    bool readRenderList(const std::string& name, Gadget& gadget, uint64_t& listSize)
    {
        const uint64_t list = gadget.renderListOffset;
        m_in.seek(list);
        const uint32_t count = m_in.u32(); // readable: checked with the offset
        if (count == 0)
            return fail(list, words(name, " render list count is 0; the layout stores no list for a gadget "
                                          "without entries"));
        listSize = rlf::renderListBytes(count);
        if (listSize > size() - list)
            return fail(list, words(name, " render list count ", count, " needs ", listSize,
                                    " bytes from byte ", list, ", the file has ", size()));
        const uint64_t firstEntry = list + kCountBytes + kOffsetBytes * count;
        for (uint64_t k = 0; k < count; ++k)
        {
            const uint64_t field = m_in.offset();
            const uint32_t stored = m_in.u32();
            const uint64_t expected = firstEntry + kEntryBytes * k;
            if (stored != expected)
                return fail(field, words(name, " entry ", k, " offset is ", stored,
                                         ", the layout puts it at ", expected));
        }
        m_result.contents.offsetsChecked += count;
        gadget.entries.reserve(count);
        for (uint64_t k = 0; k < count; ++k)
        {
            Entry entry;
            entry.offset = static_cast<uint32_t>(m_in.offset());
            const uint8_t kind = m_in.u8();
            if (kind != static_cast<uint8_t>(EntryKind::Untextured) &&
                kind != static_cast<uint8_t>(EntryKind::Textured))
                return fail(entry.offset, words(name, " entry ", k, " has unknown kind ", unsigned{kind}));
            entry.kind = static_cast<EntryKind>(kind);
            entry.modeLow = m_in.u8();
            entry.textureId = m_in.i16();
            for (Point& point : entry.points)
                point = Point{m_in.i16(), m_in.i16()};
            for (uint32_t& colour : entry.colours)
            {
                const uint64_t field = m_in.offset();
                colour = m_in.u32();
                // The top byte is unused: a colour there would be lost in
                // the #RRGGBB form, so it is not taken for a colour.
                if ((colour & kColourUnusedBits) != 0)
                    return fail(field, words(name, " entry ", k, " has colour word 0x", std::hex, colour,
                                             std::dec, " with its unused top byte set"));
            }
            gadget.entries.push_back(entry);
        }
        return true;
    }

    ByteReader m_in;
    ReadResult m_result;
};

// True when the header read in `order` is one the writer could have made.
bool headerFits(std::span<const uint8_t> bytes, ByteOrder order)
{
    ByteReader in(bytes, order);
    const uint64_t count = in.u32();
    const uint64_t firstOffset = in.u32();
    return !in.failed() && count > 0 && kCountBytes + kSmallestGadgetBytes * count <= bytes.size() &&
           firstOffset == kCountBytes + kOffsetBytes * count;
}

} // namespace

ByteOrder detectByteOrder(std::span<const uint8_t> bytes)
{
    if (!headerFits(bytes, ByteOrder::LittleEndian) && headerFits(bytes, ByteOrder::BigEndian))
        return ByteOrder::BigEndian;
    return ByteOrder::LittleEndian;
}

ReadResult readRlf(std::span<const uint8_t> bytes)
{
    return Parser(bytes, detectByteOrder(bytes)).run();
}

} // namespace rlfinfo
