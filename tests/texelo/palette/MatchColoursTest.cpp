// MatchColours: look-up through the reference palette, nearest-colour
// choice, the semi-transparency bit, and the "no match" report.
#include "PaletteFileWriter.h"
#include "convert/PaletteSet.h"
#include "convert/PsxColour.h"
#include "CapturingReporter.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace
{

void setColour(PaletteImage& image, std::size_t index, uint16_t psx)
{
    const palettewriter::Rgb rgb = palettewriter::rgbOfPsx(psx);
    image[index * 3] = rgb.r;
    image[index * 3 + 1] = rgb.g;
    image[index * 3 + 2] = rgb.b;
}

// Every index holds `fill` except the ones listed.
PaletteImage palette(std::initializer_list<std::pair<std::size_t, uint16_t>> entries, uint16_t fill = 0x7FFF)
{
    PaletteImage image{};
    for (std::size_t index = 0; index < kPaletteColourCount; ++index)
        setColour(image, index, fill);
    for (const auto& [index, psx] : entries)
        setColour(image, index, psx);
    return image;
}

// Set palette whose colour k is the PSX number k + 1, so the output names
// the index chosen.
PaletteImage indexPalette()
{
    PaletteImage image{};
    for (std::size_t index = 0; index < kPaletteColourCount; ++index)
        setColour(image, index, static_cast<uint16_t>(index + 1));
    return image;
}

constexpr uint16_t chosenIndex(std::size_t index)
{
    return static_cast<uint16_t>((index + 1) | kPsxStpBit);
}

class MatchColoursTest : public ::testing::Test
{
protected:
    std::vector<uint16_t> match(std::vector<uint16_t> source, const PaletteImage& reference,
                                const PaletteImage& set = indexPalette())
    {
        std::vector<uint16_t> destination(source.size() + 1, 0xBEEF);
        const uint16_t* end = MatchColours(reporter, source.data(), destination.data(),
                                           static_cast<int>(source.size()), reference, set);
        EXPECT_EQ(end, destination.data() + source.size());
        EXPECT_EQ(destination.back(), 0xBEEF) << "wrote past the entry count";
        destination.pop_back();
        return destination;
    }

    CapturingReporter reporter;
};

TEST_F(MatchColoursTest, EachEntryMapsThroughItsNearestReferenceIndex)
{
    const struct
    {
        std::vector<uint16_t> source;
        PaletteImage reference;
        std::vector<uint16_t> chosen;
        bool exact;
    } cases[] = {
        {{0x1234, 0x0421}, palette({{3, 0x1234}, {200, 0x0421}}), {chosenIndex(3), chosenIndex(200)}, true},
        {{0x9234}, palette({{7, 0x1234}}), {chosenIndex(7)}, true},               // source STP ignored
        {{0x2222}, palette({{40, 0x2222}, {9, 0x2222}}), {chosenIndex(9)}, true}, // the lower index
        {{0x0020}, palette({{4, 0x0010}, {8, 0x0030}}), {chosenIndex(4)}, false}, // ties: the earlier
        {{0x0020}, palette({{4, 0x0030}, {8, 0x0010}}), {chosenIndex(4)}, false},
        // Green 2 is one channel step from green 1 but 0x20 as a number; red
        // 31 is 1 as a number.
        {{0x0020}, palette({{1, 0x0040}, {2, 0x001F}}), {chosenIndex(2)}, false},
        {{0x7FFF}, palette({}, 0), {chosenIndex(0)}, false}, // every distance 0x7FFF: index 0
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
    {
        SCOPED_TRACE(i);
        const std::size_t reported = reporter.output().size();
        EXPECT_EQ(match(cases[i].source, cases[i].reference), cases[i].chosen);
        EXPECT_EQ(reporter.output().size() == reported, cases[i].exact);
    }
}

TEST_F(MatchColoursTest, ReferenceChannelsAreRoundedAndHeldAt31)
{
    PaletteImage reference = palette({}, 0);
    // (3,4,11) rounds to (0,1,1); (255,252,251) to (31,31,31).
    reference[5 * 3] = 3, reference[5 * 3 + 1] = 4, reference[5 * 3 + 2] = 11;
    reference[6 * 3] = 255, reference[6 * 3 + 1] = 252, reference[6 * 3 + 2] = 251;
    EXPECT_EQ(match({0x0420, 0x7FFF}, reference), (std::vector<uint16_t>{chosenIndex(5), chosenIndex(6)}));
}

TEST_F(MatchColoursTest, BlackSetColourGivesTransparentZeroOthersGetStp)
{
    PaletteImage set{};
    set[1 * 3] = 255, set[1 * 3 + 1] = 255, set[1 * 3 + 2] = 255; // white
    set[2 * 3 + 2] = 3;                                           // rounds to black
    set[3 * 3] = 4;                                               // rounds to red 1
    const PaletteImage reference = palette({{0, 0x0100}, {1, 0x0101}, {2, 0x0102}, {3, 0x0103}});
    EXPECT_EQ(match({0x0100, 0x0101, 0x0102, 0x0103}, reference, set),
              (std::vector<uint16_t>{0x0000, 0xFFFF, 0x0000, 0x8001}));
}

TEST_F(MatchColoursTest, NoMatchIsReportedOnStdoutAndMessageLine)
{
    EXPECT_EQ(match({0x0020}, palette({{4, 0x0010}, {8, 0x0030}})), std::vector<uint16_t>{chosenIndex(4)});
    EXPECT_EQ(reporter.output(), "no match: Source = 000020, Nearest = 000010\n");
    EXPECT_EQ(reporter.messageLine(), "no match: Source = 000020, Nearest = 000010");
    EXPECT_EQ(reporter.repaints, 1);
    EXPECT_EQ(reporter.errors(), "");
}

TEST_F(MatchColoursTest, OneReportPerUnmatchedEntryInOrder)
{
    const PaletteImage reference = palette({{0, 0x7000}, {1, 0x0100}});
    match({0x8100, 0x7001, 0x00FF, 0x0100}, reference);
    EXPECT_EQ(reporter.output(), "no match: Source = 007001, Nearest = 007000\n"
                                 "no match: Source = 0000FF, Nearest = 000100\n");
    EXPECT_EQ(reporter.messageLine(), "no match: Source = 0000FF, Nearest = 000100");
    EXPECT_EQ(reporter.repaints, 2);
}

TEST_F(MatchColoursTest, NoEntriesWriteNothing)
{
    uint16_t destination = 0xBEEF;
    const uint16_t source = 0x1234;
    const PaletteImage reference = palette({});
    EXPECT_EQ(MatchColours(reporter, &source, &destination, 0, reference, reference), &destination);
    EXPECT_EQ(MatchColours(reporter, &source, &destination, -3, reference, reference), &destination);
    EXPECT_EQ(destination, 0xBEEF);
}

} // namespace
