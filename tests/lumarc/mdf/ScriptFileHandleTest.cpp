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

TEST(ScriptFileHandle, OpenRecordsTheModeIndex)
{
    TempFolder dir;
    const std::string path = mdftest::writeIn(dir, "data.bin", {1, 2, 3});
    ScriptFileHandle handle;
    ASSERT_TRUE(handle.open(path, ScriptFileHandle::kReadBinary));
    EXPECT_NE(handle.file(), nullptr);
    EXPECT_EQ(handle.modeIndex(), 1);
    EXPECT_EQ(std::fgetc(handle.file()), 1);
}

TEST(ScriptFileHandle, OpenOnAnOpenHandleClosesTheFirstFile)
{
    TempFolder dir;
    const std::string first = dir.file("first.txt");
    ScriptFileHandle handle;
    ASSERT_TRUE(handle.open(first, ScriptFileHandle::kWriteBinary));
    // Buffered by stdio: these bytes reach the file only when it is closed.
    std::fputs("hello", handle.file());
    EXPECT_EQ(std::filesystem::file_size(first), 0u);

    ASSERT_TRUE(handle.open(dir.file("second.txt"), ScriptFileHandle::kCreateBinary));
    EXPECT_EQ(std::filesystem::file_size(first), 5u);
    EXPECT_EQ(handle.modeIndex(), 7);
}

TEST(ScriptFileHandle, BadModeIndexOpensNothingAndClosesTheOpenFile)
{
    TempFolder dir;
    const std::string path = dir.file("data.txt");
    ScriptFileHandle handle;
    ASSERT_TRUE(handle.open(path, ScriptFileHandle::kWriteText));
    std::fputs("abc", handle.file());

    EXPECT_FALSE(handle.open(path, 10));
    EXPECT_EQ(handle.file(), nullptr);
    EXPECT_EQ(std::filesystem::file_size(path), 3u);
    EXPECT_FALSE(handle.open(path, -1));
    EXPECT_EQ(handle.file(), nullptr);
}
