#include "MdfLoader.h"

#include "LargestAllocation.h"
#include "MdfTestFiles.h"

#include <gtest/gtest.h>

using namespace mdfwriter;
using mdftest::concat;
using mdftest::rootWithGadgets;

namespace
{

// Far below what any of the forged counts below would ask for.
constexpr std::size_t kSmallAllocation = 64 * 1024;

class UnreadableMdf : public testing::Test
{
protected:
    // The load is refused with exactly the message for `reason` at `offset`.
    void expectUnreadable(const Bytes& bytes, const std::string& reason, uint64_t offset)
    {
        const std::string path = mdftest::writeIn(m_dir, "layout.mdf", bytes);
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

    TempFolder m_dir;
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

TEST_F(UnreadableMdf, TruncatedFilesReportWhereTheMissingFieldStarts)
{
    const Bytes twoStrings = bankRoot(arrayOf("MDFDSB00", {stringBody("a"), stringBody("b")}));
    // The rect is the file's last 16 bytes; with 5 bytes gone, its sixth
    // 2-byte field starts one byte before the end.
    const Bytes rects = arrayOf("MDFTVRE0", {arrayOf("MDFVREC0", {rectBody(1, 2, 3, 4)})});
    const Bytes rectFile = rootWithGadgets({recordBody({{"MDFTVRE0", rects}})}, {"g"});
    // Both prim files end: header, body (20 bytes for an F4), 4-byte terminator.
    const Bytes f4File = rootWithGadgets(
        {recordBody({{"MDFSVPI0", primSetBody({{.prims = {{.type = kPrimF4}}}})}})}, {"g"});
    const Bytes g4File = rootWithGadgets(
        {recordBody({{"MDFSVPI0", primSetBody({{.prims = {{.type = kPrimG4}}}})}})}, {"g"});
    const Bytes oneBank = arrayOf("MDFDSB00", {stringBody("a")});
    struct Case
    {
        const char* name;
        Bytes bytes;
        uint64_t offset;
    };
    const std::vector<Case> cases{
        {"empty file", {}, 0},
        {"entry count", {0x01, 0x00}, 0},
        {"directory", Bytes(twoStrings.begin(), twoStrings.begin() + 14), 4},
        {"element table", Bytes(twoStrings.begin(), twoStrings.begin() + 40), kBankTableAt},
        {"leaf body", truncated(rectFile, 5), rectFile.size() - 6},
        {"string", truncated(bankRoot(arrayOf("MDFDSB00", {stringBody("hello")})), 2), kFirstStringAt},
        {"primitive body", truncated(f4File, 4 + 10), f4File.size() - 4 - 20},
        {"list without terminator", truncated(g4File, 4), g4File.size() - 4},
        {"unknown child whose size passes the end",
         recordBody({{"MDFDSB00", oneBank}, {"MDFVPBI0", Bytes(8, 0), 0, 5000}}),
         4 + 2 * 16 + oneBank.size()},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        expectUnreadable(c.bytes, "unexpected end of file", c.offset);
    }
}

TEST_F(UnreadableMdf, BadArrayCountsAndStrings)
{
    expectUnreadable(bankRoot(arrayHead("MDFDSB00", 65536)), "array count 65536 is above 65535",
                     kBankCountAt);
    expectUnreadable(bankRoot(arrayBody("MDFDSB00", {{.body = stringBody("x"), .declaredSize = 0}})),
                     "string of size 0", kFirstStringAt);
    // A NUL follows, but outside the string's size.
    expectUnreadable(bankRoot(arrayBody("MDFDSB00", {{.body = stringBody("abcdef"), .declaredSize = 3}})),
                     "string without a terminating NUL", kFirstStringAt);
}

// Forged counts are checked against the data before anything is allocated.
TEST_F(UnreadableMdf, ForgedCountsFailWithoutAllocating)
{
    Bytes hugePrimSet;
    put32(hugePrimSet, 0);
    put32(hugePrimSet, 0xFFFFFFFF);
    const Bytes primFile = rootWithGadgets({recordBody({{"MDFSVPI0", hugePrimSet}})}, {"g"});
    struct Case
    {
        const char* name;
        Bytes bytes;
        std::string reason;
        uint64_t offset;
    };
    const std::vector<Case> cases{
        {"huge entry count", concat({{0xFF, 0xFF, 0xFF, 0xFF}, Bytes(36, 0)}), "unexpected end of file", 4},
        {"entry count beyond the data", concat({{0x00, 0x00, 0x10, 0x00}, Bytes(36, 0)}),
         "unexpected end of file", 4},
        {"huge array count", bankRoot(arrayHead("MDFDSB00", 0xFFFFFFFF)),
         "array count 4294967295 is above 65535", kBankCountAt},
        {"array count beyond the data",
         recordBody({{"MDFTGDG0", concat({arrayHead("MDFTGDG0", 65535), Bytes(16, 0)})}}),
         "unexpected end of file", kBankTableAt},
        {"huge prim list count", primFile, "unexpected end of file", primFile.size()},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        expectUnreadable(c.bytes, c.reason, c.offset);
        EXPECT_LT(m_largestAllocation, kSmallAllocation);
    }
}

TEST_F(UnreadableMdf, DirectoryIsNotARegularFile)
{
    const std::string path = m_dir.path();
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
