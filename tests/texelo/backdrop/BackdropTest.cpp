// BACKDROP: true-colour pictures of at most 16 colours, with alternative
// palettes taken from further pictures.
#include "backdrop/Backdrop.h"
#include "BackdropFixture.h"
#include "script/ScriptDriver.h"

#include <algorithm>
#include <set>

namespace
{

using namespace tgawriter;

uint16_t reduced(uint8_t c)
{
    return static_cast<uint16_t>(std::min((c + 4) / 8, 31));
}

uint16_t psxKey(const Rgba& c)
{
    return static_cast<uint16_t>(reduced(c.b) << 10 | reduced(c.g) << 5 | reduced(c.r));
}

// What the operation must make of a picture: its distinct 5-bit colours in
// ascending order with the STP bit (the rest 0), and each pixel's rank.
struct Reduced
{
    expected::Palette16 palette{};
    std::vector<uint8_t> indices;
};

Reduced reduce(const std::vector<Rgba>& pixels)
{
    std::set<uint16_t> keys;
    for (const Rgba& pixel : pixels)
        keys.insert(psxKey(pixel));
    const std::vector<uint16_t> sorted(keys.begin(), keys.end());
    Reduced result;
    for (std::size_t j = 0; j < sorted.size() && j < 16; ++j)
        result.palette[j] = static_cast<uint16_t>(sorted[j] | 0x8000);
    for (const Rgba& pixel : pixels)
        result.indices.push_back(static_cast<uint8_t>(
            std::lower_bound(sorted.begin(), sorted.end(), psxKey(pixel)) - sorted.begin()));
    return result;
}

// Sixteen colours, two of which (3, 3, 3) and (0, 0, 0) are the same once
// reduced, plus (255, 255, 255) that must not round to 32.
std::vector<Rgba> pictureColours()
{
    return {{0, 0, 0, 0},     {3, 3, 3, 0},     {255, 255, 255, 0}, {200, 10, 10, 0},
            {10, 200, 10, 0}, {10, 10, 200, 0}, {100, 100, 0, 0},   {0, 100, 100, 0},
            {100, 0, 100, 0}, {60, 60, 60, 0},  {120, 120, 120, 0}, {180, 180, 180, 0},
            {250, 128, 4, 0}, {4, 128, 250, 0}, {77, 33, 11, 0},    {12, 250, 140, 0}};
}

std::vector<Rgba> picture(int width, const std::vector<Rgba>& colours)
{
    std::vector<Rgba> pixels;
    const std::vector<uint8_t> pattern = patternIndices();
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(colours[pattern[static_cast<std::size_t>(y * 640 + x % 640)] % colours.size()]);
    return pixels;
}

std::vector<uint8_t> padTo640(const std::vector<uint8_t>& indices, int width)
{
    std::vector<uint8_t> padded;
    for (int y = 0; y < 512; ++y)
    {
        const auto row = indices.begin() + static_cast<std::ptrdiff_t>(y * width);
        padded.insert(padded.end(), row, row + width);
        padded.insert(padded.end(), static_cast<std::size_t>(640 - width), 0);
    }
    return padded;
}

} // namespace

TEST_F(BackdropTest, BackdropWithoutPalettesWritesItsOwnPaletteOnly)
{
    const std::vector<Rgba> pixels = picture(640, pictureColours());
    writePicture("scene.tga", fromColours(640, 512, pixels, 24));

    writeBackdrop("SCENE");

    const Reduced expectedPicture = reduce(pixels);
    expectFile("SCENE", expected::backdropFile(expectedPicture.palette, {}, expectedPicture.indices));
    EXPECT_EQ(expected::readU32(*output("SCENE"), 4), 512u);
    EXPECT_EQ(reporter.output(), "");
}

TEST_F(BackdropTest, BackdropTakesAlternativePalettesFromPalettePicturesInOrder)
{
    settings.PaletteCount = 2;
    settings.OutputPath = "OUT\\";
    folder.makeFolder("OUT"); // output names are used as formed
    const std::vector<Rgba> pixels = picture(640, pictureColours());
    writePicture("scene.tga", fromColours(640, 512, pixels, 24));
    const std::vector<Rgba> first = {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}, {9, 9, 9, 0}};
    const std::vector<Rgba> second = {{40, 40, 40, 0}, {250, 250, 250, 0}};
    writePicture("scene.pa0", fromColours(2, 2, first, 32));
    writePicture("scene.pa1", fromColours(2, 1, second, 16));

    writeBackdrop("SCENE");

    const Reduced expectedPicture = reduce(pixels);
    expectFile("OUT/SCENE", expected::backdropFile(expectedPicture.palette,
                                                   {reduce(first).palette, reduce(second).palette},
                                                   expectedPicture.indices));
    EXPECT_EQ(reporter.output(), "");
}

TEST_F(BackdropTest, BackdropReadsPalettePicturesFirstAndStopsAtAMissingOne)
{
    settings.PaletteCount = 2;
    writePicture("scene.pa0", fromColours(1, 1, {{1, 2, 3, 0}}, 24));
    // No picture 1 and no backdrop picture either: only palette 1 is reported.

    writeBackdrop("SCENE");

    EXPECT_EQ(reporter.output(), "Failed to open ART\\SCENE.pa1\n");
    EXPECT_EQ(reporter.messageLine(), "Failed to open ART\\SCENE.pa1");
    EXPECT_EQ(reporter.errors(), "");
    EXPECT_TRUE(wroteNothing());
}

TEST_F(BackdropTest, BackdropOfBlackAndWhiteGivesOpaqueBlackAndWhite)
{
    const std::vector<Rgba> pixels = picture(640, {{0, 0, 0, 0}, {255, 255, 255, 0}});
    writePicture("scene.tga", fromColours(640, 512, pixels, 24));

    writeBackdrop("SCENE");

    const std::optional<std::vector<uint8_t>> file = output("SCENE");
    ASSERT_TRUE(file.has_value());
    const std::vector<uint8_t> basePalette(file->begin() + 8, file->begin() + 40);
    std::vector<uint8_t> expectedPalette(32, 0);
    expectedPalette[1] = 0x80;
    expectedPalette[2] = 0xFF;
    expectedPalette[3] = 0xFF;
    EXPECT_EQ(basePalette, expectedPalette);
}

TEST_F(BackdropTest, BackdropPadsA638PixelPictureTo640)
{
    const std::vector<Rgba> pixels = picture(638, pictureColours());
    writePicture("scene.tga", fromColours(638, 512, pixels, 24));

    writeBackdrop("SCENE");

    const Reduced expectedPicture = reduce(pixels);
    expectFile("SCENE",
               expected::backdropFile(expectedPicture.palette, {}, padTo640(expectedPicture.indices, 638)));
    EXPECT_EQ(expected::readU32(*output("SCENE"), 0), 640u);
}

TEST_F(BackdropTest, BackdropRefusesMoreThanSixteenColoursAndOtherSizes)
{
    std::vector<Rgba> seventeen = pictureColours(); // 17 once reduced, as (0, 0, 0) and (3, 3, 3) meet
    seventeen.push_back({90, 90, 90, 0});
    seventeen.push_back({90, 90, 99, 0});
    std::vector<Rgba> many = picture(640, pictureColours());
    std::copy(seventeen.begin(), seventeen.end(), many.begin());
    writePicture("many.tga", fromColours(640, 512, many, 24));
    // The size is checked before the colours are counted.
    writePicture("wide.tga", fromColours(641, 512, picture(641, seventeen), 24));
    writePicture("short.tga", fromColours(640, 511, std::vector<Rgba>(640 * 511), 24));
    writePicture("thin.tga", fromColours(636, 512, std::vector<Rgba>(636 * 512), 24));
    writePicture("odd.pa0", fromColours(18, 1, seventeen, 24));

    writeBackdrop("MANY");
    writeBackdrop("WIDE");
    writeBackdrop("SHORT");
    writeBackdrop("THIN");
    settings.PaletteCount = 1;
    writeBackdrop("ODD");

    EXPECT_EQ(reporter.output(), "More than 16 colours in ART\\MANY.tga\n"
                                 "Backdrop image must be 640 x 512: ART\\WIDE.tga\n"
                                 "Backdrop image must be 640 x 512: ART\\SHORT.tga\n"
                                 "Backdrop image must be 640 x 512: ART\\THIN.tga\n"
                                 "More than 16 colours in ART\\ODD.pa0\n");
    EXPECT_TRUE(wroteNothing());
}

TEST_F(BackdropTest, BackdropReportsAnOutputFileItCannotCreate)
{
    settings.OutputPath = "NOWHERE\\";
    writePicture("scene.tga", fromColours(640, 512, picture(640, pictureColours()), 24));

    writeBackdrop("SCENE");

    EXPECT_EQ(reporter.output(), "Couldn't open output file NOWHERE\\SCENE\n");
    EXPECT_TRUE(wroteNothing());
}

TEST_F(BackdropTest, FitScriptRunsBothBackdropKeywords)
{
    const std::vector<Rgba> pixels = picture(640, pictureColours());
    writePicture("scene.tga", fromColours(640, 512, pixels, 24));
    const std::vector<uint8_t> indices = patternIndices();
    std::vector<Rgba> map(16);
    writePicture("indexed.tga", indexedImage(640, 512, indices, map, 24));
    writeAct(0, {{255, 255, 255}});
    folder.write("backdrops.fit",
                 "PATH:art\\\nPALETTES:unused 1\nNEW BACKDROP:indexed\nREMAP:OFF\nBACKDROP:scene\n");

    RunScript(ctx, "backdrops.fit");

    expected::Palette16 act{};
    act.fill(0x8000);
    act[0] = 0xFFFF;
    expectFile("INDEXED", expected::backdropFile(act, {act}, indices));
    const Reduced expectedPicture = reduce(pixels);
    expectFile("SCENE", expected::backdropFile(expectedPicture.palette, {}, expectedPicture.indices));
    EXPECT_EQ(reporter.output(), "");
}
