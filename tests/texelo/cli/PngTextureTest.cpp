// PNG textures through the texelo program: a picture of every PNG kind makes
// the bank its Targa twin makes, byte for byte.

#include "Bytes.h"
#include "PngWriter.h"
#include "ProgramInputs.h"

#include <gtest/gtest.h>

namespace
{

using pngwriter::encodePng;
using pngwriter::PngImage;
using tgawriter::Rgba;

constexpr int kWidth = 8, kHeight = 4;

// clang-format off
struct Kind { const char* what; int type, depth; bool interlaced = false, trns = false; };
// clang-format on

// Channel c (3: alpha) of pixel p, as a Targa file holds it. Colour channels
// are 8k + 4 below 100: rounding 16 bits to 8 keeps them, cutting to the
// high byte loses one, and the 5-bit reduction tells the two apart.
uint8_t truth(const Kind& kind, int p, int c)
{
    const int top = (1 << kind.depth) - 1, key = kind.type == 3 ? p % 4 : p;
    if (c == 3)
        return kind.type >= 4 || kind.trns ? std::array<uint8_t, 3>{0, 255, 128}[key % 3] : 0;
    if ((kind.type & 2) == 0 && kind.depth < 8)
        return static_cast<uint8_t>(p % (top + 1) * 255 / top);
    return static_cast<uint8_t>(8 * ((key * 3 + ((kind.type & 2) ? c : 0) * 5) % 12) + 4);
}

// The PNG file of a kind: 16-bit samples lie just below their 8-bit place.
PngImage pngOf(const Kind& kind)
{
    PngImage png{kWidth, kHeight, kind.type, kind.depth, {}, {}, {}, kind.interlaced};
    const auto sample = [&](int value, int below)
    { png.samples.push_back(static_cast<uint16_t>(kind.depth == 16 ? value * 257 - below : value)); };
    for (int p = 0; p < kWidth * kHeight; ++p)
    {
        if (kind.type == 3 || ((kind.type & 2) == 0 && kind.depth < 8))
            png.samples.push_back(static_cast<uint16_t>(p % (kind.type == 3 ? 4 : 1 << kind.depth)));
        else
            for (int c = 0; c < ((kind.type & 2) ? 3 : 1); ++c)
                sample(truth(kind, p, c), 100);
        if (kind.type >= 4)
            sample(truth(kind, p, 3), 0);
    }
    for (int k = 0; kind.type == 3 && k < 4; ++k)
    {
        png.palette.push_back({truth(kind, k, 0), truth(kind, k, 1), truth(kind, k, 2)});
        if (kind.trns)
            png.transparent.push_back(truth(kind, k, 3));
    }
    return png;
}

TEST(PngTextures, EveryKindMakesTheBankItsTargaTwinMakes)
{
    const Kind kinds[] = {
        // clang-format off
        {"RGB", 2, 8}, {"RGB, 16 bits", 2, 16}, {"RGBA", 6, 8}, {"RGBA, 16 bits", 6, 16},
        {"RGBA, interlaced", 6, 8, true}, {"grey, 1 bit", 0, 1}, {"grey, 2 bits", 0, 2}, {"grey, 4 bits", 0, 4},
        {"grey", 0, 8}, {"grey, 16 bits", 0, 16}, {"grey and alpha", 4, 8}, {"grey and alpha, 16 bits", 4, 16},
        {"palette", 3, 8}, {"palette with tRNS", 3, 8, false, true},
        {"palette with tRNS, 4 bits, interlaced", 3, 4, true, true},
        // clang-format on
    };
    for (const Kind& kind : kinds)
    {
        SCOPED_TRACE(kind.what);
        std::vector<Rgba> pixels;
        for (int p = 0; p < kWidth * kHeight; ++p)
            pixels.push_back({truth(kind, p, 0), truth(kind, p, 1), truth(kind, p, 2), truth(kind, p, 3)});
        const bool alpha = kind.type >= 4 || kind.trns;
        TempFolder folder;
        folder.write("a/T.tga",
                     tgawriter::encodeTga(tgawriter::fromColours(kWidth, kHeight, pixels, alpha ? 32 : 24)));
        folder.write("b/T.png", encodePng(pngOf(kind)));
        for (const char* folderName : {"a", "b"})
        {
            folder.write(std::string(folderName) + "/t.fit", "T\nFIT: bank\n");
            EXPECT_EQ(texelo({"-q", "t.fit", "/c"}, folder.file(folderName)).exitStatus, 0);
        }
        EXPECT_EQ(folder.read("a/BANK.TBK").size(), 108u);
        EXPECT_EQ(folder.read("a/BANK.TBK"), folder.read("b/BANK.TBK"));
    }
}

} // namespace
