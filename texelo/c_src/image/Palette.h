#pragma once

#include "image/PixelFormat.h"

#include <cstdint>
#include <memory>
#include <vector>

// The colours of an indexed format: Count entries of EntrySize bytes, each
// read through EntryFormat. Clones copy the entries and share the entry
// format, which lives as long as the last palette that uses it.
class Palette
{
public:
    // Copies Count x EntrySize bytes from `source` (zeros when it is null);
    // EntrySize is the entry format's bits per pixel / 8.
    Palette(const uint8_t* source, int32_t count, std::shared_ptr<const PixelFormat> entryFormat);
    Palette(const Palette&) = default;
    Palette& operator=(const Palette&) = delete;
    virtual ~Palette() = default;

    // Null when memory runs out.
    [[nodiscard]] virtual std::unique_ptr<Palette> Clone() const;
    // The ARGB colour of entry `index`; 0 for an index outside the palette.
    [[nodiscard]] virtual uint32_t GetColour(int32_t index) const;
    // This palette does no colour matching: every colour maps to entry 0.
    [[nodiscard]] virtual uint32_t FindNearest(uint8_t a, uint8_t r, uint8_t g, uint8_t b) const;

    [[nodiscard]] int32_t Count() const { return m_Count; }
    [[nodiscard]] int32_t EntrySize() const { return m_EntrySize; }
    [[nodiscard]] const PixelFormat* EntryFormat() const { return m_EntryFormat.get(); }
    [[nodiscard]] const std::vector<uint8_t>& Entries() const { return m_Entries; }

private:
    std::vector<uint8_t> m_Entries;
    int32_t m_Count;
    int32_t m_EntrySize;
    std::shared_ptr<const PixelFormat> m_EntryFormat;
};
