#include "script/ScriptReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// Each line as read: "#" for a comment, else keyword=argument.
std::vector<std::string> read(ScriptReader reader)
{
    std::vector<std::string> lines;
    while (reader.readLine())
        lines.push_back(reader.isComment() ? "#" : reader.keyword() + "=" + reader.argument());
    return lines;
}
} // namespace

TEST(ScriptReader, KeywordsAndArgumentsAsRead)
{
    const struct
    {
        const char* what;
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"a comment only when the very first character marks it",
         "#a: b\n*c\n;d\n #x\n",
         {"#", "#", "#", "#X="}},
        // Blanks inside the argument and at its end stay.
        {"blanks dropped in the keyword and the text upper-cased",
         "S O R T : on\n\tnew back drop:\t my  pic \n",
         {"SORT=ON", "NEWBACKDROP=MY  PIC "}},
        {"a line without a colon keeps the previous argument",
         "PATH: x\n\nSORT\nKEY:\nSORT",
         {"PATH=X", "=X", "SORT=X", "KEY=", "SORT="}},
        {"CR LF lines read as LF", "SORT: on\r\n# note\r\nb\r\n", {"SORT=ON", "#", "B=ON"}},
        {"keyword and argument cut to 511 characters",
         std::string(600, 'k') + ":" + std::string(600, 'a') + "\nNEXT\n",
         {std::string(511, 'K') + "=" + std::string(511, 'A'), "NEXT=" + std::string(511, 'A')}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read(ScriptReader(c.text)), c.lines) << c.what;
}

TEST(ScriptReader, LineKeptAsWrittenForCellLinesAndCut)
{
    ScriptReader reader("b  Tree 8 4 16 16\r\n" + std::string(600, 'k') + "\n");
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.line(), "b  Tree 8 4 16 16");
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.line().size(), 511u);
}
