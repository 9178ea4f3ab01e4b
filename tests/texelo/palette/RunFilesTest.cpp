// RunFiles and the dependency file: what a run records as read, looked for
// and written, how the names are spelt for Make and Ninja, and that folder
// listings kept for case-blind lookups never hide a file the run wrote.
#include "files/RunFiles.h"
#include "files/DependencyFile.h"
#include "texelo/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{

using Names = std::vector<std::string>;

struct WorkingFolder
{
    explicit WorkingFolder(const std::string& path) { std::filesystem::current_path(path); }
    ~WorkingFolder() { std::filesystem::current_path(previous); }
    const std::filesystem::path previous = std::filesystem::current_path();
};

TEST(DependencyFileText, EscapesWhatMakeAndNinjaWouldSplitOrExpand)
{
    const std::pair<std::string, std::string> cases[] = {
        {"tex/a.tga", "tex/a.tga"},
        {"my tex/a b.tga", "my\\ tex/a\\ b.tga"},
        {"tex/#1.tga", "tex/\\#1.tga"},
        {"cost$/a$$.tga", "cost$$/a$$$$.tga"},
        {"t:/Global/A.tga", "t\\:/Global/A.tga"},
        {"../odd %&'(.tga", "../odd\\ %&'(.tga"},
    };
    for (const auto& [path, escaped] : cases)
        EXPECT_EQ(escapeForDependencyFile(path), escaped) << path;
}

TEST(DependencyFileText, OneRuleThenAnEmptyRulePerPrerequisite)
{
    EXPECT_EQ(dependencyFileText({"A.TBK", "out/B G"}, {"l.fit", "t/a.tga"}),
              "A.TBK out/B\\ G: \\\n  l.fit \\\n  t/a.tga\n\nl.fit:\n\nt/a.tga:\n");
    EXPECT_EQ(dependencyFileText({"A.TBK"}, {}), "A.TBK:\n");
    EXPECT_EQ(dependencyFileText({}, {"l.fit"}), "");
}

struct RunFilesTest : ::testing::Test
{
    TempFolder folder;
};

// Each step is what one stage does; the lists hold each name once, in the
// order first met, spelt as the lookup found it on disk.
TEST_F(RunFilesTest, RecordsWhatTheRunReadLookedForAndWrote)
{
    folder.write("Level.fit", "x");
    folder.write("Tex/Wall.tga", "x");
    folder.write("Tex/X1.tga", "x");
    folder.makeFolder("Tex/XDIR.TGA");
    folder.makeFolder("out");
    WorkingFolder inside(folder.path());

    RunFiles run;
    EXPECT_TRUE(run.readWholeFile("level.fit"));
    EXPECT_TRUE(run.readWholeFile("TEX\\WALL.TGA"));
    EXPECT_FALSE(run.readWholeFile("TEX\\NONE.TGA"));
    EXPECT_FALSE(run.readWholeFile("t:\\Global\\NONE.TGA"));
    EXPECT_EQ(run.findMatchingFiles("TEX\\X*.TGA"), Names{"X1.tga"});
    EXPECT_TRUE(run.readWholeFile("TEX\\X1.tga"));
    EXPECT_TRUE(run.readWholeFile("tex/wall.TGA"));
    EXPECT_EQ(run.findMatchingFiles("*.FIT"), Names{"Level.fit"});
    EXPECT_TRUE(run.findMatchingFiles("GONE\\*.TGA").empty());
    std::ofstream("out/A.TBK") << "bank";
    run.noteWritten("out/A.TBK");
    run.noteWritten("TITLE");
    run.noteWritten("out/A.TBK");

    EXPECT_EQ(run.prerequisites(), (Names{"Level.fit", "Tex/Wall.tga", "Tex/NONE.TGA", "t:/Global/NONE.TGA",
                                          "Tex", "Tex/X1.tga", ".", "GONE"}));
    EXPECT_EQ(run.targets(), (Names{"out/A.TBK", "TITLE"}));
}

// A bank written into a folder already read for a case-blind lookup must be
// found by the next one, even where the folder's time stamp does not move
// (set back here, as a file system with a coarse clock would leave it).
TEST_F(RunFilesTest, AFileTheRunWroteIsFoundAfterTheFolderWasRead)
{
    folder.write("out/Old.tbk", "x");
    WorkingFolder inside(folder.path());
    const auto stamp = std::filesystem::last_write_time("out") - std::chrono::hours(1);
    std::filesystem::last_write_time("out", stamp);
    RunFiles run;
    EXPECT_EQ(run.lookUp("OUT/OLD.TBK").path, "out/Old.tbk");
    folder.write("out/New.TBK", "bank");
    std::filesystem::last_write_time("out", stamp);
    run.noteWritten("out/New.TBK");
    const PathLookup found = run.lookUp("OUT/NEW.TBK");
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.path, "out/New.TBK");
}

TEST_F(RunFilesTest, DependencyFileIsWrittenWholeOrNotAtAll)
{
    WorkingFolder inside(folder.path());
    RunFiles run;
    run.noteWritten("A.TBK");
    EXPECT_FALSE(run.readWholeFile("MISSING.TGA"));
    ASSERT_EQ(writeDependencyFile("a.d", run), std::nullopt);
    std::ifstream in("a.d");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "A.TBK: \\\n  MISSING.TGA\n\nMISSING.TGA:\n");

    EXPECT_EQ(writeDependencyFile("no/such/folder/a.d", run), "it cannot be created");
    RunFiles broken;
    broken.noteWritten("two\nlines");
    EXPECT_EQ(writeDependencyFile("a.d", broken), "the file name \"two\nlines\" holds a line break");
    std::ifstream again("a.d");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), {}),
              "A.TBK: \\\n  MISSING.TGA\n\nMISSING.TGA:\n");
}

} // namespace
