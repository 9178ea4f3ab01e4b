#include "BinaryOutStream.h"
#include "ChildProcess.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using mdfwriter::Bytes;

namespace
{

const Bytes kOldContent{'o', 'l', 'd'};
const std::vector<std::string> kOnlyTarget{"out.rlf"};

// Opening `path` as an ordinary user, in a child, must fail.
void expectOpenFailsUnprivileged(const std::string& path)
{
    const int result = runInChild({.unprivileged = true},
                                  [&]
                                  {
                                      BinaryOutStream stream;
                                      return stream.open(path, "wb", true) ? 1 : 0;
                                  });
    EXPECT_EQ(result, 0);
}

} // namespace

TEST(BinaryOutStream, WritesInTheChosenByteOrder)
{
    for (const auto& [littleEndian, expected] :
         {std::pair{true, Bytes{0xAB, 0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89}},
          std::pair{false, Bytes{0xAB, 0x12, 0x34, 0x89, 0xAB, 0xCD, 0xEF}}})
    {
        SCOPED_TRACE(littleEndian);
        TempFolder folder;
        BinaryOutStream stream;
        EXPECT_TRUE(stream.open(folder.file("out.bin"), "wb", littleEndian));
        EXPECT_TRUE(stream.writeU8(0xAB));
        EXPECT_TRUE(stream.writeU16(0x1234));
        EXPECT_TRUE(stream.writeU32(0x89ABCDEF));
        EXPECT_TRUE(stream.close());
        EXPECT_EQ(readBytes(folder.file("out.bin")), expected);
    }
}

// Until close() the data goes to a temporary name beside the target, and an
// existing target keeps its old content.
TEST(BinaryOutStream, TargetIsCreatedOrReplacedOnlyOnClose)
{
    for (const bool targetExists : {false, true})
    {
        SCOPED_TRACE(targetExists);
        TempFolder folder;
        const std::string path = folder.file("out.rlf");
        ASSERT_TRUE(!targetExists || mdfwriter::writeFile(path, kOldContent));
        BinaryOutStream stream;
        ASSERT_TRUE(stream.open(path, "wb", true));
        ASSERT_TRUE(stream.writeU16(0x0102));
        EXPECT_EQ(readBytes(path), targetExists ? kOldContent : Bytes{});
        const std::vector<std::string> names = folder.entries();
        ASSERT_EQ(names.size(), targetExists ? 2U : 1U);
        EXPECT_EQ(names.back().rfind("out.rlf.tmp-", 0), 0U) << names.back();

        EXPECT_TRUE(stream.close());
        EXPECT_EQ(folder.entries(), kOnlyTarget);
        EXPECT_EQ(readBytes(path), (Bytes{0x02, 0x01}));
    }
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
    struct stat info{};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644U);
}

TEST(BinaryOutStream, StreamDestroyedWithoutCloseLeavesFolderAsItWas)
{
    for (const bool targetExists : {false, true})
    {
        SCOPED_TRACE(targetExists);
        TempFolder folder;
        const std::string path = folder.file("out.rlf");
        ASSERT_TRUE(!targetExists || mdfwriter::writeFile(path, kOldContent));
        {
            BinaryOutStream stream;
            ASSERT_TRUE(stream.open(path, "wb", true));
            ASSERT_TRUE(stream.writeU32(1));
        }
        EXPECT_EQ(folder.entries(), targetExists ? kOnlyTarget : std::vector<std::string>{});
        EXPECT_EQ(readBytes(path), targetExists ? kOldContent : Bytes{});
    }
}

TEST(BinaryOutStream, OpenFailsWhenFolderIsMissingOrTargetIsFolder)
{
    TempFolder folder;
    BinaryOutStream stream;
    EXPECT_FALSE(stream.open(folder.file("missing/out.rlf"), "wb", true));
    EXPECT_FALSE(stream.isOpen());
    EXPECT_TRUE(folder.entries().empty());
    ASSERT_TRUE(std::filesystem::create_directory(folder.file("out.rlf")));
    EXPECT_FALSE(stream.open(folder.file("out.rlf"), "wb", true));
    EXPECT_EQ(folder.entries(), kOnlyTarget);
}

// Run as an ordinary user: root may write to read-only files and folders.
TEST(BinaryOutStream, OpenFailsForReadOnlyTargetOrFolder)
{
    TempFolder folder;
    const std::string path = folder.file("out.rlf");
    const std::string locked = folder.file("locked");
    ASSERT_TRUE(mdfwriter::writeFile(path, kOldContent));
    ASSERT_TRUE(std::filesystem::create_directory(locked));
    ASSERT_EQ(chmod(folder.path().c_str(), 0777), 0);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    ASSERT_EQ(chmod(locked.c_str(), 0555), 0);
    expectOpenFailsUnprivileged(path);
    expectOpenFailsUnprivileged(locked + "/out.rlf");
    EXPECT_EQ(readBytes(path), kOldContent);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"locked", "out.rlf"}));
    EXPECT_TRUE(std::filesystem::is_empty(locked));
}

// A few bytes fit the stream's buffer, so the failure shows only when close()
// flushes them; megabytes overflow it, so a write itself fails, and every
// later one with it. Either way the existing target survives.
TEST(BinaryOutStream, WriteFailureIsReportedAndKeepsExistingTarget)
{
    for (const bool failsWhileWriting : {false, true})
    {
        SCOPED_TRACE(failsWhileWriting);
        TempFolder folder;
        const std::string path = folder.file("out.rlf");
        ASSERT_TRUE(mdfwriter::writeFile(path, kOldContent));
        const rlim_t limit = failsWhileWriting ? 4096 : 64;
        const uint32_t words = failsWhileWriting ? (3U << 20) / 4 : 100;
        const int result = runInChild({.fileSizeLimit = limit},
                                      [&]
                                      {
                                          BinaryOutStream stream;
                                          if (!stream.open(path, "wb", true))
                                              return 1;
                                          bool sawFailure = false;
                                          for (uint32_t i = 0; i < words && !sawFailure; ++i)
                                              sawFailure = !stream.writeU32(i);
                                          if (sawFailure != failsWhileWriting)
                                              return 2;
                                          if (sawFailure && (!stream.failed() || stream.writeU8(0)))
                                              return 3;
                                          return stream.close() ? 4 : 0;
                                      });
        EXPECT_EQ(result, 0);
        EXPECT_EQ(readBytes(path), kOldContent);
        EXPECT_EQ(folder.entries(), kOnlyTarget);
    }
}
