#pragma once

#include "ScriptFileChunk.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

// A chunk holding a counted run of elements of one class. Its body is the
// array's own tag (not checked), a count, a table of element sizes, and the
// element bodies. In memory an array holds at most 65535 elements.
template <typename T>
class ScriptFileArray : public ScriptFileChunk
{
public:
    static constexpr uint32_t kMaxElements = std::numeric_limits<uint16_t>::max();

    bool read(ScriptFileStream& stream, uint32_t size) override;

    [[nodiscard]] uint16_t count() const { return m_count; }
    [[nodiscard]] uint16_t capacity() const { return m_capacity; }
    // Element `index`, which must be below count().
    [[nodiscard]] T& at(uint16_t index) { return m_items[index]; }
    [[nodiscard]] const T& at(uint16_t index) const { return m_items[index]; }

private:
    uint16_t m_count = 0;
    uint16_t m_capacity = 0;
    std::unique_ptr<T[]> m_items;
};

template <typename T>
bool ScriptFileArray<T>::read(ScriptFileStream& stream, uint32_t /*size*/)
{
    constexpr uint64_t kElementEntryBytes = 8;
    const uint64_t countOffset = stream.position() + 8;
    char ownTag[8];
    stream.readBytes(ownTag, sizeof ownTag); // the array's tag is not checked
    uint32_t elementCount = 0;
    stream.read32(elementCount);
    if (stream.failed())
        return false;
    if (elementCount > kMaxElements)
    {
        stream.fail("array count " + std::to_string(elementCount) + " is above " +
                        std::to_string(kMaxElements),
                    countOffset);
        return false;
    }
    if (!stream.require(elementCount * kElementEntryBytes))
        return false;

    m_count = 0;
    if (elementCount > m_capacity)
    {
        m_items.reset();
        m_items = std::make_unique<T[]>(elementCount);
        m_capacity = static_cast<uint16_t>(elementCount);
    }
    m_count = static_cast<uint16_t>(elementCount);

    std::vector<uint32_t> sizes(elementCount);
    for (uint32_t& elementSize : sizes)
    {
        uint32_t spare = 0;
        stream.read32(spare).read32(elementSize);
    }
    for (uint32_t i = 0; i < elementCount && !stream.failed(); ++i)
        m_items[i].read(stream, sizes[i]);
    return !stream.failed();
}
