// NEWBACKDROP: index-colour pictures with ACT palettes, and ReadAct16.
#include "BackdropFixture.h"
#include "backdrop/ActPalette.h"
#include "backdrop/Backdrop.h"

namespace
{

using namespace tgawriter;

// The file's own colour map does not matter to a backdrop: only the indices.
TgaImage indexedPicture(const std::vector<uint8_t>& indices, int width = 640, int height = 512)
{
    std::vector<Rgba> map(256);
    for (std::size_t i = 0; i < map.size(); ++i)
        map[i] = {static_cast<uint8_t>(i), 0, 0, 0};
    TgaImage tga = indexedImage(width, height, indices, map, 24);
    tga.rle = true;
    return tga;
}

expected::Palette16 actPalette(const std::vector<Rgb>& colours)
{
    expected::Palette16 palette{};
    palette.fill(0x8000);
    for (std::size_t i = 0; i < colours.size(); ++i)
        palette[i] = static_cast<uint16_t>(0x8000 | (colours[i].b >> 3) << 10 | (colours[i].g >> 3) << 5 |
                                           (colours[i].r >> 3));
    return palette;
}

std::vector<Rgb> someColours(int seed)
{
    std::vector<Rgb> colours;
    for (int i = 0; i < 16; ++i)
        colours.push_back({static_cast<uint8_t>(seed * 40 + i * 8), static_cast<uint8_t>(255 - i * 16),
                           static_cast<uint8_t>(i * seed * 5)});
    return colours;
}

} // namespace

TEST_F(BackdropTest, NewBackdropWritesPaletteZeroTwiceThenEveryPalette)
{
    settings.PaletteCount = 3;
    for (int i = 0; i < 3; ++i)
        writeAct(i, someColours(i + 1));
    const std::vector<uint8_t> indices = patternIndices();
    writePicture("scene.tga", indexedPicture(indices));

    writeNewBackdrop("SCENE");

    const std::optional<std::vector<uint8_t>> file = output("SCENE");
    ASSERT_TRUE(file.has_value());
    ASSERT_EQ(file->size(), 8u + 32 + 96 + 163840);
    EXPECT_EQ(expected::readU32(*file, 4), 3584u);
    const expected::Palette16 zero = actPalette(someColours(1));
    expectFile("SCENE", expected::backdropFile(
                            zero, {zero, actPalette(someColours(2)), actPalette(someColours(3))}, indices));
    EXPECT_EQ(reporter.output(), "");
}

TEST_F(BackdropTest, NewBackdropPacksTheLeftPixelIntoTheLowNibble)
{
    settings.PaletteCount = 1;
    writeAct(0, {});
    std::vector<uint8_t> indices(640 * 512, 0);
    indices[0] = 0x03;
    indices[1] = 0x0A;
    writePicture("scene.tga", indexedPicture(indices));

    writeNewBackdrop("SCENE");

    const std::optional<std::vector<uint8_t>> file = output("SCENE");
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ((*file)[8 + 32 + 32], 0xA3);
}

TEST_F(BackdropTest, NewBackdropGrowsThePaletteStoreBeyondNine)
{
    settings.PaletteCount = 11;
    std::vector<expected::Palette16> palettes;
    for (int i = 0; i < 11; ++i)
    {
        writeAct(i, someColours(i));
        palettes.push_back(actPalette(someColours(i)));
    }
    const std::vector<uint8_t> indices = patternIndices();
    writePicture("scene.tga", indexedPicture(indices));

    writeNewBackdrop("SCENE");

    expectFile("SCENE", expected::backdropFile(palettes[0], palettes, indices));
}

TEST(ReadAct16, TruncatesChannelsAndAlwaysSetsTheStpBit)
{
    TempFolder folder;
    RunFiles files;
    const std::string full =
        folder.write("full.act", std::vector<uint8_t>{255, 255, 255, 0, 0, 0, 7, 7, 7, 8, 16, 248});
    Act16Palette palette{};
    ASSERT_TRUE(ReadAct16(files, full, palette));
    EXPECT_EQ(palette[0], 0xFFFF);
    EXPECT_EQ(palette[1], 0x8000);
    EXPECT_EQ(palette[2], 0x8000);
    EXPECT_EQ(palette[3], 0x8000 | 31 << 10 | 2 << 5 | 1);
    // The file ends after four colours: the rest are black.
    for (std::size_t i = 4; i < 16; ++i)
        EXPECT_EQ(palette[i], 0x8000) << i;
    EXPECT_FALSE(ReadAct16(files, folder.path() + "/missing.act", palette));
}

TEST_F(BackdropTest, NewBackdropWithoutPalettesAsksForThem)
{
    writeNewBackdrop("SCENE");
    EXPECT_EQ(reporter.output(), "Need to specify number of palettes for SCENE");
    EXPECT_EQ(reporter.messageLine(), "Need to specify number of palettes for SCENE");
    EXPECT_GE(reporter.repaints, 1);
}

TEST_F(BackdropTest, NewBackdropStopsAtTheFirstMissingActFile)
{
    settings.PaletteCount = 3;
    writeAct(0, {});
    writeAct(2, {});
    writePicture("scene.tga", indexedPicture(patternIndices()));

    writeNewBackdrop("SCENE");

    EXPECT_EQ(reporter.output(), "Failed to open 1.act");
    EXPECT_EQ(reporter.messageLine(), "Failed to open 1.act");
    EXPECT_TRUE(wroteNothing());
}

TEST_F(BackdropTest, NewBackdropReportsPicturesItCannotUse)
{
    settings.PaletteCount = 1;
    writeAct(0, {});
    const std::vector<uint8_t> indices = patternIndices();
    TgaImage truncated = indexedPicture(indices);
    truncated.rle = false;
    tgawriter::Bytes cut = encodeTga(truncated);
    cut.resize(cut.size() - 1);
    folder.write("art/cut.tga", cut);
    folder.write("art/stub.tga", tgawriter::Bytes(17, 0));
    writePicture(
        "grey.tga",
        TgaImage{.width = 640, .height = 512, .depth = 8, .values = std::vector<uint32_t>(640 * 512, 1)});
    writePicture("colour.tga", fromColours(640, 512, std::vector<Rgba>(640 * 512, Rgba{1, 2, 3, 0}), 24));
    writePicture("small.tga", fromColours(20, 20, std::vector<Rgba>(400, Rgba{}), 24));
    writePicture("narrow.tga", indexedPicture(std::vector<uint8_t>(639 * 512, 0), 639, 512));

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"MISSING", "Failed to open ART\\MISSING.tga"},
        {"STUB", "Failed to open ART\\STUB.tga"},
        {"CUT", "Error loading ART\\CUT.tga"},
        {"GREY", "Backdrop image not index-colour: ART\\GREY.tga"},
        {"COLOUR", "Backdrop image not index-colour: ART\\COLOUR.tga"},
        {"SMALL", "Backdrop image not index-colour: ART\\SMALL.tga"},
        {"NARROW", "Backdrop image must be 640 x 512: ART\\NARROW.tga"},
    };
    std::string all;
    for (const auto& [name, message] : cases)
    {
        writeNewBackdrop(name);
        EXPECT_EQ(reporter.messageLine(), message);
        all += message;
    }
    // The messages are printed as MessageLine holds them, without newlines.
    EXPECT_EQ(reporter.output(), all);
    EXPECT_TRUE(wroteNothing());
}

TEST_F(BackdropTest, NewBackdropRefusesAnIndexAboveFifteenAndKeepsTheEarlierFile)
{
    settings.PaletteCount = 1;
    writeAct(0, {});
    std::vector<uint8_t> indices = patternIndices();
    indices[640 * 300 + 17] = 16;
    writePicture("scene.tga", indexedPicture(indices));
    folder.write("SCENE", "earlier");

    writeNewBackdrop("SCENE");

    EXPECT_EQ(reporter.output(), "Image contains pixels referencing outside the range (0-15) in the palette");
    const std::optional<std::vector<uint8_t>> file = output("SCENE");
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(std::string(file->begin(), file->end()), "earlier");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 3); // art, 0.act, SCENE
}

TEST_F(BackdropTest, NewBackdropReportsAnOutputFileItCannotCreate)
{
    settings.PaletteCount = 1;
    settings.OutputPath = "NOWHERE\\";
    writeAct(0, {});
    writePicture("scene.tga", indexedPicture(patternIndices()));

    writeNewBackdrop("SCENE");

    EXPECT_EQ(reporter.output(), "Couldn't open output file NOWHERE\\SCENE");
    EXPECT_TRUE(wroteNothing());
}
