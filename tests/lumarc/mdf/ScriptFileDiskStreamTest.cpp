#include "ScriptFileDiskStream.h"

#include "MdfTestFiles.h"

#include <gtest/gtest.h>

#include <array>

using mdftest::Bytes;
using mdftest::StreamOver;

namespace
{
// 0x1234 as u16, 0x12345678 as u32, 0xAB as u8, then -2 as s16.
const Bytes kFields = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xAB, 0xFE, 0xFF};
} // namespace

TEST(ScriptFileDiskStream, KnowsItsLengthAndReadsLittleEndianFieldsInOrder)
{
    StreamOver input(kFields);
    EXPECT_TRUE(input.stream.hasHandle());
    EXPECT_EQ(input.stream.length(), 9);
    EXPECT_EQ(input.stream.remaining(), 9u);
    uint16_t u16 = 0;
    uint32_t u32 = 0;
    uint8_t u8 = 0;
    int16_t s16 = 0;
    input.stream.read16(u16).read32(u32).read8(u8).read16(s16);
    EXPECT_EQ(u16, 0x1234);
    EXPECT_EQ(u32, 0x12345678u);
    EXPECT_EQ(u8, 0xAB);
    EXPECT_EQ(s16, -2);
    EXPECT_EQ(input.stream.position(), 9u);
    EXPECT_FALSE(input.stream.failed());
}

TEST(ScriptFileDiskStream, ReadBytesReturnsNOrZero)
{
    StreamOver input({1, 2, 3, 4});
    std::array<uint8_t, 3> buffer{};
    EXPECT_EQ(input.stream.readBytes(buffer.data(), 3), 3);
    EXPECT_EQ(buffer, (std::array<uint8_t, 3>{1, 2, 3}));

    buffer = {9, 9, 9};
    EXPECT_EQ(input.stream.readBytes(buffer.data(), 2), 0);
    EXPECT_EQ(buffer, (std::array<uint8_t, 3>{9, 9, 9}));
    EXPECT_EQ(input.stream.position(), 3u);
}

TEST(ScriptFileDiskStream, SkipMovesForwardShortAndLong)
{
    Bytes bytes(10000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7);
    StreamOver input(bytes);
    uint8_t byte = 0;
    EXPECT_EQ(input.stream.skip(3), 0);
    input.stream.read8(byte);
    EXPECT_EQ(byte, bytes[3]);
    // Far beyond the read buffer's reach, so the stream has to seek.
    EXPECT_EQ(input.stream.skip(9000), 0);
    input.stream.read8(byte);
    EXPECT_EQ(byte, bytes[9004]);
    EXPECT_EQ(input.stream.position(), 9005u);
    EXPECT_FALSE(input.stream.failed());
}

TEST(ScriptFileDiskStream, ReadOrSkipPastTheEndFailsAndChangesNothing)
{
    StreamOver input({0x11, 0x22, 0x33});
    uint8_t first = 0;
    input.stream.read8(first);
    uint32_t value = 0xDEADBEEF;
    input.stream.read32(value);
    EXPECT_EQ(value, 0xDEADBEEFu);
    EXPECT_EQ(input.stream.position(), 1u);
    EXPECT_TRUE(input.stream.failed());
    EXPECT_EQ(input.stream.failureReason(), "unexpected end of file");
    EXPECT_EQ(input.stream.failureOffset(), 1u);

    StreamOver skipped({0x11, 0x22, 0x33});
    EXPECT_NE(skipped.stream.skip(4), 0);
    EXPECT_EQ(skipped.stream.position(), 0u);
    EXPECT_TRUE(skipped.stream.failed());
    EXPECT_EQ(skipped.stream.failureOffset(), 0u);
}

TEST(ScriptFileDiskStream, FailureIsStickyAndKeepsTheFirstOffset)
{
    StreamOver input({0x11, 0x22, 0x33, 0x44});
    uint16_t u16 = 0;
    input.stream.read16(u16);
    uint32_t tooWide = 7;
    input.stream.read32(tooWide);
    ASSERT_TRUE(input.stream.failed());

    // Two bytes are still there, but nothing reads them any more.
    uint8_t u8 = 5;
    input.stream.read8(u8);
    u16 = 6;
    input.stream.read16(u16);
    std::array<uint8_t, 1> buffer{9};
    EXPECT_EQ(input.stream.readBytes(buffer.data(), 1), 0);
    EXPECT_NE(input.stream.skip(1), 0);
    EXPECT_EQ(u8, 5);
    EXPECT_EQ(u16, 6);
    EXPECT_EQ(buffer[0], 9);
    EXPECT_EQ(input.stream.position(), 2u);
    EXPECT_EQ(input.stream.failureOffset(), 2u);
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
