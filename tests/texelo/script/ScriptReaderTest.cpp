#include "ScriptReader.h"

#include <gtest/gtest.h>

#include <string>

TEST(ScriptReader, CommentOnlyWhenTheVeryFirstCharacterMarksIt)
{
    ScriptReader reader("#a: b\n*c\n;d\n #x\n");
    for (int i = 0; i < 3; ++i)
    {
        ASSERT_TRUE(reader.readLine());
        EXPECT_TRUE(reader.isComment()) << i;
    }
    ASSERT_TRUE(reader.readLine());
    EXPECT_FALSE(reader.isComment());
    EXPECT_EQ(reader.keyword(), "#X");
    EXPECT_FALSE(reader.readLine());
}

TEST(ScriptReader, BlanksDroppedInKeywordAndTextUpperCased)
{
    ScriptReader reader("S O R T : on\n\tnew back drop:\t my  pic \n");
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.keyword(), "SORT");
    EXPECT_EQ(reader.argument(), "ON");
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.keyword(), "NEWBACKDROP");
    EXPECT_EQ(reader.argument(), "MY  PIC "); // blanks inside and at the end stay
}

TEST(ScriptReader, LineWithoutColonKeepsThePreviousArgument)
{
    ScriptReader reader("PATH: x\n\nSORT\nKEY:\nSORT");
    ASSERT_TRUE(reader.readLine());
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.keyword(), ""); // a blank line
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.keyword(), "SORT");
    EXPECT_EQ(reader.argument(), "X");
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.keyword(), "KEY");
    EXPECT_EQ(reader.argument(), "");
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.argument(), "");
    EXPECT_FALSE(reader.readLine());
}

TEST(ScriptReader, CrLfLinesReadAsLf)
{
    ScriptReader reader("SORT: on\r\n# note\r\nb  Tree 8 4 16 16\r\n");
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.argument(), "ON");
    ASSERT_TRUE(reader.readLine());
    EXPECT_TRUE(reader.isComment());
    ASSERT_TRUE(reader.readLine());
    EXPECT_FALSE(reader.isComment());
    EXPECT_EQ(reader.line(), "b  Tree 8 4 16 16"); // kept as written for cell lines
    EXPECT_FALSE(reader.readLine());
}

TEST(ScriptReader, KeywordArgumentAndLineCutTo511Characters)
{
    ScriptReader reader(std::string(600, 'k') + ":" + std::string(600, 'a') + "\nNEXT\n");
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.keyword(), std::string(511, 'K'));
    EXPECT_EQ(reader.argument(), std::string(511, 'A'));
    EXPECT_EQ(reader.line().size(), 511u);
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.keyword(), "NEXT");
}
