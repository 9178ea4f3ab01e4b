// Palette sets: the three palette file formats, nearest-colour matching
// through the reference palette, remapping a CLUT to every set palette, and
// how script paths (backslashes, upper case) find files on a case-sensitive
// file system.
#include "CapturingReporter.h"
#include "PaletteFileWriter.h"
#include "TempFolder.h"
#include "convert/PaletteSet.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{

using namespace palettewriter;
using Names = std::vector<std::string>;

PaletteImage imageOf(const Bytes& triplets)
{
    PaletteImage image{};
    std::copy(triplets.begin(), triplets.end(), image.begin());
    return image;
}

TEST(PaletteFile, FormatIsDecidedByContentAndMissingColoursAreBlack)
{
    const Bytes riff = {'R',  'I', 'F', 'F', 0x14, 0,    0, 0, 'P', 'A', 'L', ' ',  'd', 'a', 't', 'a',
                        0x0C, 0,   0,   0,   0x00, 0x03, 2, 0, 1,   2,   3,   0xFF, 4,   5,   6,   0xFF};
    const std::tuple<const char*, Bytes, Bytes> cases[] = {
        // what, the file, its first colours (the rest black)
        // clang-format off
        {"RIFF entries from byte 24, flags dropped", riff, {1, 2, 3, 4, 5, 6}},
        {"RIFF declaring 16 colours holding 256", riffPalette(distinctColours(), 16), rawPalette(distinctColours())},
        {"JASC numbers separated by anything, low 8 bits kept",
         bytesOf("JASC-PAL\n0100\n256\n1 2 3\r\n4\t5  6\n-7,x8;300\n"), {1, 2, 3, 4, 5, 6, 7, 8, 44}},
        {"JASC of 16 colours", bytesOf(jascPalette(distinctColours(), "16")), rawPalette(distinctColours(16))},
        {"JASC header digits are no colours", bytesOf("JASC-PAL 9\r\n0100\r\n256 7\r\n11 12 13\r\n"), {11, 12, 13}},
        {"raw triplets", {1, 2, 3, 4}, {1, 2, 3, 4}},
        // clang-format on
    };
    TempFolder folder;
    RunFiles files;
    for (const auto& [what, file, triplets] : cases)
        EXPECT_EQ(ReadPaletteFile(files, folder.write("pals/x.pal", file)), imageOf(triplets)) << what;
    EXPECT_EQ(ReadPaletteFile(files, folder.path() + "/pals/none.pal"), std::nullopt);
    EXPECT_EQ(ReadPaletteFile(files, folder.path() + "/pals"), std::nullopt);
}

// A palette cut anywhere keeps what lies before the cut, down to a number's
// leading digits, and the rest is black; a name's magic cut short is raw data.
TEST(PaletteFile, ACutFileKeepsWhatLiesBeforeTheCut)
{
    const std::vector<Rgb> colours = distinctColours();
    const Bytes riff = riffPalette(colours, 256), raw = rawPalette(colours);
    std::string jasc = "JASC-PAL\r\n0100\r\n256\r\n";
    std::vector<std::pair<std::size_t, std::string>> numbers; // where each starts, its digits
    for (const Rgb& c : colours)
        for (const int channel : {0, 1, 2})
        {
            numbers.emplace_back(jasc.size(), std::to_string(channel == 0 ? c.r : channel == 1 ? c.g : c.b));
            jasc += numbers.back().second + (channel == 2 ? "\r\n" : " ");
        }
    TempFolder folder;
    RunFiles runFiles;
    for (std::size_t length = 0; length < jasc.size(); ++length)
    {
        const auto cut = [&](const auto& whole)
        { return Bytes(whole.begin(), whole.begin() + std::min(length, whole.size())); };
        Bytes fromRiff(raw.size()), fromJasc(raw.size());
        for (std::size_t i = 0; i < raw.size(); ++i)
        {
            fromRiff[i] = 24 + i / 3 * 4 + i % 3 < length ? raw[i] : 0;
            const auto& [start, digits] = numbers[i];
            fromJasc[i] = start < length ? uint8_t(std::stoi(digits.substr(0, length - start))) : 0;
        }
        // The file as cut, and the colours it holds.
        const std::tuple<const char*, Bytes, Bytes> files[] = {{"r.pal", cut(riff), length < 4 ? cut(riff) : fromRiff},
                                                               {"j.pal", cut(jasc), length < 8 ? cut(jasc) : fromJasc},
                                                               {"a.act", cut(raw), cut(raw)}};
        for (const auto& [name, file, held] : files)
            EXPECT_EQ(ReadPaletteFile(runFiles, folder.write(name, file)), imageOf(held)) << name << " of " << length;
    }
}

// Each CLUT colour is looked up in the reference palette: an exact match
// (the first), else the nearest packed number (the earlier on ties), which is
// reported. The set palette's colour at that index replaces it, with STP.
TEST(PaletteMatch, ExactOrNearestReferenceIndexGivesTheSetColour)
{
    const auto put = [](PaletteImage& image, int index, int psx)
    {
        const Rgb c = rgbOfPsx(static_cast<uint16_t>(psx));
        std::copy_n(&c.r, 3, image.begin() + 3 * index);
    };
    PaletteImage reference, set{};
    reference.fill(248);
    const int entries[] = {3, 0x1234, 9, 0x2222, 40, 0x2222, 10, 0x04F0, 11, 0x0510, 1, 0x0040, 2, 0x001F};
    for (std::size_t i = 0; i < std::size(entries); i += 2) // index, PSX colour
        put(reference, entries[i], entries[i + 1]);
    for (int k = 0; k < 256; ++k) // PSX k + 1, naming the index chosen
        put(set, k, k + 1);
    // The source's STP bit is ignored; green 2 (0x0040) is one channel step
    // from 0x0020, red 31 (0x001F) one as a number.
    const uint16_t source[] = {0x1234, 0x9234, 0x2222, 0x0500, 0x0020};
    uint16_t result[6] = {0, 0, 0, 0, 0, 0xBEEF};
    CapturingReporter reporter;
    EXPECT_EQ(MatchColours(reporter, source, result, 5, reference, set), result + 5);
    EXPECT_EQ(std::vector<uint16_t>(result, result + 6),
              (std::vector<uint16_t>{0x8004, 0x8004, 0x800A, 0x800B, 0x8003, 0xBEEF}));
    EXPECT_EQ(reporter.output(), "no match: Source = 000500, Nearest = 0004F0\n"
                                 "no match: Source = 000020, Nearest = 00001F\n");
}

// A PALETTES folder as a script names it: Default.PAL (else Default.ACT),
// then Pal0, Pal1, ... with its extension, in any format. A missing set
// palette is reported and the later ones move up; the texture's own CLUT
// fills the slots left.
TEST(PaletteSet, RemapGivesOneClutPerReadableSetPalette)
{
    // Reference colour k is PSX k; colour k of set palette `tag` is tag * 0x100 + k.
    const auto colours = [](uint16_t tag)
    {
        std::vector<Rgb> all;
        for (uint16_t k = 0; k < kPaletteColourCount; ++k)
            all.push_back(rgbOfPsx(static_cast<uint16_t>(tag * 0x100 + k)));
        return all;
    };
    TempFolder folder;
    WorkingFolder inside(folder.path());
    folder.write("pals/default.pal", bytesOf(jascPalette(colours(0), "256")));
    folder.write("pals/pal0.pal", riffPalette(colours(1), 256));
    folder.write("pals/pal2.pal", rawPalette(colours(0)));
    folder.write("acts/default.act", rawPalette(colours(0)));
    folder.write("acts/pal0.act", rawPalette(colours(3)));
    folder.write("acts/pal0.pal", rawPalette(colours(1)));
    const std::vector<uint16_t> own = {0x0000, 0x0005, 0x00FF, 0x8010};
    const std::tuple<const char*, uint32_t, std::vector<uint16_t>, std::string> cases[] = {
        // clang-format off
        {"PALS", 3, {0x8100, 0x8105, 0x81FF, 0x8110, 0x0000, 0x8005, 0x80FF, 0x8010, 0x0000, 0x0005, 0x00FF, 0x8010, 0xBEEF},
         "Failed to load 'PALS\\Pal1.PAL' palette.\n"},
        {"ACTS", 1, {0x8300, 0x8305, 0x83FF, 0x8310, 0xBEEF}, ""},
        {"NONE", 2, {0x0000, 0x0005, 0x00FF, 0x8010, 0x0000, 0x0005, 0x00FF, 0x8010, 0xBEEF}, "Failed to load 'NONE\\Default.ACT' palette.\n"},
        // clang-format on
    };
    for (const auto& [palettes, count, cluts, out] : cases)
    {
        RunFiles files;
        CapturingReporter reporter;
        std::vector<uint16_t> destination(count * own.size() + 1, 0xBEEF); // one past the CLUTs
        RemapToPaletteSet(ReadPaletteSet(files, palettes, count), count, reporter, own.data(), destination,
                          static_cast<int>(own.size()));
        EXPECT_EQ(destination, cluts) << palettes;
        EXPECT_EQ(reporter.output(), out);
    }
}

// Each component is matched exactly first, else ignoring case (the first
// in name order); a run's lookups, which read each folder once, agree.
TEST(PathLookup, ScriptPathsFindFilesIgnoringCase)
{
    TempFolder folder;
    WorkingFolder inside(folder.path());
    std::filesystem::create_directories("DATA"); // sorts before "data", which the path names
    std::filesystem::create_directories("tex/d.tga"); // for FILES, a folder is never a match
    // In "zone1", z: the last letter folds too.
    for (const char* name : {"Textures/zone1/wall.Tga", "A/b.pal", "data/file.txt", "pal0.pal", "Pal0.Pal",
                             "tex/b.TGA", "tex/A.tga", "tex/c.Tga", "tex/readme.txt", "tex/ab", "tex/AB"})
        folder.write(name, "x");
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        // clang-format off
        {"TEXTURES\\ZONE1\\WALL.TGA", "Textures/zone1/wall.Tga"}, {"textures/ZONE1/", "Textures/zone1"},
        {".\\a\\.\\B.PAL", "./A/./b.pal"}, {"a\\\\B.PAL", "A/b.pal"}, {"data/FILE.TXT", "data/file.txt"},
        {"PAL0.PAL", "Pal0.Pal"}, {"A/missing.pal", ""}, {"A/b.pal/c", ""}, {"", ""},
        {folder.path() + "\\TEXTURES\\ZONE1\\WALL.TGA", folder.path() + "/Textures/zone1/wall.Tga"},
        // clang-format on
    };
    RunFiles run;
    for (const auto& [path, resolved] : cases)
    {
        EXPECT_EQ(resolveExistingPath(path), resolved) << path;
        const PathLookup cached = run.lookUp(path);
        EXPECT_EQ(cached.found ? cached.path : "", resolved) << path;
    }
    EXPECT_EQ(readWholeFile("PIPE"), std::nullopt) << "a pipe without a writer would never end";
    EXPECT_EQ(readWholeFile("DATA"), std::nullopt);
    EXPECT_EQ(readWholeFile("A\\B.PAL"), Bytes{'x'});
    // FILES lists names ignoring case, in name order; case variants in byte order.
    EXPECT_EQ(findMatchingFiles("TEX\\*.TGA"), (Names{"A.tga", "b.TGA", "c.Tga"}));
    EXPECT_EQ(findMatchingFiles("TEX\\A*"), (Names{"A.tga", "AB", "ab"}));
    EXPECT_EQ(findMatchingFiles("NONE\\*"), Names{});
}

TEST(PathLookup, WildcardsMatchIgnoringCase)
{
    const std::tuple<std::string, std::string, bool> cases[] = {
        // clang-format off
        {"WALL.TGA", "wall.tga", true}, {"WALL.TGA", "wall.tg", false}, {"A?C", "abc", true},
        {"?", "", false}, {"*", "", true}, {"*.TGA", ".tga", true}, {"*.*", "noext", false},
        {"a*b*c", "aXbYbZc", true}, {"a*b*c", "aXbYbZ", false}, {"*?X", "X", false}, {"*X", "*abX", true},
        {"*a*a*a*a*b", std::string(5000, 'a'), false},
        // clang-format on
    };
    for (const auto& [pattern, name, matches] : cases)
        EXPECT_EQ(wildcardMatch(pattern, name), matches) << pattern << " / " << name.substr(0, 9);
}

// A folder is listed once per run for case-blind lookups; a file the run
// wrote there must still be found, even where the folder's time stamp does
// not move (set back here, as a file system with a coarse clock leaves it),
// and so must one another program added before the run's write.
TEST(PathLookup, AFileTheRunWroteIsFoundAfterItsFolderWasListed)
{
    TempFolder folder;
    folder.write("out/Old.tbk", "x");
    WorkingFolder inside(folder.path());
    const auto stamp = std::filesystem::last_write_time("out") - std::chrono::hours(1);
    std::filesystem::last_write_time("out", stamp);
    RunFiles run;
    EXPECT_EQ(run.lookUp("OUT/OLD.TBK").path, "out/Old.tbk");
    folder.write("out/New.TBK", "bank");
    std::filesystem::last_write_time("out", stamp);
    run.noteWritten("out/New.TBK");
    EXPECT_TRUE(run.lookUp("OUT/NEW.TBK").found);
    EXPECT_EQ(run.lookUp("OUT/NEW.TBK").path, "out/New.TBK");

    // Written in turn, each looked up in another case, and all again once
    // the listing has grown: of the names equal ignoring case, the first in
    // name order is found.
    folder.write("out/other.tbk", "theirs");
    // clang-format off
    struct Written { std::string path, lookedUp, found; };
    const Written written[] = {
        {"out/OLD.TBK", "OUT/oLD.TBK", "out/OLD.TBK"}, {"out/old.tbk", "OUT/oLD.TBK", "out/OLD.TBK"}, {"out/b0.tbk", "OUT/B0.TBK", "out/b0.tbk"},
        {"out/b1.tbk", "OUT/B1.TBK", "out/b1.tbk"}, {"out/b2.tbk", "OUT/B2.TBK", "out/b2.tbk"}, {"out/b3.tbk", "OUT/B3.TBK", "out/b3.tbk"},
        {"out/b4.tbk", "OUT/B4.TBK", "out/b4.tbk"}, {"out/b5.tbk", "OUT/B5.TBK", "out/b5.tbk"},
    };
    // clang-format on
    for (const Written& w : written)
    {
        folder.write(w.path, "bank");
        run.noteWritten(w.path);
        EXPECT_EQ(run.lookUp(w.lookedUp).path, w.found);
    }
    for (const Written& w : written)
        EXPECT_EQ(run.lookUp(w.lookedUp).path, w.found);
    EXPECT_EQ(run.lookUp("OUT/OTHER.TBK").path, "out/other.tbk");
}

} // namespace
