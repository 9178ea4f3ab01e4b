#include "BinaryOutStream.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

using mdfwriter::Bytes;
using Names = std::vector<std::string>;

namespace
{

const Bytes kOld{'o', 'l', 'd'};

// Runs `check` in a forked child under conditions a test cannot set up for its
// own process: a file-size limit that makes writes fail with EFBIG, or user
// "nobody" when started as root, so that permission bits count. Returns the
// child's exit status, 120 when the set-up failed, -1 when it did not exit.
int runInChild(rlim_t fileSizeLimit, bool unprivileged, const std::function<int()>& check)
{
    const pid_t pid = fork();
    if (pid == 0)
    {
        const rlimit limit{fileSizeLimit, fileSizeLimit};
        std::signal(SIGXFSZ, SIG_IGN); // else the kernel kills the child instead of failing the write
        if (fileSizeLimit != RLIM_INFINITY && setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(120);
        if (unprivileged && geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(120);
        _exit(check());
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
        EXPECT_TRUE(stream.writeU8(0xAB) && stream.writeU16(0x1234) && stream.writeU32(0x89ABCDEF));
        EXPECT_TRUE(stream.close());
        EXPECT_EQ(readBytes(folder.file("out.bin")), expected);
    }
}

// Until close() the data goes to a temporary name beside the target; a stream
// destroyed without close() leaves the folder as it was.
TEST(BinaryOutStream, TargetIsCreatedOrReplacedOnlyOnClose)
{
    for (const bool targetExists : {false, true})
        for (const bool closed : {false, true})
        {
            SCOPED_TRACE(testing::Message() << "target exists " << targetExists << ", closed " << closed);
            TempFolder folder;
            const std::string path = folder.file("out.rlf");
            ASSERT_TRUE(!targetExists || mdfwriter::writeFile(path, kOld));
            const Bytes before = targetExists ? kOld : Bytes{};
            {
                BinaryOutStream stream;
                const mode_t previousMask = umask(022);
                const bool opened = stream.open(path, "wb", true);
                umask(previousMask);
                ASSERT_TRUE(opened);
                ASSERT_TRUE(stream.writeU16(0x0102));
                EXPECT_EQ(readBytes(path), before);
                const Names names = folder.entries();
                ASSERT_EQ(names.size(), targetExists ? 2U : 1U);
                EXPECT_EQ(names.back().rfind("out.rlf.tmp-", 0), 0U) << names.back();
                EXPECT_TRUE(!closed || stream.close());
            }
            EXPECT_EQ(folder.entries(), closed || targetExists ? Names{"out.rlf"} : Names{});
            EXPECT_EQ(readBytes(path), (closed ? Bytes{0x02, 0x01} : before));
            if (closed && !targetExists)
            {
                struct stat info = {};
                ASSERT_EQ(stat(path.c_str(), &info), 0);
                EXPECT_EQ(info.st_mode & 0777, 0644U); // ordinary permissions, not the temporary's
            }
        }
}

// Opened as an ordinary user: root may write to read-only files and folders.
TEST(BinaryOutStream, OpenFailsWhereTheTargetCannotBeWritten)
{
    TempFolder folder;
    const std::string path = folder.file("out.rlf");
    const std::string locked = folder.file("locked");
    ASSERT_TRUE(mdfwriter::writeFile(path, kOld));
    ASSERT_TRUE(std::filesystem::create_directory(locked));
    ASSERT_TRUE(std::filesystem::create_directory(folder.file("folder.rlf")));
    ASSERT_EQ(chmod(folder.path().c_str(), 0777), 0);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    ASSERT_EQ(chmod(locked.c_str(), 0555), 0);
    for (const std::string& target :
         {folder.file("missing/out.rlf"), folder.file("folder.rlf"), path, locked + "/out.rlf"})
    {
        SCOPED_TRACE(target);
        const auto openFails = [&]
        {
            BinaryOutStream stream;
            return stream.open(target, "wb", true) || stream.isOpen() ? 1 : 0;
        };
        EXPECT_EQ(runInChild(RLIM_INFINITY, true, openFails), 0);
    }
    EXPECT_EQ(readBytes(path), kOld);
    EXPECT_EQ(folder.entries(), (Names{"folder.rlf", "locked", "out.rlf"}));
    EXPECT_TRUE(std::filesystem::is_empty(locked) && std::filesystem::is_empty(folder.file("folder.rlf")));
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
        ASSERT_TRUE(mdfwriter::writeFile(path, kOld));
        const uint32_t words = failsWhileWriting ? (3U << 20) / 4 : 100;
        const auto check = [&]
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
        };
        EXPECT_EQ(runInChild(failsWhileWriting ? 4096 : 64, false, check), 0);
        EXPECT_EQ(readBytes(path), kOld);
        EXPECT_EQ(folder.entries(), Names{"out.rlf"});
    }
}
