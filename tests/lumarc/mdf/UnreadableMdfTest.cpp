#include "MdfLoader.h"

#include "LargestAllocation.h"
#include "MdfTestFiles.h"

#include <gtest/gtest.h>

using namespace mdfwriter;
using mdftest::concat;
using mdftest::rootWithGadgets;
using mdftest::ScratchDir;

namespace
{

// Far below what any of the forged counts below would ask for.
constexpr std::size_t kSmallAllocation = 64 * 1024;

class UnreadableMdf : public testing::Test
{
protected:
    // Loads `bytes` from a scratch file and checks that the load was refused
    // with exactly the message for `reason` at `offset`.
    void expectUnreadable(const Bytes& bytes, const std::string& reason, uint64_t offset)
    {
        const std::string path = m_dir.write("layout.mdf", bytes);
        resetLargestAllocation();
        const MdfLoadResult result = loadMdf(path);
        m_largestAllocation = largestAllocation();
        EXPECT_EQ(result.status, MdfLoadStatus::Unreadable);
        EXPECT_EQ(result.model, nullptr);
        EXPECT_EQ(result.message,
                  "Couldn't read MDF file " + path + ": " + reason + " at byte " + std::to_string(offset));
    }

    static Bytes truncated(Bytes bytes, std::size_t dropped)
    {
        bytes.resize(bytes.size() - dropped);
        return bytes;
    }

    static Bytes bankRoot(const Bytes& bankBody) { return recordBody({{"MDFDSB00", bankBody}}); }

    // Tag and count of an array body, with nothing after them.
    static Bytes arrayHead(std::string_view tag8, uint32_t count)
    {
        Bytes out;
        putTag(out, tag8);
        put32(out, count);
        return out;
    }

    ScratchDir m_dir;
    std::size_t m_largestAllocation = 0;
};

// In the bank roots below the array body starts at 20 (count and one
// directory entry), its count at 28, its element table at 32 and, with one
// element, the first string at 40.
constexpr uint64_t kBankCountAt = 28;
constexpr uint64_t kBankTableAt = 32;
constexpr uint64_t kFirstStringAt = 40;

} // namespace

// The limits below mean something only if the probe sees the allocations.
TEST(LargestAllocation, SeesLargeRequests)
{
    constexpr std::size_t kRequest = std::size_t{1} << 20;
    resetLargestAllocation();
    void* block = ::operator new(kRequest);
    const std::size_t seen = largestAllocation();
    ::operator delete(block);
    EXPECT_GE(seen, kRequest);
}

TEST_F(UnreadableMdf, EmptyFile)
{
    expectUnreadable({}, "unexpected end of file", 0);
}

TEST_F(UnreadableMdf, TruncatedEntryCount)
{
    expectUnreadable({0x01, 0x00}, "unexpected end of file", 0);
}

TEST_F(UnreadableMdf, TruncatedDirectory)
{
    const Bytes file = bankRoot(arrayOf("MDFDSB00", {}));
    expectUnreadable(Bytes(file.begin(), file.begin() + 14), "unexpected end of file", 4);
}

TEST_F(UnreadableMdf, TruncatedElementTable)
{
    const Bytes file = bankRoot(arrayOf("MDFDSB00", {stringBody("a"), stringBody("b")}));
    expectUnreadable(Bytes(file.begin(), file.begin() + 40), "unexpected end of file", kBankTableAt);
}

TEST_F(UnreadableMdf, TruncatedLeafBody)
{
    // The rect is the file's last 16 bytes; with 5 bytes gone, its sixth
    // 2-byte field starts one byte before the end.
    const Bytes rects = arrayOf("MDFTVRE0", {arrayOf("MDFVREC0", {rectBody(1, 2, 3, 4)})});
    const Bytes file = rootWithGadgets({recordBody({{"MDFTVRE0", rects}})}, {"g"});
    expectUnreadable(truncated(file, 5), "unexpected end of file", file.size() - 6);
}

TEST_F(UnreadableMdf, TruncatedString)
{
    const Bytes file = bankRoot(arrayOf("MDFDSB00", {stringBody("hello")}));
    expectUnreadable(truncated(file, 2), "unexpected end of file", kFirstStringAt);
}

TEST_F(UnreadableMdf, TruncatedPrimitiveBody)
{
    // The file ends: F4 header, 20-byte body, 4-byte terminator.
    const Bytes set = primSetBody({{.prims = {{.type = kPrimF4}}}});
    const Bytes file = rootWithGadgets({recordBody({{"MDFSVPI0", set}})}, {"g"});
    expectUnreadable(truncated(file, 4 + 10), "unexpected end of file", file.size() - 4 - 20);
}

TEST_F(UnreadableMdf, ListWithoutTerminator)
{
    const Bytes set = primSetBody({{.prims = {{.type = kPrimG4}}}});
    const Bytes file = rootWithGadgets({recordBody({{"MDFSVPI0", set}})}, {"g"});
    expectUnreadable(truncated(file, 4), "unexpected end of file", file.size() - 4);
}

TEST_F(UnreadableMdf, UnknownChildWhoseSizePassesTheEnd)
{
    const Bytes bank = arrayOf("MDFDSB00", {stringBody("a")});
    const Bytes file = recordBody({{"MDFDSB00", bank}, {"MDFVPBI0", Bytes(8, 0), 0, 5000}});
    expectUnreadable(file, "unexpected end of file", 4 + 2 * 16 + bank.size());
}

TEST_F(UnreadableMdf, ArrayCountAbove65535)
{
    expectUnreadable(bankRoot(arrayHead("MDFDSB00", 65536)), "array count 65536 is above 65535",
                     kBankCountAt);
}

TEST_F(UnreadableMdf, StringOfSize0)
{
    const Bytes bank = arrayBody("MDFDSB00", {{.body = stringBody("x"), .declaredSize = 0}});
    expectUnreadable(bankRoot(bank), "string of size 0", kFirstStringAt);
}

TEST_F(UnreadableMdf, StringWithoutNulInItsSize)
{
    // A NUL follows, but outside the string's size.
    const Bytes bank = arrayBody("MDFDSB00", {{.body = stringBody("abcdef"), .declaredSize = 3}});
    expectUnreadable(bankRoot(bank), "string without a terminating NUL", kFirstStringAt);
}

TEST_F(UnreadableMdf, HugeEntryCountFailsWithoutAllocating)
{
    expectUnreadable(concat({{0xFF, 0xFF, 0xFF, 0xFF}, Bytes(36, 0)}), "unexpected end of file", 4);
    EXPECT_LT(m_largestAllocation, kSmallAllocation);
}

TEST_F(UnreadableMdf, EntryCountBeyondTheDataFailsWithoutAllocating)
{
    expectUnreadable(concat({{0x00, 0x00, 0x10, 0x00}, Bytes(36, 0)}), "unexpected end of file", 4);
    EXPECT_LT(m_largestAllocation, kSmallAllocation);
}

TEST_F(UnreadableMdf, HugeArrayCountFailsWithoutAllocating)
{
    expectUnreadable(bankRoot(arrayHead("MDFDSB00", 0xFFFFFFFF)), "array count 4294967295 is above 65535",
                     kBankCountAt);
    EXPECT_LT(m_largestAllocation, kSmallAllocation);
}

TEST_F(UnreadableMdf, ArrayCountBeyondTheDataFailsWithoutAllocating)
{
    const Bytes file = recordBody({{"MDFTGDG0", concat({arrayHead("MDFTGDG0", 65535), Bytes(16, 0)})}});
    expectUnreadable(file, "unexpected end of file", kBankTableAt);
    EXPECT_LT(m_largestAllocation, kSmallAllocation);
}

TEST_F(UnreadableMdf, HugePrimListCountFailsWithoutAllocating)
{
    Bytes set;
    put32(set, 0);
    put32(set, 0xFFFFFFFF);
    const Bytes file = rootWithGadgets({recordBody({{"MDFSVPI0", set}})}, {"g"});
    expectUnreadable(file, "unexpected end of file", file.size());
    EXPECT_LT(m_largestAllocation, kSmallAllocation);
}

TEST_F(UnreadableMdf, DirectoryIsNotARegularFile)
{
    const std::string path = m_dir.path().string();
    const MdfLoadResult result = loadMdf(path);
    EXPECT_EQ(result.status, MdfLoadStatus::Unreadable);
    EXPECT_EQ(result.model, nullptr);
    EXPECT_EQ(result.message, "Couldn't read MDF file " + path + ": not a regular file at byte 0");
}

TEST_F(UnreadableMdf, MissingFileCannotBeOpened)
{
    const MdfLoadResult result = loadMdf(m_dir.file("missing.mdf"));
    EXPECT_EQ(result.status, MdfLoadStatus::CannotOpen);
    EXPECT_EQ(result.model, nullptr);
    EXPECT_EQ(result.message, "Couldn't open MDF file");
}
