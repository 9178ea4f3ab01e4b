// BACKDROP and NEWBACKDROP in a scratch working folder: one whole file of
// each, from a Targa or a PNG picture, the pictures and palettes they refuse
// with their texts, and writes that fail.
#include "backdrop/Backdrop.h"
#include "CapturingReporter.h"
#include "PngWriter.h"
#include "TempFolder.h"
#include "TgaWriter.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

namespace
{

using namespace tgawriter;

// Neighbouring pixels differ, and so do rows l and l + 256.
uint8_t indexAt(int x, int y)
{
    return static_cast<uint8_t>((x + y + 5 * (y / 256)) % 16);
}

std::vector<uint8_t> indices(int width = 640)
{
    std::vector<uint8_t> all;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < width; ++x)
            all.push_back(indexAt(x, y));
    return all;
}

// The picture as a PNG file: the indices of a 4-bit palette, or RGB as
// redPicture().
Bytes pngOf(bool palette)
{
    pngwriter::PngImage png{640, 512, palette ? 3 : 2, palette ? 4 : 8};
    for (const uint8_t index : indices())
        for (int c = 0; c < (palette ? 1 : 3); ++c)
            png.samples.push_back(static_cast<uint16_t>(c > 0 ? 0 : palette ? index : index * 8));
    png.palette.resize(palette ? 16 : 0);
    return pngwriter::encodePng(png);
}

// Red k * 8 at index k: PSX colour k, the k-th in ascending order.
std::vector<Rgba> redPicture(int width = 640)
{
    std::vector<Rgba> pixels;
    for (const uint8_t index : indices(width))
        pixels.push_back({static_cast<uint8_t>(index * 8), 0, 0, 0});
    return pixels;
}

Bytes words(std::initializer_list<uint16_t> values)
{
    Bytes bytes;
    for (const uint16_t value : values)
        bytes.insert(bytes.end(), {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)});
    return bytes;
}

// After the header and palettes: for l = 0 to 255, bytes 0-255 of rows l
// and l + 256, then bytes 256-319 of the same two rows; a byte holds its
// left pixel in the low nibble.
Bytes withPixels(Bytes file)
{
    for (int l = 0; l < 256; ++l)
        for (const auto& [row, first, last] :
             {std::tuple{l, 0, 256}, {l + 256, 0, 256}, {l, 256, 320}, {l + 256, 256, 320}})
            for (int k = first; k < last; ++k)
                file.push_back(static_cast<uint8_t>(indexAt(2 * k, row) | indexAt(2 * k + 1, row) << 4));
    return file;
}

class Backdrop : public testing::Test
{
protected:
    TempFolder folder;
    WorkingFolder inside{folder.path()};
    CapturingReporter reporter;
    RunFiles files;
    BackdropSettings settings{.TexturePath = "ART\\", .OutputPath = "./"};
    ColourTable colours;
};

class EitherPicture : public Backdrop, public testing::WithParamInterface<bool>
{
};
INSTANTIATE_TEST_SUITE_P(TargaOrPng, EitherPicture, testing::Bool());

TEST_P(EitherPicture, BackdropWithAPalettePicture)
{
    settings.PaletteCount = 1;
    // NAME.png serves where NAME.tga is missing.
    const bool png = GetParam();
    folder.write(png ? "art/scene.png" : "art/scene.tga",
                 png ? pngOf(false) : encodeTga(fromColours(640, 512, redPicture(), 24)));
    // Its colours in ascending PSX order replace the picture's.
    folder.write(
        "art/scene.pa0",
        encodeTga(fromColours(2, 2, {{0, 0, 248, 0}, {0, 248, 0, 0}, {248, 0, 0, 0}, {8, 8, 8, 0}}, 32)));
    WriteBackdrop(settings, colours, reporter, files, "SCENE");
    EXPECT_EQ(reporter.output(), "");
    // Width 640, height 512 + 1024 for the extra palette, the picture's palette, the extra one.
    // clang-format off
    EXPECT_EQ(folder.read("SCENE"), withPixels(words({0x280, 0, 0x600, 0, 0x8000, 0x8001, 0x8002, 0x8003, 0x8004, 0x8005, 0x8006, 0x8007, 0x8008,
        0x8009, 0x800A, 0x800B, 0x800C, 0x800D, 0x800E, 0x800F, 0x801F, 0x83E0, 0x8421, 0xFC00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})));
    // clang-format on
}

TEST_P(EitherPicture, NewBackdropWithPaletteZeroTwice)
{
    settings.PaletteCount = 2;
    // ACT colours are cut to 5 bits, not rounded, and always carry STP.
    folder.write("0.act", Bytes{255, 255, 255, 0, 0, 0, 7, 7, 7, 8, 16, 248});
    folder.write("1.act", Bytes{248, 0, 0});
    TgaImage picture = indexedImage(640, 512, indices(), std::vector<Rgba>(16), 24);
    picture.rle = true;
    folder.write(GetParam() ? "art/scene.png" : "art/scene.tga", GetParam() ? pngOf(true) : encodeTga(picture));
    WriteNewBackdrop(settings, reporter, files, "SCENE");
    EXPECT_EQ(reporter.output(), "");
    // Width 640, height 512 + 2 x 1024, palette 0 as the base palette and again with palette 1.
    const uint16_t o = 0x8000;
    EXPECT_EQ(folder.read("SCENE"),
              withPixels(words({0x280,  0, 0xA00,  0, 0xFFFF, o,      o, 0xFC41, o, o, o, o, o, o, o, o, o, o,
                                o,      o, 0xFFFF, o, o,      0xFC41, o, o,      o, o, o, o, o, o, o, o, o, o,
                                0x801F, o, o,      o, o,      o,      o, o,      o, o, o, o, o, o, o, o})));
}

TEST_F(Backdrop, RefusedInputsAreReportedAndNothingIsWritten)
{
    folder.write("0.act", Bytes{});
    std::vector<Rgba> many = redPicture();
    many[7] = {200, 0, 0, 0};
    folder.write("art/many.tga", encodeTga(fromColours(640, 512, many, 24)));
    folder.write("art/wide.tga", encodeTga(fromColours(641, 512, redPicture(641), 24)));
    std::vector<uint8_t> high = indices();
    high[640 * 300 + 17] = 16;
    folder.write("art/high.tga", encodeTga(indexedImage(640, 512, high, std::vector<Rgba>(17), 24)));
    Bytes cut = encodeTga(indexedImage(640, 512, indices(), std::vector<Rgba>(16), 24));
    cut.pop_back();
    folder.write("art/cut.tga", cut);
    // Run-length packets of 128 texels, enough for every row: the sixth of the first would end past it.
    Bytes crossing = encodeTga(indexedImage(640, 512, indices(), std::vector<Rgba>(16), 24));
    crossing.resize(18 + 16 * 3);
    crossing[2] = 9;
    for (int packet = 0; packet <= 5 * 512; ++packet)
        crossing.insert(crossing.end(), {packet == 4 ? uint8_t(0xF0) : uint8_t(0xFF), 3});
    folder.write("art/crossing.tga", crossing);
    Bytes runs(crossing.begin(), crossing.end() - 2); // every row five run packets of 128 texels
    runs[18 + 16 * 3 + 4 * 2] = 0xFF;
    folder.write("art/part.tga", runs);
    folder.write("art/rgb.png", pngOf(false));
    folder.write("art/bad.png", "not a picture");
    // NEWBACKDROP (true) gives its texts as MessageLine holds them, without a newline.
    // clang-format off
    const std::tuple<bool, uint32_t, const char*, std::string> cases[] = {
        {false, 0, "MANY", "More than 16 colours in ART\\MANY.tga\n"}, {false, 0, "WIDE", "Backdrop image must be 640 x 512: ART\\WIDE.tga\n"},
        {false, 1, "NONE", "Failed to open ART\\NONE.pa0\n"}, {true, 0, "HIGH", "Need to specify number of palettes for HIGH"},
        {true, 2, "HIGH", "Failed to open 1.act"}, {true, 1, "CUT", "Error loading ART\\CUT.tga"},
        {true, 1, "CROSSING", "Error loading ART\\CROSSING.tga"}, {true, 1, "MANY", "Backdrop image not index-colour: ART\\MANY.tga"},
        {true, 1, "HIGH", "Image contains pixels referencing outside the range (0-15) in the palette"},
        {true, 1, "RGB", "Backdrop image not index-colour: ART\\RGB.png"}, {true, 1, "BAD", "Error loading ART\\BAD.png"},
        {false, 0, "BAD", "Failed to open ART\\BAD.png\n"},
    };
    // clang-format on
    for (const auto& [newBackdrop, palettes, name, out] : cases)
    {
        CapturingReporter own;
        settings.PaletteCount = palettes;
        if (newBackdrop)
            WriteNewBackdrop(settings, own, files, name);
        else
            WriteBackdrop(settings, colours, own, files, name);
        EXPECT_EQ(own.output(), out);
        EXPECT_EQ(own.errorCount(), 1u) << out;
    }
    // Cut anywhere, a run-length picture is refused whole, and nothing is read past its end.
    settings.PaletteCount = 1;
    for (std::size_t length = 0; length < runs.size(); ++length)
    {
        folder.write("art/part.tga", Bytes(runs.begin(), runs.begin() + static_cast<std::ptrdiff_t>(length)));
        CapturingReporter own;
        WriteNewBackdrop(settings, own, files, "PART");
        ASSERT_EQ(own.output(), (length < 18 + 16 * 3 ? "Failed to open" : "Error loading") + std::string(" ART\\PART.tga")) << length;
    }
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"0.act", "art"}));
}

// A file that cannot be made, or not be written to the end, is reported and
// leaves the earlier file as it was.
TEST_F(Backdrop, FailedWritesAreReportedAndKeepTheEarlierFile)
{
    folder.write("art/scene.tga", encodeTga(fromColours(640, 512, redPicture(), 24)));
    settings.OutputPath = "NOWHERE\\";
    WriteBackdrop(settings, colours, reporter, files, "SCENE");
    EXPECT_EQ(reporter.output(), "Couldn't open output file NOWHERE\\SCENE\n");

    settings.OutputPath = "./";
    folder.write("SCENE", "earlier");
    // A file may not reach the backdrop's size (8 + 32 + 163840 bytes), so only
    // the last write, when the file is completed, fails.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const rlimit limited{163880 - 1, saved.rlim_max};
    const sighandler_t previous = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    WriteBackdrop(settings, colours, reporter, files, "SCENE");
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    EXPECT_EQ(reporter.output(),
              "Couldn't open output file NOWHERE\\SCENE\nCouldn't write output file ./SCENE\n");
    EXPECT_EQ(folder.text("SCENE"), "earlier");
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"SCENE", "art"}));
}

} // namespace
