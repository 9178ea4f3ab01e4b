// Colour reduction as the converter applies it: the depth a reduced texture
// takes, the rules every reduced pixel keeps (black stays the only black, STP
// as it was), the least error where the best palette is plain to see, the
// "Reduced" line, and the same result on a second run.
#include "CapturingReporter.h"
#include "TgaWriter.h"
#include "convert/PsxConvert.h"

#include <gtest/gtest.h>

#include <set>

namespace
{

struct Pixel5 // 5-bit channels
{
    int r, g, b;
    uint8_t alpha = 255;
};
using Pixels = std::vector<Pixel5>;

// `count` pixels in turn of 16 colours 8 steps apart in red and green.
Pixels spread(uint8_t alpha, int blue = 8, int count = 16)
{
    Pixels colours;
    for (int i = 0; i < count; ++i)
        colours.push_back({4 + 8 * (i % 4), 4 + 8 * (i / 4 % 4), blue, alpha});
    return colours;
}

Pixels operator+(Pixels a, const Pixels& b)
{
    return a.insert(a.end(), b.begin(), b.end()), a;
}

// `shown`: each pixel's PSX colour, through the CLUT.
// clang-format off
struct Reduced { TimKind kind = TimKind::Direct16; std::vector<uint16_t> shown; std::string out; };
// clang-format on

Reduced reduce(const Pixels& five, ReductionSettings reduction, bool paletteOnly = false)
{
    std::vector<tgawriter::Rgba> pixels; // channels at 8 x the 5-bit value round back to it
    for (const Pixel5& p : five)
        pixels.push_back({uint8_t(p.r * 8), uint8_t(p.g * 8), uint8_t(p.b * 8), p.alpha});
    ColourTable colours;
    CapturingReporter reporter;
    ConversionSettings settings;
    settings.Reduction = reduction;
    settings.PaletteOnly = paletteOnly;
    const auto rows = static_cast<int>(five.size() / 2);
    const std::optional<TimImage> tim = ConvertToPsx(
        settings, colours, reporter, reinterpret_cast<uint8_t*>(pixels.data()), 2, rows, "T.TGA");
    Reduced result{tim ? tim->Kind : TimKind::Direct16, {}, reporter.output()};
    for (std::size_t i = 0; tim && i < five.size(); ++i)
    {
        const uint8_t* row = tim->Texels.data() + i / 2 * (tim->Texels.size() / rows);
        const unsigned index = tim->Kind == TimKind::Indexed8 ? row[i % 2] : row[0] >> 4 * (i % 2) & 0xF;
        result.shown.push_back(tim->Clut.at(index));
    }
    return result;
}

TEST(Reduction, DepthRulesErrorAndText)
{
    Pixels gradient; // 256 colours, STP on every other row
    for (int i = 0; i < 256; ++i)
        gradient.push_back({i % 32, i / 32 * 4, 31 - i % 32, uint8_t(i / 32 % 2 ? 255 : 0)});
    Pixels many; // 300 colours, each twice
    for (int i = 0; i < 600; ++i)
        many.push_back({i / 2 % 31 + 1, i / 62, 7});
    const Pixels near = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const Pixels nearBlack = Pixels{{0, 0, 0}, {0, 0, 0, 0}} + spread(255, 8, 14) + near + near;
    // `error`: the least squared 5-bit error, -1 when not known; `out`: the whole output, when it is known.
    // clang-format off
    const struct { const char* what; ReductionSettings reduction; Pixels pixels; TimKind kind; long error = -1; std::string out = ""; } cases[] = {
        {"each near colour joins its far partner", {16, 50},
         spread(255, 8, 48) + Pixels{{5, 4, 8}, {12, 13, 8}, {20, 21, 8}, {28, 27, 8}}, TimKind::Indexed4, 4,
         "Reduced T.TGA from 20 to 16 colours, PSNR 45.7 dB\n"},
        {"STP and opaque twins keep apart; both blacks are one", {16, 50},
         spread(255) + spread(0) + Pixels{{0, 0, 0, 0}, {0, 0, 0, 255}}, TimKind::Indexed4},
        {"three colours next to black share an entry, which must not be black", {16, 0}, nearBlack, TimKind::Indexed4, 8,
         "Reduced T.TGA from 19 to 16 colours, PSNR 39.0 dB\n"},
        {"dithered: the rules hold all the same", {16, 100}, gradient, TimKind::Indexed4},
        {"300 colours to 256", {256, 50}, many, TimKind::Indexed8},
        {"alpha alone told colours apart: nothing lost", {16, 50}, spread(255, 3) + spread(128, 3),
         TimKind::Indexed4, 0, "Reduced T.TGA from 32 to 16 colours, PSNR inf dB\n"},
        {"16 colours are left as they are", {16, 50}, spread(255), TimKind::Indexed4, 0},
        {"256 colours likewise", {256, 50}, gradient, TimKind::Indexed8, 0,
         "Image T.TGA with 256 colours couldn't be saved as 4 BPP.\ndefaulting to 8 BPP.\n"},
        // clang-format on
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const Reduced first = reduce(c.pixels, c.reduction);
        EXPECT_EQ(first.kind, c.kind);
        EXPECT_EQ(first.shown, reduce(c.pixels, c.reduction).shown) << "a second run differs";
        EXPECT_TRUE(c.error < 0 || first.out == c.out) << first.out;
        ASSERT_EQ(first.shown.size(), c.pixels.size());
        long error = 0;
        for (std::size_t i = 0; i < c.pixels.size(); ++i)
        {
            const Pixel5& in = c.pixels[i];
            const uint16_t shown = first.shown[i];
            const bool black = in.r == 0 && in.g == 0 && in.b == 0;
            ASSERT_EQ(shown == 0, black) << "pixel " << i;
            ASSERT_TRUE(black || (shown & 0x8000) == (in.alpha == 0 ? 0x8000 : 0)) << "STP of pixel " << i;
            const int dr = in.r - (shown & 31), dg = in.g - (shown >> 5 & 31), db = in.b - (shown >> 10 & 31);
            error += dr * dr + dg * dg + db * db;
        }
        EXPECT_LE(std::set<uint16_t>(first.shown.begin(), first.shown.end()).size(), c.reduction.MaxColours);
        EXPECT_TRUE(c.error < 0 || error == c.error) << error;
        EXPECT_LT(error, 64 * long(c.pixels.size())) << "pixels moved further than to a neighbour";
    }
}

TEST(Reduction, DitheringMovesErrorAndPaletteOnlyTexturesAreNotReduced)
{
    Pixels ramp;
    for (int i = 0; i < 64; ++i)
        ramp.push_back({i / 2, 31 - i / 4, 9});
    EXPECT_NE(reduce(ramp, {16, 0}).shown, reduce(ramp, {16, 100}).shown);
    // A palette-only texture takes the colours of the texture before at its
    // first pixels: reducing it would put colours there that the CLUT lacks.
    EXPECT_EQ(reduce(ramp, {16, 0}, true).out.find("Reduced"), std::string::npos);
}

} // namespace
