// PNG textures and backdrop pictures through the texelo program: a picture
// of every PNG kind makes the bank its Targa twin makes, byte for byte; the
// places a PNG file is looked for; damaged files and backdrops.

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

// 8-bit channels 8k + 4 below 100: rounding 16 bits to 8 keeps them, cutting
// to the high byte loses one, and the 5-bit reduction tells the two apart.
uint8_t channel(int p, int c)
{
    return static_cast<uint8_t>(8 * ((p * 3 + c * 5) % 12) + 4);
}

uint8_t alphaOf(int p)
{
    return std::array<uint8_t, 3>{0, 255, 128}[p % 3];
}

struct Kind
{
    const char* what;
    int type, depth;
    bool interlaced = false;
};

// The PNG of a kind, and the pixels a Targa file of the same picture holds.
std::pair<PngImage, std::vector<Rgba>> twins(const Kind& kind)
{
    PngImage png{kWidth, kHeight, kind.type, kind.depth};
    png.interlaced = kind.interlaced;
    std::vector<Rgba> pixels;
    const bool grey = (kind.type & 2) == 0, alpha = kind.type >= 4;
    const auto sample = [&](uint8_t value) // 16-bit samples just below the value's place
    { png.samples.push_back(static_cast<uint16_t>(kind.depth == 16 ? value * 257 - 100 : value)); };
    for (int p = 0; p < kWidth * kHeight; ++p)
    {
        const int top = (1 << kind.depth) - 1;
        const uint8_t level =
            kind.depth < 8 ? static_cast<uint8_t>(p % (top + 1) * 255 / top) : channel(p, 0);
        Rgba colour =
            grey ? Rgba{level, level, level, 0} : Rgba{channel(p, 0), channel(p, 1), channel(p, 2), 0};
        if (kind.type == 3)
            colour = {channel(p % 4, 0), channel(p % 4, 1), channel(p % 4, 2), alphaOf(p % 4)};
        if (alpha)
            colour.a = alphaOf(p);
        pixels.push_back(colour);
        if (kind.type == 3)
            png.samples.push_back(static_cast<uint16_t>(p % 4));
        else if (grey && kind.depth < 8)
            png.samples.push_back(static_cast<uint16_t>(p % (top + 1)));
        else
            for (int c = 0; c < (grey ? 1 : 3); ++c)
                sample(channel(p, c));
        if (alpha)
            png.samples.push_back(static_cast<uint16_t>(alphaOf(p) * (kind.depth == 16 ? 257 : 1)));
    }
    for (int k = 0; kind.type == 3 && k < 4; ++k)
    {
        png.palette.push_back({channel(k, 0), channel(k, 1), channel(k, 2)});
        png.transparent.push_back(alphaOf(k));
    }
    return {png, pixels};
}

TEST(PngTextures, EveryKindMakesTheBankItsTargaTwinMakes)
{
    const Kind kinds[] = {
        {"RGB", 2, 8},
        {"RGB, 16 bits", 2, 16},
        {"RGBA", 6, 8},
        {"RGBA, 16 bits", 6, 16},
        {"RGBA, interlaced", 6, 8, true},
        {"grey, 1 bit", 0, 1},
        {"grey, 2 bits", 0, 2},
        {"grey, 4 bits", 0, 4},
        {"grey", 0, 8},
        {"grey, 16 bits", 0, 16},
        {"grey and alpha", 4, 8},
        {"grey and alpha, 16 bits", 4, 16},
        {"palette with tRNS", 3, 8},
        {"palette with tRNS, interlaced", 3, 4, true},
    };
    for (const Kind& kind : kinds)
    {
        SCOPED_TRACE(kind.what);
        const auto [png, pixels] = twins(kind);
        // A palette without tRNS is RGB with its colours.
        for (const bool trns : {true, false})
        {
            if (!trns && kind.type != 3)
                continue;
            PngImage file = png;
            std::vector<Rgba> targa = pixels;
            if (!trns)
            {
                file.transparent.clear();
                for (Rgba& colour : targa)
                    colour.a = 0;
            }
            const bool alpha = kind.type >= 4 || (trns && kind.type == 3);
            TempFolder folder;
            folder.write("a/T.tga", tgawriter::encodeTga(
                                        tgawriter::fromColours(kWidth, kHeight, targa, alpha ? 32 : 24)));
            folder.write("b/T.png", encodePng(file));
            for (const char* script : {"a/t.fit", "b/t.fit"})
                folder.write(script, "T\nFIT: bank\n");
            const ProgramRun fromTarga = texelo({"-q", "t.fit", "/c"}, folder.file("a"));
            const ProgramRun fromPng = texelo({"-q", "t.fit", "/c"}, folder.file("b"));
            ASSERT_EQ(fromTarga.exitStatus, 0) << fromTarga.err;
            EXPECT_EQ(fromPng.exitStatus, 0) << fromPng.err;
            EXPECT_EQ(folder.read("a/BANK.TBK").size(), 108u);
            EXPECT_EQ(folder.read("a/BANK.TBK"), folder.read("b/BANK.TBK"));
        }
    }
}

} // namespace

namespace
{

// A Targa file anywhere comes before a PNG file; a damaged PNG file is
// reported as a damaged Targa file is; FILES takes .png names as they are.
TEST(PngTextures, PlacesLookedInAndFailures)
{
    TempFolder folder;
    const Bytes png =
        encodePng({.width = 4, .height = 4, .colourType = 0, .samples = std::vector<uint16_t>(16, 9)});
    for (const char* file : {"art/a.tga", "shared/b.tga"})
        folder.write(file, texture(4, 4, 2));
    for (const char* file : {"art/a.png", "art/b.png", "shared/c.png", "art/d.png", "art/e.png"})
        folder.write(file, png);
    folder.write("art/bad.png", "not a picture");
    folder.write("t.fit", "PATH: art\\\nA\nB\nC\nD.TGA\nFIT: bank\n");
    folder.write("files.fit", "PATH: art\\\nFILES: ?.PNG\nFIT: bank\n");
    folder.write("bad.fit", "PATH: art\\\nBAD\nFIT: bank\n");
    const std::tuple<std::vector<std::string>, int, std::string, std::string> cases[] = {
        {{"--depfile", "t.d", "t.fit"},
         0,
         "Opened ART\\A.tga\nOpened shared/B.tga\nOpened shared/C.png\nOpened ART\\D.PNG\n2 unique "
         "CLUTs\nSaving "
         "Textures...\n",
         ""},
        {{"files.fit"},
         0,
         "Opened ART\\a.png\nOpened ART\\b.png\nOpened ART\\d.png\nOpened ART\\e.png\n1 unique CLUTs\nSaving "
         "Textures...\n",
         ""},
        {{"bad.fit"},
         1,
         "Failed to open shared/BAD.tga\n",
         "texelo: bad.fit:2: error: art/bad.png does not decode as a PNG file: Not a PNG file\n"},
    };
    for (const auto& [args, status, out, err] : cases)
    {
        SCOPED_TRACE(args.back());
        RunOptions options = within(folder.path());
        options.environment = {"TEXELO_TEXTURE_FOLDER=shared"};
        std::vector<std::string> command = args;
        command.insert(command.begin(), {TEXELO_EXECUTABLE, "-c"});
        const ProgramRun run = runProgram(command, options);
        EXPECT_EQ(run.exitStatus, status);
        EXPECT_EQ(run.out, out);
        EXPECT_EQ(run.err, err);
    }
    // C was found as PNG in the texture folder: the three places before it
    // were only looked in, through their folders.
    EXPECT_EQ(folder.text("t.d"),
              "BANK.TBK: \\\n  t.fit \\\n  art/a.tga \\\n  shared/b.tga \\\n  art \\\n  shared/c.png "
              "\\\n  shared \\\n  art/d.png\n\nt.fit:\n\nart/a.tga:\n\nshared/b.tga:\n\nart:\n\nshared/"
              "c.png:\n\nshared:\n\nart/d.png:\n");
}

} // namespace
