#include "ScriptFileHandle.h"

#include "MdfTestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>


TEST(ScriptFileHandle, TenModeTextsByIndexAndNewHandleHasNone)
{
    const char* const expected[] = {"rt", "rb", "wt", "wb", "r+t", "r+b", "w+t", "w+b", "a+t", "a+b"};
    for (int index = 0; index < 10; ++index)
        EXPECT_STREQ(ScriptFileHandle::modeText(index), expected[index]) << "index " << index;
    EXPECT_EQ(ScriptFileHandle::modeText(10), nullptr);
    EXPECT_EQ(ScriptFileHandle::modeText(-1), nullptr);
    ScriptFileHandle handle;
    EXPECT_EQ(handle.file(), nullptr);
    EXPECT_EQ(handle.modeIndex(), 10);
}

// Opening an open handle closes (and so flushes) its file first, even when
// the new mode index is bad and nothing is opened.
TEST(ScriptFileHandle, OpenRecordsTheModeIndexAndClosesThePreviousFile)
{
    TempFolder dir;
    const std::string first = dir.file("first.txt");
    ScriptFileHandle handle;
    ASSERT_TRUE(handle.open(mdftest::writeIn(dir, "data.bin", {1, 2, 3}), ScriptFileHandle::kReadBinary));
    EXPECT_EQ(handle.modeIndex(), 1);
    EXPECT_EQ(std::fgetc(handle.file()), 1);

    ASSERT_TRUE(handle.open(first, ScriptFileHandle::kWriteBinary));
    std::fputs("hello", handle.file());
    EXPECT_EQ(std::filesystem::file_size(first), 0u); // still in stdio's buffer
    ASSERT_TRUE(handle.open(dir.file("second.txt"), ScriptFileHandle::kCreateBinary));
    EXPECT_EQ(std::filesystem::file_size(first), 5u);
    EXPECT_EQ(handle.modeIndex(), 7);

    ASSERT_TRUE(handle.open(first, ScriptFileHandle::kWriteText));
    std::fputs("abc", handle.file());
    EXPECT_FALSE(handle.open(first, 10));
    EXPECT_EQ(handle.file(), nullptr);
    EXPECT_EQ(std::filesystem::file_size(first), 3u);
    EXPECT_FALSE(handle.open(first, -1));
    EXPECT_EQ(handle.file(), nullptr);
}
