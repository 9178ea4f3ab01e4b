#pragma once

#include "image/Palette.h"
#include "image/PixelFormat.h"

#include <memory>

// Palette indices. Only 8-bit indices are read and written; at any other
// size every read gives 0xFFFFFFFF and writes store nothing.
class IndexedPixelFormat final : public PixelFormat
{
public:
    IndexedPixelFormat(int32_t bitsPerPixel, int32_t formatId, std::unique_ptr<Palette> palette);

    // Clones the palette too.
    [[nodiscard]] std::unique_ptr<PixelFormat> Clone() const override;
    [[nodiscard]] bool IsIndexed() const override { return true; }
    // The palette colour of the index.
    [[nodiscard]] uint32_t ReadColour(const uint8_t* pixel) const override;
    [[nodiscard]] uint32_t ReadRaw(const uint8_t* pixel) const override;
    void WriteRaw(uint32_t raw, uint8_t* pixel) const override;
    // The palette's nearest entry.
    [[nodiscard]] uint32_t MakeRaw(uint8_t a, uint8_t r, uint8_t g, uint8_t b) const override;
    // Indices of another indexed format are taken as they are, whatever
    // either palette holds; colours go through MakeRaw.
    [[nodiscard]] uint32_t ConvertFrom(uint32_t raw, const PixelFormat& source) const override;

    [[nodiscard]] const Palette* GetPalette() const { return m_Palette.get(); }

private:
    static constexpr int32_t kIndexBits = 8;
    static constexpr uint32_t kNoValue = 0xFFFFFFFF;

    std::unique_ptr<Palette> m_Palette;
};
