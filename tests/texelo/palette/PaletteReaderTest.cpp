// ReadPaletteFile: the three formats decided by content, and what it makes of
// short, long and broken files.
#include "PaletteFileWriter.h"
#include "PaletteSet.h"
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
        return ReadPaletteFile(folder.write(name, bytes));
    }
    std::optional<PaletteImage> read(const std::string& text) { return read(bytesOf(text)); }

    TempFolder folder;
};

TEST_F(PaletteReader, ReadsEveryFormatWithAllColours)
{
    const std::vector<Rgb> colours = distinctColours();
    EXPECT_EQ(read(riffPalette(colours, 256)), imageOf(colours));
    EXPECT_EQ(read(jascPalette(colours, "256")), imageOf(colours));
    EXPECT_EQ(read(rawPalette(colours)), imageOf(colours));
}

TEST_F(PaletteReader, RiffLayoutTakesEntriesFromOffset24AndDropsFlags)
{
    // Written out by hand: header, then colour 0 = (1,2,3), colour 1 = (4,5,6),
    // each followed by a flags byte that must not show up in the image.
    std::vector<uint8_t> bytes{'R', 'I', 'F', 'F', 0x14, 0,    0, 0, 'P', 'A',  'L',
                               ' ', 'd', 'a', 't', 'a',  0x0C, 0, 0, 0,   0x00, 0x03,
                               2,   0,   1,   2,   3,    0xFF, 4, 5, 6,   0xFF};
    PaletteImage expected{};
    expected[0] = 1, expected[1] = 2, expected[2] = 3, expected[3] = 4, expected[4] = 5, expected[5] = 6;
    EXPECT_EQ(read(bytes), expected);
}

TEST_F(PaletteReader, RiffTakes256EntriesWhateverItDeclares)
{
    const std::vector<Rgb> colours = distinctColours();
    // Declares 16 but holds 256: all 256 are taken.
    EXPECT_EQ(read(riffPalette(colours, 16, 0x05)), imageOf(colours));
    // Declares 256 but holds 16: the rest are black.
    const std::vector<Rgb> sixteen = distinctColours(16);
    EXPECT_EQ(read(riffPalette(sixteen, 256)), imageOf(sixteen));
}

TEST_F(PaletteReader, RiffCutInsideAnEntryKeepsTheBytesPresent)
{
    std::vector<uint8_t> bytes = riffPalette({{10, 20, 30}, {40, 50, 60}}, 2);
    bytes.resize(bytes.size() - 3); // colour 1 keeps only its red
    PaletteImage expected = imageOf({{10, 20, 30}, {40, 0, 0}});
    EXPECT_EQ(read(bytes), expected);
    EXPECT_EQ(read(bytesOf("RIFF")), PaletteImage{});
}

TEST_F(PaletteReader, JascTextIsParsedByDigitsOnly)
{
    // LF or CR LF line ends, tabs, several blanks, signs and letters between
    // numbers all just separate them; a number keeps its low 8 bits.
    const std::string text = "JASC-PAL\n0100\n256\n1 2 3\r\n4\t5  6\n-7,x8;300\n65536 255 256";
    PaletteImage expected{};
    const uint8_t numbers[] = {1, 2, 3, 4, 5, 6, 7, 8, 300 & 0xFF, 0, 255, 0};
    std::copy(std::begin(numbers), std::end(numbers), expected.begin());
    EXPECT_EQ(read(text), expected);
}

TEST_F(PaletteReader, JascSixteenColoursLeavesTheRestBlack)
{
    // Numbers after the 16th colour are ignored.
    const std::vector<Rgb> colours = distinctColours();
    EXPECT_EQ(read(jascPalette(colours, "16")), imageOf(distinctColours(16)));
    // Only the first two characters of the count line count: "16 colours".
    EXPECT_EQ(read(jascPalette(colours, "16 colours")), imageOf(distinctColours(16)));
    EXPECT_EQ(read(jascPalette(colours, " 16")), imageOf(colours));
}

TEST_F(PaletteReader, JascVersionAndCountLinesAreNotColours)
{
    // The digits on the first three lines never become colour bytes.
    EXPECT_EQ(read(std::string("JASC-PAL 9\r\n0100\r\n256 7\r\n11 12 13\r\n")), imageOf({{11, 12, 13}}));
}

TEST_F(PaletteReader, JascWithTooFewNumbersFillsWithZero)
{
    EXPECT_EQ(read(std::string("JASC-PAL\r\n0100\r\n256\r\n9 8 7\r\n6")), imageOf({{9, 8, 7}, {6, 0, 0}}));
    EXPECT_EQ(read(std::string("JASC-PAL\r\n0100\r\n16\r\n")), PaletteImage{});
    EXPECT_EQ(read(std::string("JASC-PAL\r\n0100")), PaletteImage{}); // no third line at all
    EXPECT_EQ(read(std::string("JASC-PAL")), PaletteImage{});
}

TEST_F(PaletteReader, RawTripletsInAPalFileAreRawWhateverTheExtension)
{
    const std::vector<Rgb> colours = distinctColours();
    EXPECT_EQ(read(rawPalette(colours), "RAW.PAL"), imageOf(colours));
    EXPECT_EQ(read(rawPalette(colours), "RAW.ACT"), imageOf(colours));
}

TEST_F(PaletteReader, RawFileIsCutOrFilledTo768Bytes)
{
    std::vector<uint8_t> longer = rawPalette(distinctColours());
    longer.insert(longer.end(), 100, 0xAB);
    EXPECT_EQ(read(longer), imageOf(distinctColours()));

    EXPECT_EQ(read(std::vector<uint8_t>{1, 2, 3, 4}), imageOf({{1, 2, 3}, {4, 0, 0}}));
    EXPECT_EQ(read(std::vector<uint8_t>{}), PaletteImage{});
    // Almost a signature is still raw.
    EXPECT_EQ(read(bytesOf("JASC-PA")), imageOf({{'J', 'A', 'S'}, {'C', '-', 'P'}, {'A', 0, 0}}));
    EXPECT_EQ(read(bytesOf("riff")), imageOf({{'r', 'i', 'f'}, {'f', 0, 0}}));
}

TEST_F(PaletteReader, NothingWhenTheFileCannotBeOpened)
{
    EXPECT_EQ(ReadPaletteFile(folder.path() + "/MISSING.PAL"), std::nullopt);
    folder.makeFolder("FOLDER.PAL");
    EXPECT_EQ(ReadPaletteFile(folder.path() + "/FOLDER.PAL"), std::nullopt);
    EXPECT_EQ(ReadPaletteFile(""), std::nullopt);
}

TEST_F(PaletteReader, ScriptPathsFindLowerCaseFiles)
{
    folder.write("pals/pal0.pal", rawPalette({{1, 2, 3}}));
    EXPECT_EQ(ReadPaletteFile(folder.path() + "\\PALS\\PAL0.PAL"), imageOf({{1, 2, 3}}));
}

} // namespace
