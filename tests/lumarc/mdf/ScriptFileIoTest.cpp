#include "ScriptFileDiskStream.h"
#include "ScriptFileHandle.h"

#include "MdfTestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>

using mdftest::Bytes;
using mdftest::StreamOver;

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

    for (const int badIndex : {10, -1})
    {
        ASSERT_TRUE(handle.open(first, ScriptFileHandle::kWriteText));
        std::fputs("abc", handle.file());
        EXPECT_FALSE(handle.open(first, badIndex));
        EXPECT_EQ(handle.file(), nullptr);
        EXPECT_EQ(std::filesystem::file_size(first), 3u) << badIndex;
    }
}

// Fields are little-endian; a short skip stays in the read buffer, a long one
// has to seek.
TEST(ScriptFileDiskStream, KnowsItsLengthAndReadsFieldsBytesAndSkipsInOrder)
{
    Bytes bytes(10000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7);
    // 0x1234 as u16, 0x12345678 as u32, 0xAB as u8, then -2 as s16.
    const Bytes fields{0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xAB, 0xFE, 0xFF};
    std::copy(fields.begin(), fields.end(), bytes.begin());
    StreamOver input(bytes);
    EXPECT_TRUE(input.stream.hasHandle());
    EXPECT_EQ(input.stream.length(), 10000);
    EXPECT_EQ(input.stream.remaining(), 10000u);
    uint16_t u16 = 0;
    uint32_t u32 = 0;
    uint8_t u8 = 0;
    int16_t s16 = 0;
    input.stream.read16(u16).read32(u32).read8(u8).read16(s16);
    EXPECT_EQ(std::tuple(u16, u32, u8, s16), std::tuple(0x1234, 0x12345678u, 0xAB, -2));
    std::array<uint8_t, 3> buffer{};
    EXPECT_EQ(input.stream.readBytes(buffer.data(), 3), 3);
    EXPECT_EQ(buffer, (std::array<uint8_t, 3>{bytes[9], bytes[10], bytes[11]}));
    EXPECT_EQ(input.stream.skip(3), 0);
    input.stream.read8(u8);
    EXPECT_EQ(u8, bytes[15]);
    EXPECT_EQ(input.stream.skip(9000), 0);
    input.stream.read8(u8);
    EXPECT_EQ(u8, bytes[9016]);
    EXPECT_EQ(input.stream.position(), 9017u);
    EXPECT_FALSE(input.stream.failed());
}

// Reading, reading bytes or skipping past the end changes nothing and fails
// the stream at the first such offset for good: later reads that would fit
// read nothing either.
TEST(ScriptFileDiskStream, ReadPastTheEndFailsForGoodAndChangesNothing)
{
    for (const int firstFailure : {0, 1, 2})
    {
        SCOPED_TRACE(firstFailure);
        StreamOver input({0x11, 0x22, 0x33, 0x44, 0x55});
        uint8_t u8 = 5;
        uint16_t u16 = 6;
        uint32_t u32 = 0xDEADBEEF;
        std::array<uint8_t, 4> buffer{9, 9, 9, 9};
        input.stream.read16(u16);
        u16 = 6;
        const bool refused = firstFailure == 0   ? (input.stream.read32(u32), true)
                             : firstFailure == 1 ? input.stream.readBytes(buffer.data(), 4) == 0
                                                 : input.stream.skip(4) != 0;
        EXPECT_TRUE(refused && input.stream.failed());
        EXPECT_EQ(input.stream.failureReason(), "unexpected end of file");
        input.stream.read8(u8);
        input.stream.read16(u16);
        EXPECT_EQ(input.stream.readBytes(buffer.data(), 1), 0);
        EXPECT_NE(input.stream.skip(1), 0);
        EXPECT_EQ(std::tuple(u8, u16, u32, buffer),
                  std::tuple(5, 6, 0xDEADBEEF, std::array<uint8_t, 4>{9, 9, 9, 9}));
        EXPECT_EQ(input.stream.position(), 2u);
        EXPECT_EQ(input.stream.failureOffset(), 2u);
    }
}

// A missing file gives no handle; a folder opens but is a failed stream.
// Neither has a length or reads anything.
TEST(ScriptFileDiskStream, MissingFileOrFolderReadsNothing)
{
    TempFolder dir;
    ScriptFileDiskStream missing(dir.file("missing.mdf"));
    ScriptFileDiskStream folder(dir.path());
    EXPECT_FALSE(missing.hasHandle());
    ASSERT_TRUE(folder.hasHandle());
    EXPECT_TRUE(folder.failed());
    EXPECT_EQ(folder.failureReason(), "not a regular file");
    for (ScriptFileDiskStream* stream : {&missing, &folder})
    {
        EXPECT_EQ(stream->length(), 0);
        uint8_t byte = 0x5A;
        stream->read8(byte);
        EXPECT_EQ(byte, 0x5A);
    }
    std::array<uint8_t, 4> buffer{};
    EXPECT_EQ(missing.readBytes(buffer.data(), 4), -1);
    EXPECT_EQ(missing.skip(4), 0);
}
