#include "BinaryOutStream.h"
#include "ChildProcess.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using mdfwriter::Bytes;

namespace
{

const Bytes kOldContent{'o', 'l', 'd'};

Bytes writeSample(const TempFolder& folder, bool littleEndian)
{
    const std::string path = folder.file("out.bin");
    BinaryOutStream stream;
    EXPECT_TRUE(stream.open(path, "wb", littleEndian));
    EXPECT_TRUE(stream.writeU8(0xAB));
    EXPECT_TRUE(stream.writeU16(0x1234));
    EXPECT_TRUE(stream.writeU32(0x89ABCDEF));
    EXPECT_TRUE(stream.close());
    return readBytes(path);
}

} // namespace

TEST(BinaryOutStream, WritesLeastSignificantByteFirstWhenLittleEndian)
{
    TempFolder folder;
    EXPECT_EQ(writeSample(folder, true), (Bytes{0xAB, 0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89}));
}

TEST(BinaryOutStream, WritesMostSignificantByteFirstWhenBigEndian)
{
    TempFolder folder;
    EXPECT_EQ(writeSample(folder, false), (Bytes{0xAB, 0x12, 0x34, 0x89, 0xAB, 0xCD, 0xEF}));
}

TEST(BinaryOutStream, TargetAppearsOnlyOnClose)
{
    TempFolder folder;
    const std::string path = folder.file("out.rlf");
    BinaryOutStream stream;
    ASSERT_TRUE(stream.open(path, "wb", true));
    ASSERT_TRUE(stream.writeU32(7));
    EXPECT_FALSE(fileExists(path));
    const std::vector<std::string> temporary = folder.entries();
    ASSERT_EQ(temporary.size(), 1U);
    EXPECT_EQ(temporary[0].rfind("out.rlf.tmp-", 0), 0U) << temporary[0];

    EXPECT_TRUE(stream.close());
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"out.rlf"});
    EXPECT_EQ(readBytes(path), (Bytes{7, 0, 0, 0}));
}

TEST(BinaryOutStream, CompletedFileHasOrdinaryPermissions)
{
    TempFolder folder;
    const std::string path = folder.file("out.rlf");
    const mode_t previous = umask(022);
    BinaryOutStream stream;
    const bool opened = stream.open(path, "wb", true);
    umask(previous);
    ASSERT_TRUE(opened);
    ASSERT_TRUE(stream.close());
    struct stat info
    {
    };
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644U);
}

TEST(BinaryOutStream, StreamDestroyedWithoutCloseLeavesNoFile)
{
    TempFolder folder;
    {
        BinaryOutStream stream;
        ASSERT_TRUE(stream.open(folder.file("out.rlf"), "wb", true));
        ASSERT_TRUE(stream.writeU32(1));
    }
    EXPECT_TRUE(folder.entries().empty());
}

TEST(BinaryOutStream, StreamDestroyedWithoutCloseKeepsExistingTarget)
{
    TempFolder folder;
    const std::string path = folder.file("out.rlf");
    ASSERT_TRUE(mdfwriter::writeFile(path, kOldContent));
    {
        BinaryOutStream stream;
        ASSERT_TRUE(stream.open(path, "wb", true));
        ASSERT_TRUE(stream.writeU32(1));
    }
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"out.rlf"});
    EXPECT_EQ(readBytes(path), kOldContent);
}

TEST(BinaryOutStream, ExistingTargetIsReplacedOnlyOnClose)
{
    TempFolder folder;
    const std::string path = folder.file("out.rlf");
    ASSERT_TRUE(mdfwriter::writeFile(path, kOldContent));
    BinaryOutStream stream;
    ASSERT_TRUE(stream.open(path, "wb", true));
    ASSERT_TRUE(stream.writeU16(0x0102));
    EXPECT_EQ(readBytes(path), kOldContent);
    EXPECT_TRUE(stream.close());
    EXPECT_EQ(readBytes(path), (Bytes{0x02, 0x01}));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"out.rlf"});
}

TEST(BinaryOutStream, OpenFailsWhenFolderIsMissing)
{
    TempFolder folder;
    BinaryOutStream stream;
    EXPECT_FALSE(stream.open(folder.file("missing/out.rlf"), "wb", true));
    EXPECT_FALSE(stream.isOpen());
    EXPECT_TRUE(folder.entries().empty());
}

TEST(BinaryOutStream, OpenFailsWhenTargetIsFolder)
{
    TempFolder folder;
    ASSERT_TRUE(std::filesystem::create_directory(folder.file("out.rlf")));
    BinaryOutStream stream;
    EXPECT_FALSE(stream.open(folder.file("out.rlf"), "wb", true));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"out.rlf"});
}

// Run as an ordinary user: root may write to read-only files and folders.
TEST(BinaryOutStream, OpenFailsForReadOnlyTarget)
{
    TempFolder folder;
    const std::string path = folder.file("out.rlf");
    ASSERT_TRUE(mdfwriter::writeFile(path, kOldContent));
    ASSERT_EQ(chmod(folder.path().c_str(), 0777), 0);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    const int result = runInChild({.unprivileged = true},
                                  [&]
                                  {
                                      BinaryOutStream stream;
                                      return stream.open(path, "wb", true) ? 1 : 0;
                                  });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readBytes(path), kOldContent);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"out.rlf"});
}

TEST(BinaryOutStream, OpenFailsInReadOnlyFolder)
{
    TempFolder folder;
    const std::string locked = folder.file("locked");
    ASSERT_TRUE(std::filesystem::create_directory(locked));
    ASSERT_EQ(chmod(folder.path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(locked.c_str(), 0555), 0);
    const int result = runInChild({.unprivileged = true},
                                  [&]
                                  {
                                      BinaryOutStream stream;
                                      return stream.open(locked + "/out.rlf", "wb", true) ? 1 : 0;
                                  });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(std::filesystem::is_empty(locked));
}

// The bytes fit the stream's buffer, so the failure shows only when close()
// flushes them.
TEST(BinaryOutStream, WriteFailureFoundAtCloseKeepsExistingTarget)
{
    TempFolder folder;
    const std::string path = folder.file("out.rlf");
    ASSERT_TRUE(mdfwriter::writeFile(path, kOldContent));
    const int result = runInChild({.fileSizeLimit = 64},
                                  [&]
                                  {
                                      BinaryOutStream stream;
                                      if (!stream.open(path, "wb", true))
                                          return 1;
                                      for (uint32_t i = 0; i < 100; ++i)
                                          stream.writeU32(i);
                                      return stream.close() ? 2 : 0;
                                  });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readBytes(path), kOldContent);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"out.rlf"});
}

// Several megabytes overflow the buffer, so a write itself fails, and every
// later one with it.
TEST(BinaryOutStream, WriteFailureWhileWritingIsStickyAndKeepsExistingTarget)
{
    TempFolder folder;
    const std::string path = folder.file("out.rlf");
    ASSERT_TRUE(mdfwriter::writeFile(path, kOldContent));
    const int result = runInChild({.fileSizeLimit = 4096},
                                  [&]
                                  {
                                      BinaryOutStream stream;
                                      if (!stream.open(path, "wb", true))
                                          return 1;
                                      bool sawFailure = false;
                                      for (uint32_t i = 0; i < (3U << 20) / 4 && !sawFailure; ++i)
                                          sawFailure = !stream.writeU32(i);
                                      if (!sawFailure || !stream.failed())
                                          return 2;
                                      if (stream.writeU8(0))
                                          return 3;
                                      return stream.close() ? 4 : 0;
                                  });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readBytes(path), kOldContent);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"out.rlf"});
}
