#include "script/TexeloEntry.h"

#include <gtest/gtest.h>

#include <string>

TEST(SplitCommandLine, ScriptNameLowerCasedAndBatchWordExact)
{
    const TexeloCommandLine batch = splitCommandLine("Levels\\A.FIT /c");
    EXPECT_EQ(batch.text, "Levels\\A.FIT /c");
    EXPECT_EQ(batch.scriptName, "levels\\a.fit");
    EXPECT_EQ(batch.optionWord, "/c");
    EXPECT_TRUE(batch.batch());
    EXPECT_FALSE(splitCommandLine("a.fit /C").batch());
    EXPECT_FALSE(splitCommandLine("a.fit").batch());
}

TEST(SplitCommandLine, EmptyCommandLineGivesEmptyScriptName)
{
    const TexeloCommandLine empty = splitCommandLine("");
    EXPECT_EQ(empty.scriptName, "");
    EXPECT_EQ(empty.optionWord, "");
}

TEST(SplitCommandLine, NameAndOptionWordCutToTheirBuffers)
{
    const TexeloCommandLine longer = splitCommandLine(std::string(300, 'N') + " " + std::string(40, 'o'));
    EXPECT_EQ(longer.scriptName, std::string(255, 'n'));
    EXPECT_EQ(longer.optionWord, std::string(31, 'o'));
}
