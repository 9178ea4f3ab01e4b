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

struct Kind
{
    const char* what;
    int type, depth;
    bool interlaced = false, trns = false;
};

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
    folder.write("art/f.tga", "cut");
    for (const char* file : {"art/a.png", "art/b.png", "shared/c.png", "art/d.png", "art/e.png", "art/f.png"})
        folder.write(file, png);
    folder.write("art/bad.png", "not a picture");
    folder.write("t.fit", "PATH: art\\\nA\nB\nC\nD.TGA\nFIT: bank\n");
    folder.write("files.fit", "PATH: art\\\nFILES: ?.PNG\nFIT: bank\n");
    folder.write("bad.fit", "PATH: art\\\nBAD\nF\nFIT: bank\n");
    const std::string saved = " unique CLUTs\nSaving Textures...\n";
    const std::tuple<std::vector<std::string>, int, std::string, std::string> cases[] = {
        // clang-format off
        {{"--depfile", "t.d", "t.fit"}, 0,
         "Opened ART\\A.tga\nOpened shared/B.tga\nOpened shared/C.png\nOpened ART\\D.PNG\n2" + saved, ""},
        {{"files.fit"}, 0,
         "Opened ART\\a.png\nOpened ART\\b.png\nOpened ART\\d.png\nOpened ART\\e.png\nOpened ART\\f.png\n1" + saved, ""},
        {{"bad.fit"}, 1, "Failed to open shared/BAD.tga\nFailed to open shared/F.tga\n",
         "texelo: bad.fit:2: error: art/bad.png does not decode as a PNG file: Not a PNG file\n"
         "texelo: bad.fit:3: error: art/f.tga does not decode as a Targa file: truncated: 3 of 18 bytes\n"},
        // clang-format on
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
