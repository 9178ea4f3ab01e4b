// PathLookup: how script paths (backslashes, upper case) find files on a
// case-sensitive file system, and the wildcard search of FILES.
#include "files/PathLookup.h"
#include "files/RunFiles.h"
#include "texelo/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

using Names = std::vector<std::string>;

// Runs a test body from inside a folder, for the relative paths scripts use.
struct WorkingFolder
{
    explicit WorkingFolder(const std::string& path) { std::filesystem::current_path(path); }
    ~WorkingFolder() { std::filesystem::current_path(previous); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;
    const std::filesystem::path previous = std::filesystem::current_path();
};

struct PathLookupTest : ::testing::Test
{
    std::string at(const std::string& relative) const { return folder.path() + "/" + relative; }
    TempFolder folder;
};

TEST(PathLookupText, BackslashesBecomeSlashes)
{
    EXPECT_EQ(toPosixPath("A\\B\\C.TGA"), "A/B/C.TGA");
    EXPECT_EQ(toPosixPath("\\\\lead\\"), "//lead/");
    EXPECT_EQ(toPosixPath("plain/path"), "plain/path");
    EXPECT_EQ(toPosixPath(""), "");
}

// Each component is matched exactly first, else ignoring case (the first
// variant in name order); dot components and double separators are kept.
TEST_F(PathLookupTest, ResolvesEachComponentIgnoringCase)
{
    folder.write("Tex/a.tga", "x");
    folder.write("Textures/Level1/wall.Tga", "x");
    folder.write("A/b.pal", "x");
    folder.makeFolder("C");
    folder.makeFolder("DATA"); // sorts before "data", but "data" is what the path says
    folder.write("data/file.txt", "x");
    folder.write("pal0.pal", "lower");
    folder.write("Pal0.Pal", "mixed");
    const std::string root = folder.path();
    const std::pair<std::string, std::string> cases[] = {
        {at("Tex/a.tga"), at("Tex/a.tga")},
        {root + "\\Tex\\a.tga", at("Tex/a.tga")},
        {root + "\\TEXTURES\\LEVEL1\\WALL.TGA", at("Textures/Level1/wall.Tga")},
        {at("textures/level1/"), at("Textures/Level1")},
        {root + "\\a\\.\\B.PAL", at("A/./b.pal")},
        {root + "\\a\\\\B.PAL", at("A/b.pal")},
        {root + "\\c\\..\\A\\B.PAL", at("C/../A/b.pal")},
        {at("data/FILE.TXT"), at("data/file.txt")},
        {at("PAL0.PAL"), at("Pal0.Pal")},
        {at("A/missing.pal"), ""},
        {at("missing/b.pal"), ""},
        {at("A/b.pal/c"), ""}, // a file is no folder
        {"", ""},
    };
    // A run's lookups answer case-blind matches from the folders read once;
    // they must find the same files.
    RunFiles run;
    for (const auto& [path, resolved] : cases)
    {
        EXPECT_EQ(resolveExistingPath(path), resolved) << path;
        const PathLookup cached = run.lookUp(path);
        EXPECT_EQ(cached.found ? cached.path : "", resolved) << path;
    }
}

TEST_F(PathLookupTest, RelativePathsStartInTheWorkingFolder)
{
    folder.write("Scripts/Level.fit", "x");
    WorkingFolder inside(folder.path());
    EXPECT_EQ(resolveExistingPath("SCRIPTS\\LEVEL.FIT"), "Scripts/Level.fit");
    EXPECT_EQ(resolveExistingPath(".\\SCRIPTS\\LEVEL.FIT"), "./Scripts/Level.fit");
    EXPECT_EQ(readWholeFile("scripts\\level.FIT"), std::vector<uint8_t>{'x'});
}

TEST_F(PathLookupTest, ReadRefusesFoldersPipesAndMissingFiles)
{
    folder.makeFolder("Dir");
    ASSERT_EQ(mkfifo((folder.path() + "/Pipe").c_str(), 0600), 0);
    EXPECT_EQ(readWholeFile(at("DIR")), std::nullopt);
    EXPECT_EQ(readWholeFile(at("PIPE")), std::nullopt) << "a pipe without a writer would never end";
    EXPECT_EQ(readWholeFile(at("none")), std::nullopt);
    folder.write("Empty.bin", std::vector<uint8_t>{});
    EXPECT_EQ(readWholeFile(at("EMPTY.BIN")), std::vector<uint8_t>{});
}

TEST_F(PathLookupTest, ReadWholeFileReadsPastItsChunkSize)
{
    std::vector<uint8_t> bytes(200'003);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 31 + i / 256);
    folder.write("big.bin", bytes);
    EXPECT_EQ(readWholeFile(at("BIG.BIN")), bytes);
}

TEST_F(PathLookupTest, FindMatchingFilesIgnoresCaseAndSortsIgnoringCase)
{
    folder.write("tex/b.TGA", "x");
    folder.write("tex/A.tga", "x");
    folder.write("tex/c.Tga", "x");
    folder.write("tex/readme.txt", "x");
    folder.makeFolder("tex/d.tga"); // a folder is never a match
    EXPECT_EQ(findMatchingFiles(folder.path() + "\\TEX\\*.TGA"), (Names{"A.tga", "b.TGA", "c.Tga"}));
    EXPECT_EQ(findMatchingFiles(folder.path() + "\\TEX\\?.tga"), (Names{"A.tga", "b.TGA", "c.Tga"}));
    EXPECT_EQ(findMatchingFiles(folder.path() + "\\TEX\\B*"), (Names{"b.TGA"}));
    EXPECT_EQ(findMatchingFiles(folder.path() + "\\TEX\\*"),
              (Names{"A.tga", "b.TGA", "c.Tga", "readme.txt"}));
}

TEST_F(PathLookupTest, FindMatchingFilesKeepsCaseVariantsInByteOrder)
{
    folder.write("x/ab", "x");
    folder.write("x/AB", "x");
    folder.write("x/Aa", "x");
    EXPECT_EQ(findMatchingFiles(at("x/*")), (Names{"Aa", "AB", "ab"}));
}

TEST_F(PathLookupTest, FindMatchingFilesWithoutFolderOrMatches)
{
    folder.write("One.TGA", "x");
    EXPECT_EQ(findMatchingFiles(at("missing/*.TGA")), Names{});
    EXPECT_EQ(findMatchingFiles(at("*.BMP")), Names{});
    EXPECT_EQ(findMatchingFiles(folder.path() + "\\"), Names{}); // empty pattern
    WorkingFolder inside(folder.path());
    EXPECT_EQ(findMatchingFiles("*.TGA"), Names{"One.TGA"});
}

// A file name may itself hold '*' on this file system; a '*' in the pattern
// must still be a wildcard there, not a literal.
TEST(WildcardMatch, LiteralsQuestionMarksAndBacktrackingStars)
{
    const std::string longName(5000, 'a');
    const struct
    {
        std::string pattern, name;
        bool matches;
    } cases[] = {
        // clang-format off
        {"WALL.TGA", "wall.tga", true}, {"WALL.TGA", "wall.tg", false}, {"WALL.TG", "wall.tga", false},
        {"", "", true}, {"", "a", false}, {"A?C", "abc", true},
        {"?", "", false}, {"??", "abc", false}, {"???", "a.c", true},
        {"*", "", true}, {"***", "abc", true}, {"A*", "a", true},
        {"A*", "", false}, {"*.TGA", ".tga", true}, {"*.*", "noext", false},
        {"*a", "ba", true}, {"*AB", "aab", true}, {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false}, {"*?X", "abX", true}, {"*?X", "X", false},
        {"*.tga*", "a.tga.tga.bak", true}, {"*", "*a", true}, {"*X", "*abX", true},
        {"?*", "**a", true}, {"*a*a*a*a*a*a*a*a*b", longName, false}, {"*a*a*a*a*a*a*a*a*", longName, true},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(wildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name.substr(0, 20);
}

} // namespace
