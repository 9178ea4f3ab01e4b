#include "PixelFont.h"

#include <array>

namespace
{

// Five rows of three pixels, top row in the highest bits, the leftmost pixel
// of a row in its highest bit.
constexpr uint16_t glyph(uint16_t r0, uint16_t r1, uint16_t r2, uint16_t r3, uint16_t r4)
{
    return static_cast<uint16_t>(r0 << 12 | r1 << 9 | r2 << 6 | r3 << 3 | r4);
}

constexpr std::array<uint16_t, 10> kDigits{
    glyph(07, 05, 05, 05, 07), glyph(02, 06, 02, 02, 07), glyph(07, 01, 07, 04, 07),
    glyph(07, 01, 07, 01, 07), glyph(05, 05, 07, 01, 01), glyph(07, 04, 07, 01, 07),
    glyph(07, 04, 07, 05, 07), glyph(07, 01, 01, 01, 01), glyph(07, 05, 07, 05, 07),
    glyph(07, 05, 07, 01, 07),
};
constexpr uint16_t kMinus = glyph(0, 0, 07, 0, 0);

uint16_t glyphOf(char c)
{
    if (c >= '0' && c <= '9')
        return kDigits[static_cast<std::size_t>(c - '0')];
    return c == '-' ? kMinus : 0;
}

} // namespace

void drawLabel(Canvas& canvas, int64_t x, int64_t y, std::string_view text)
{
    const int32_t width = labelWidth(text);
    for (int64_t row = 0; row < kLabelHeight; ++row)
        for (int64_t column = 0; column < width; ++column)
            canvas.plot(x + column, y + row, kLabelPlate);
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const uint16_t bits = glyphOf(text[i]);
        const int64_t left = x + 1 + static_cast<int64_t>(i) * (kGlyphWidth + 1);
        for (int32_t row = 0; row < kGlyphHeight; ++row)
            for (int32_t column = 0; column < kGlyphWidth; ++column)
            {
                const int shift = (kGlyphHeight - 1 - row) * kGlyphWidth + (kGlyphWidth - 1 - column);
                if ((bits >> shift) & 1)
                    canvas.plot(left + column, y + 1 + row, kLabelText);
            }
    }
}
