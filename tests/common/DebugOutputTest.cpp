#include "DebugOutput.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

TEST(DebugOutput, SinkCapturesTextsInOrder)
{
    std::string captured;
    setDebugOutputSink([&captured](std::string_view text) { captured += text; });
    EXPECT_TRUE(debugOutputEnabled());
    debugOutput("Writing gadget header ...");
    debugOutput("done.\n");
    setDebugOutputSink({});
    EXPECT_EQ(captured, "Writing gadget header ...done.\n");
}

TEST(DebugOutput, EmptySinkEndsTheCapture)
{
    std::string captured;
    setDebugOutputSink([&captured](std::string_view text) { captured += text; });
    setDebugOutputSink({});
    debugOutput("after reset");
    EXPECT_EQ(captured, "");
}

// The channel picks its destination from the environment once per process, so
// these run in a freshly started child ("threadsafe" re-executes the binary).
TEST(DebugOutputDeathTest, SilentWithoutSinkOrEnvironment)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            unsetenv("PSX_DEBUG_OUTPUT");
            debugOutput("must not appear");
            std::fputs("end", stderr);
            std::exit(debugOutputEnabled() ? 1 : 0);
        },
        testing::ExitedWithCode(0), "^end$");
}

TEST(DebugOutputDeathTest, EnvironmentValue1WritesToStandardError)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("PSX_DEBUG_OUTPUT", "1", 1);
            debugOutput("trace text");
            std::exit(0);
        },
        testing::ExitedWithCode(0), "^trace text$");
}
