// Command-line parsing in process: which argument lists are usage errors.
#include "LumarcCommandLine.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace
{

std::string contentOf(std::FILE* file)
{
    std::string text;
    std::rewind(file);
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file))
        text.push_back(static_cast<char>(c));
    std::fclose(file);
    return text;
}

} // namespace

// A conversion takes exactly two files, a listing exactly one, and the two
// modes do not mix.
TEST(LumarcCommandLine, WrongArgumentListsAreUsageErrors)
{
    const std::vector<std::vector<std::string>> cases{
        {"--fast", "in.mdf", "out.rlf"}, {"in.mdf"}, {"in.mdf", "out.rlf", "extra.rlf"}, {"--psx", "in.mdf"},
        {"--list"}, {"--list", "in.mdf", "out.rlf"}, {"--list", "--psx", "in.mdf"}};
    for (const std::vector<std::string>& args : cases)
    {
        SCOPED_TRACE(testing::PrintToString(args));
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        ASSERT_TRUE(out && err);
        EXPECT_EQ(runLumarcCommandLine(args, out, err), 2);
        EXPECT_EQ(contentOf(out), "");
        const std::string error = contentOf(err);
        EXPECT_EQ(error.rfind("Usage: lumarc", 0), 0U) << error;
    }
}
