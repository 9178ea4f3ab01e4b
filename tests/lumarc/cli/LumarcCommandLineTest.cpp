// Command-line parsing in process: which argument lists are usage errors.
#include "LumarcCommandLine.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace
{

struct Outcome
{
    int status = -1;
    std::string out;
    std::string err;
};

std::string contentOf(std::FILE* file)
{
    std::string text;
    std::rewind(file);
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file))
        text.push_back(static_cast<char>(c));
    std::fclose(file);
    return text;
}

Outcome run(const std::vector<std::string>& args)
{
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    if (!out || !err)
    {
        ADD_FAILURE() << "no temporary files";
        return {};
    }
    Outcome outcome;
    outcome.status = runLumarcCommandLine(args, out, err);
    outcome.out = contentOf(out);
    outcome.err = contentOf(err);
    return outcome;
}

void expectUsageError(const std::vector<std::string>& args)
{
    const Outcome outcome = run(args);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err.rfind("Usage: lumarc", 0), 0U) << outcome.err;
}

} // namespace

TEST(LumarcCommandLine, UnknownOptionIsUsageError)
{
    expectUsageError({"--fast", "in.mdf", "out.rlf"});
}

TEST(LumarcCommandLine, ConversionNeedsExactlyTwoFiles)
{
    expectUsageError({"in.mdf"});
    expectUsageError({"in.mdf", "out.rlf", "extra.rlf"});
    expectUsageError({"--psx", "in.mdf"});
}

TEST(LumarcCommandLine, ListNeedsExactlyOneFile)
{
    expectUsageError({"--list"});
    expectUsageError({"--list", "in.mdf", "out.rlf"});
}

TEST(LumarcCommandLine, ListAndPsxTogetherIsUsageError)
{
    expectUsageError({"--list", "--psx", "in.mdf"});
}
