#include "script/TexeloEntry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The script name is the first argument whole, blanks included, lower-cased
// and cut to its 255 characters; the option word is the second argument
// (31 characters); the text is every argument joined by single blanks.
TEST(CommandLineOf, FirstArgumentIsTheScriptSecondTheOptionWord)
{
    struct Case
    {
        std::vector<std::string> arguments;
        std::string text;
        std::string scriptName;
        std::string optionWord;
        bool batch;
    };
    const std::vector<Case> cases = {
        {{"Levels\\A.FIT", "/c"}, "Levels\\A.FIT /c", "levels\\a.fit", "/c", true},
        {{"My Levels/A.FIT", "/c"}, "My Levels/A.FIT /c", "my levels/a.fit", "/c", true},
        {{"a.fit", "/C"}, "a.fit /C", "a.fit", "/C", false},
        {{"a.fit"}, "a.fit", "a.fit", "", false},
        {{"a.fit", "", "/c"}, "a.fit  /c", "a.fit", "", false},
        {{"a.fit", "/c", "more words"}, "a.fit /c more words", "a.fit", "/c", true},
        {{}, "", "", "", false},
        {{std::string(300, 'N'), std::string(40, 'o')},
         std::string(300, 'N') + " " + std::string(40, 'o'),
         std::string(255, 'n'),
         std::string(31, 'o'),
         false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        const TexeloCommandLine commandLine = commandLineOf(c.arguments);
        EXPECT_EQ(commandLine.text, c.text);
        EXPECT_EQ(commandLine.scriptName, c.scriptName);
        EXPECT_EQ(commandLine.optionWord, c.optionWord);
        EXPECT_EQ(commandLine.batch(), c.batch);
    }
}
