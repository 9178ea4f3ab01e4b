// ReadPaletteFile: the three formats decided by content, and what it makes of
// short, long and broken files.
#include "PaletteFileWriter.h"
#include "convert/PaletteSet.h"
#include "texelo/TempFolder.h"

#include <gtest/gtest.h>

namespace
{

using namespace palettewriter;

PaletteImage imageOf(const std::vector<Rgb>& colours)
{
    PaletteImage image{};
    for (std::size_t i = 0; i < colours.size() && i < kPaletteColourCount; ++i)
    {
        image[i * 3] = colours[i].r;
        image[i * 3 + 1] = colours[i].g;
        image[i * 3 + 2] = colours[i].b;
    }
    return image;
}

class PaletteReader : public ::testing::Test
{
protected:
    std::optional<PaletteImage> read(const std::vector<uint8_t>& bytes, const char* name = "TEST.PAL")
    {
        return ReadPaletteFile(files, folder.write(name, bytes));
    }
    std::optional<PaletteImage> read(const std::string& text) { return read(bytesOf(text)); }

    TempFolder folder;
    RunFiles files;
};

TEST_F(PaletteReader, ReadsEveryFormatWithAllColours)
{
    const std::vector<Rgb> colours = distinctColours();
    EXPECT_EQ(read(riffPalette(colours, 256)), imageOf(colours));
    EXPECT_EQ(read(jascPalette(colours, "256")), imageOf(colours));
    EXPECT_EQ(read(rawPalette(colours)), imageOf(colours));
    EXPECT_EQ(read(rawPalette(colours), "RAW.ACT"), imageOf(colours)); // the content decides, not the name
}

TEST_F(PaletteReader, RiffLayoutTakesEntriesFromOffset24AndDropsFlags)
{
    // Written out by hand: header, then colour 0 = (1,2,3), colour 1 = (4,5,6),
    // each followed by a flags byte that must not show up in the image.
    std::vector<uint8_t> bytes{'R', 'I', 'F', 'F', 0x14, 0,    0, 0, 'P', 'A',  'L',
                               ' ', 'd', 'a', 't', 'a',  0x0C, 0, 0, 0,   0x00, 0x03,
                               2,   0,   1,   2,   3,    0xFF, 4, 5, 6,   0xFF};
    EXPECT_EQ(read(bytes), imageOf({{1, 2, 3}, {4, 5, 6}}));
}

TEST_F(PaletteReader, JascTextIsParsedByDigitsOnly)
{
    // LF or CR LF line ends, tabs, several blanks, signs and letters between
    // numbers all just separate them; a number keeps its low 8 bits.
    const std::string text = "JASC-PAL\n0100\n256\n1 2 3\r\n4\t5  6\n-7,x8;300\n65536 255 256";
    EXPECT_EQ(read(text), imageOf({{1, 2, 3}, {4, 5, 6}, {7, 8, 300 & 0xFF}, {0, 255, 0}}));
}

// Short, long and odd files: what is present is taken, the rest is black.
TEST_F(PaletteReader, ShortLongAndOddFilesGiveWhatIsPresent)
{
    const std::vector<Rgb> all = distinctColours();
    const std::vector<Rgb> sixteen = distinctColours(16);
    std::vector<uint8_t> cutRiff = riffPalette({{10, 20, 30}, {40, 50, 60}}, 2);
    cutRiff.resize(cutRiff.size() - 3); // colour 1 keeps only its red
    std::vector<uint8_t> longRaw = rawPalette(all);
    longRaw.insert(longRaw.end(), 100, 0xAB);
    const struct
    {
        const char* what;
        std::vector<uint8_t> bytes;
        PaletteImage image;
    } cases[] = {
        {"RIFF declaring 16 but holding 256", riffPalette(all, 16, 0x05), imageOf(all)},
        {"RIFF declaring 256 but holding 16", riffPalette(sixteen, 256), imageOf(sixteen)},
        {"RIFF cut inside an entry", cutRiff, imageOf({{10, 20, 30}, {40, 0, 0}})},
        {"RIFF signature only", bytesOf("RIFF"), {}},
        {"JASC of 16 ignores later numbers", bytesOf(jascPalette(all, "16")), imageOf(sixteen)},
        {"JASC count is its first two characters", bytesOf(jascPalette(all, "16 colours")), imageOf(sixteen)},
        {"JASC count ' 16'", bytesOf(jascPalette(all, " 16")), imageOf(all)},
        {"JASC header digits are no colours", bytesOf("JASC-PAL 9\r\n0100\r\n256 7\r\n11 12 13\r\n"),
         imageOf({{11, 12, 13}})},
        {"JASC too few numbers", bytesOf("JASC-PAL\r\n0100\r\n256\r\n9 8 7\r\n6"),
         imageOf({{9, 8, 7}, {6, 0, 0}})},
        {"JASC without colours", bytesOf("JASC-PAL\r\n0100\r\n16\r\n"), {}},
        {"JASC without third line", bytesOf("JASC-PAL\r\n0100"), {}},
        {"JASC signature only", bytesOf("JASC-PAL"), {}},
        {"raw longer than 768 bytes", longRaw, imageOf(all)},
        {"raw of four bytes", {1, 2, 3, 4}, imageOf({{1, 2, 3}, {4, 0, 0}})},
        {"empty file", {}, {}},
        {"almost a JASC signature", bytesOf("JASC-PA"),
         imageOf({{'J', 'A', 'S'}, {'C', '-', 'P'}, {'A', 0, 0}})},
        {"lower-case riff", bytesOf("riff"), imageOf({{'r', 'i', 'f'}, {'f', 0, 0}})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read(c.bytes), c.image) << c.what;
}

TEST_F(PaletteReader, NothingWhenTheFileCannotBeOpened)
{
    EXPECT_EQ(ReadPaletteFile(files, folder.path() + "/MISSING.PAL"), std::nullopt);
    folder.makeFolder("FOLDER.PAL");
    EXPECT_EQ(ReadPaletteFile(files, folder.path() + "/FOLDER.PAL"), std::nullopt);
    EXPECT_EQ(ReadPaletteFile(files, ""), std::nullopt);
}

TEST_F(PaletteReader, ScriptPathsFindLowerCaseFiles)
{
    folder.write("pals/pal0.pal", rawPalette({{1, 2, 3}}));
    EXPECT_EQ(ReadPaletteFile(files, folder.path() + "\\PALS\\PAL0.PAL"), imageOf({{1, 2, 3}}));
}

} // namespace
