// RemapToPaletteSet: which files a set is read from, one CLUT per readable
// set palette, the reports for missing files, and the slots left over.
#include "PaletteFileWriter.h"
#include "convert/PaletteSet.h"
#include "convert/PsxColour.h"
#include "CapturingReporter.h"
#include "texelo/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

using namespace palettewriter;

// Reference colour k is the PSX number k; colour k of set palette `tag` is
// tag * 0x100 + k, so every output names its palette and index.
std::vector<Rgb> referenceColours()
{
    std::vector<Rgb> colours;
    for (uint16_t k = 0; k < kPaletteColourCount; ++k)
        colours.push_back(rgbOfPsx(k));
    return colours;
}

std::vector<Rgb> setColours(uint16_t tag)
{
    std::vector<Rgb> colours;
    for (uint16_t k = 0; k < kPaletteColourCount; ++k)
        colours.push_back(rgbOfPsx(static_cast<uint16_t>(tag * 0x100 + k)));
    return colours;
}

std::vector<uint16_t> remapped(uint16_t tag, const std::vector<uint16_t>& clut)
{
    std::vector<uint16_t> result;
    for (uint16_t colour : clut)
        result.push_back(static_cast<uint16_t>((tag * 0x100 + colour) | kPsxStpBit));
    return result;
}

std::vector<uint16_t> concat(std::initializer_list<std::vector<uint16_t>> parts)
{
    std::vector<uint16_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

class RemapToPaletteSetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder.makeFolder("pals");
        // Scripts are upper case and join with a backslash; the folder on
        // disk is lower case.
        paletteDir = folder.path() + "\\PALS";
    }

    // Runs the remap of `clut` into a destination with room for exactly
    // PaletteCount CLUTs plus a guard entry, and returns the CLUTs.
    std::vector<uint16_t> remap(const std::vector<uint16_t>& clut)
    {
        std::vector<uint16_t> destination(paletteCount * clut.size() + 1, 0xBEEF);
        remapInto(clut.data(), destination, static_cast<int>(clut.size()));
        EXPECT_EQ(destination.back(), 0xBEEF) << "wrote past PaletteCount CLUTs";
        destination.pop_back();
        return destination;
    }

    // The set is read as a PALETTES line reads it, then used once.
    void remapInto(const uint16_t* source, std::vector<uint16_t>& destination, int entries)
    {
        RemapToPaletteSet(ReadPaletteSet(files, paletteDir, paletteCount), paletteCount, reporter, source,
                          destination, entries);
    }

    std::string dir() const { return paletteDir; }

    // Raw .pal files: the reference palette, then set palette n tagged `tag`.
    void writeSet(std::initializer_list<std::pair<int, uint16_t>> palettes, int count)
    {
        folder.write("pals/default.pal", rawPalette(referenceColours()));
        for (const auto& [n, tag] : palettes)
            folder.write("pals/pal" + std::to_string(n) + ".pal", rawPalette(setColours(tag)));
        paletteCount = count;
    }

    TempFolder folder;
    CapturingReporter reporter;
    RunFiles files;
    std::string paletteDir;
    uint32_t paletteCount = 0;
    const std::vector<uint16_t> clut{0x0000, 0x0005, 0x00FF, 0x8010};
    const std::vector<uint16_t> indices{0, 5, 0xFF, 0x10}; // of clut, without STP
};

TEST_F(RemapToPaletteSetTest, PalSetGivesOneClutPerPaletteInAnyFormat)
{
    folder.write("pals/default.pal", jascPalette(referenceColours(), "256"));
    folder.write("pals/pal0.pal", riffPalette(setColours(1), 256));
    folder.write("pals/pal1.pal", rawPalette(setColours(2)));
    paletteCount = 2;
    EXPECT_EQ(remap(clut), concat({remapped(1, indices), remapped(2, indices)}));
    EXPECT_EQ(reporter.output(), "");
}

TEST_F(RemapToPaletteSetTest, ActReferenceMeansActSetPalettes)
{
    folder.write("pals/default.act", rawPalette(referenceColours()));
    folder.write("pals/pal0.act", rawPalette(setColours(3)));
    folder.write("pals/pal0.pal", rawPalette(setColours(4))); // not part of an ACT set
    paletteCount = 1;
    EXPECT_EQ(remap(clut), remapped(3, indices));
    EXPECT_EQ(reporter.output(), "");
}

TEST_F(RemapToPaletteSetTest, MissingReferenceIsReportedAndEverySlotKeepsTheOwnClut)
{
    folder.write("pals/pal0.pal", rawPalette(setColours(1)));
    paletteCount = 3;
    EXPECT_EQ(remap(clut), concat({clut, clut, clut}));
    const std::string text = "Failed to load '" + dir() + "\\Default.ACT' palette.";
    EXPECT_EQ(reporter.output(), text + "\n");
    EXPECT_EQ(reporter.messageLine(), text.substr(0, TexeloReporter::kMessageLineCapacity));
    EXPECT_EQ(reporter.repaints, 1);
}

TEST_F(RemapToPaletteSetTest, MissingSetPaletteLetsTheNextMoveUpAndTheOwnClutFillsTheEnd)
{
    writeSet({{0, 1}, {2, 3}}, 3);
    EXPECT_EQ(remap(clut), concat({remapped(1, indices), remapped(3, indices), clut}));
    EXPECT_EQ(reporter.output(), "Failed to load '" + dir() + "\\Pal1.PAL' palette.\n");
}

TEST_F(RemapToPaletteSetTest, ReportsComeInPaletteOrder)
{
    std::vector<Rgb> reference = referenceColours();
    reference[0x22] = rgbOfPsx(0x0300); // nothing is 0x22 any more; 0x21 is nearest
    folder.write("pals/default.pal", rawPalette(reference));
    folder.write("pals/pal0.pal", rawPalette(setColours(1)));
    folder.write("pals/pal2.pal", rawPalette(setColours(3)));
    paletteCount = 3;
    EXPECT_EQ(remap({0x0022}), concat({remapped(1, {0x21}), remapped(3, {0x21}), {0x0022}}));
    EXPECT_EQ(reporter.output(), "no match: Source = 000022, Nearest = 000021\n"
                                 "Failed to load '" +
                                     dir() +
                                     "\\Pal1.PAL' palette.\n"
                                     "no match: Source = 000022, Nearest = 000021\n");
}

TEST_F(RemapToPaletteSetTest, UpperCaseNamesFindLowerCaseFolderAndFiles)
{
    folder.makeFolder("Other/pals");
    folder.write("Other/pals/default.pal", rawPalette(referenceColours()));
    folder.write("Other/pals/PAL0.Pal", rawPalette(setColours(5)));
    paletteDir = folder.path() + "\\OTHER\\PALS";
    paletteCount = 1;
    EXPECT_EQ(remap(clut), remapped(5, indices));
    EXPECT_EQ(reporter.output(), "");
}

TEST_F(RemapToPaletteSetTest, SourceMayBeTheFirstSlotOfTheDestination)
{
    writeSet({{0, 1}, {1, 2}}, 2);
    std::vector<uint16_t> destination = clut; // only room for one CLUT
    remapInto(destination.data(), destination, static_cast<int>(clut.size()));
    EXPECT_EQ(destination, concat({remapped(1, indices), remapped(2, indices)}));
}

TEST_F(RemapToPaletteSetTest, EntriesPastTheClutsAreLeftAlone)
{
    writeSet({{0, 1}}, 1);
    std::vector<uint16_t> destination(clut.size() * 3, 0x1111);
    remapInto(clut.data(), destination, static_cast<int>(clut.size()));
    EXPECT_EQ(destination.size(), clut.size() * 3);
    EXPECT_TRUE(
        std::all_of(destination.begin() + 4, destination.end(), [](uint16_t c) { return c == 0x1111; }));
}

TEST_F(RemapToPaletteSetTest, LargestSetOf255PalettesWith256EntryCluts)
{
    writeSet({{254, 7}}, 255);
    std::vector<uint16_t> own(256);
    for (uint16_t k = 0; k < own.size(); ++k)
        own[k] = k;
    const std::vector<uint16_t> result = remap(own);
    ASSERT_EQ(result.size(), 255u * 256u);
    const std::vector<uint16_t> first(result.begin(), result.begin() + 256);
    EXPECT_EQ(first, remapped(7, own));
    for (std::size_t slot = 1; slot < 255; ++slot)
        EXPECT_TRUE(
            std::equal(own.begin(), own.end(), result.begin() + static_cast<std::ptrdiff_t>(slot * 256)))
            << "slot " << slot;
    const std::string out = reporter.output();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 254);
    EXPECT_EQ(reporter.messageLine(), "Failed to load '" + dir() + "\\Pal253.PAL' palette.");
}

} // namespace
