#include "MdfLoader.h"

#include "LargestAllocation.h"
#include "MdfTestFiles.h"

#include <gtest/gtest.h>

#include <optional>

using namespace mdfwriter;
using mdftest::concat;
using mdftest::rootWithGadgets;

namespace
{

Bytes truncated(Bytes bytes, std::size_t dropped)
{
    bytes.resize(bytes.size() - dropped);
    return bytes;
}

Bytes bankRoot(const Bytes& bankBody)
{
    return recordBody({{"MDFDSB00", bankBody}});
}

// Tag and count of an array body, with nothing after them.
Bytes arrayHead(std::string_view tag8, uint32_t count)
{
    Bytes out;
    putTag(out, tag8);
    put32(out, count);
    return out;
}

Bytes gadgetFile(const std::string& tag8, const Bytes& body)
{
    return rootWithGadgets({recordBody({{tag8, body}})}, {"g"});
}

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

// The load is refused with exactly the message for the reason and the offset
// where the bad field starts. Forged counts are checked against the data
// before anything is allocated for them.
TEST(UnreadableMdf, RefusedWithReasonAndOffset)
{
    const Bytes twoStrings = bankRoot(arrayOf("MDFDSB00", {stringBody("a"), stringBody("b")}));
    // The rect is the file's last 16 bytes; with 5 bytes gone, its sixth
    // 2-byte field starts one byte before the end.
    const Bytes rectFile =
        gadgetFile("MDFTVRE0", arrayOf("MDFTVRE0", {arrayOf("MDFVREC0", {rectBody(1, 2, 3, 4)})}));
    // Both prim files end: header, body (20 bytes for an F4), 4-byte terminator.
    const Bytes f4File = gadgetFile("MDFSVPI0", primSetBody({{.prims = {{.type = kPrimF4}}}}));
    const Bytes g4File = gadgetFile("MDFSVPI0", primSetBody({{.prims = {{.type = kPrimG4}}}}));
    const Bytes hugePrimSet = gadgetFile("MDFSVPI0", {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
    const Bytes oneBank = arrayOf("MDFDSB00", {stringBody("a")});
    // In the bank roots the array body starts at 20 (count and one directory
    // entry), its count at 28, its element table at 32 and, with one element,
    // the first string at 40.
    const std::string kEnd = "unexpected end of file";
    const std::vector<std::tuple<const char*, std::optional<Bytes>, std::string, uint64_t>> cases{
        {"empty file", Bytes{}, kEnd, 0},
        {"entry count", Bytes{0x01, 0x00}, kEnd, 0},
        {"directory", Bytes(twoStrings.begin(), twoStrings.begin() + 14), kEnd, 4},
        {"element table", Bytes(twoStrings.begin(), twoStrings.begin() + 40), kEnd, 32},
        {"leaf body", truncated(rectFile, 5), kEnd, rectFile.size() - 6},
        {"string", truncated(bankRoot(arrayOf("MDFDSB00", {stringBody("hello")})), 2), kEnd, 40},
        {"primitive body", truncated(f4File, 4 + 10), kEnd, f4File.size() - 4 - 20},
        {"list without terminator", truncated(g4File, 4), kEnd, g4File.size() - 4},
        {"unknown child whose size passes the end",
         recordBody({{"MDFDSB00", oneBank}, {"MDFVPBI0", Bytes(8, 0), 0, 5000}}), kEnd,
         4 + 2 * 16 + oneBank.size()},
        {"array count above the limit", bankRoot(arrayHead("MDFDSB00", 65536)),
         "array count 65536 is above 65535", 28},
        {"string of size 0", bankRoot(arrayBody("MDFDSB00", {{.body = stringBody("x"), .declaredSize = 0}})),
         "string of size 0", 40},
        // A NUL follows, but outside the string's size.
        {"string without NUL",
         bankRoot(arrayBody("MDFDSB00", {{.body = stringBody("abcdef"), .declaredSize = 3}})),
         "string without a terminating NUL", 40},
        {"folder", std::nullopt, "not a regular file", 0},
        {"huge entry count", concat({{0xFF, 0xFF, 0xFF, 0xFF}, Bytes(36, 0)}), kEnd, 4},
        {"entry count beyond the data", concat({{0x00, 0x00, 0x10, 0x00}, Bytes(36, 0)}), kEnd, 4},
        {"huge array count", bankRoot(arrayHead("MDFDSB00", 0xFFFFFFFF)),
         "array count 4294967295 is above 65535", 28},
        {"array count beyond the data",
         recordBody({{"MDFTGDG0", concat({arrayHead("MDFTGDG0", 65535), Bytes(16, 0)})}}), kEnd, 32},
        {"huge prim list count", hugePrimSet, kEnd, hugePrimSet.size()},
    };
    for (const auto& [name, bytes, reason, offset] : cases)
    {
        SCOPED_TRACE(name);
        TempFolder dir;
        const std::string path = bytes ? mdftest::writeIn(dir, "layout.mdf", *bytes) : dir.path();
        resetLargestAllocation();
        const MdfLoadResult result = loadMdf(path);
        EXPECT_LT(largestAllocation(), std::size_t{64 * 1024});
        EXPECT_EQ(result.status, MdfLoadStatus::Unreadable);
        EXPECT_EQ(result.model, nullptr);
        EXPECT_EQ(result.message,
                  "Couldn't read MDF file " + path + ": " + reason + " at byte " + std::to_string(offset));
    }
}

TEST(UnreadableMdf, MissingFileCannotBeOpened)
{
    TempFolder dir;
    const MdfLoadResult result = loadMdf(dir.file("missing.mdf"));
    EXPECT_EQ(result.status, MdfLoadStatus::CannotOpen);
    EXPECT_EQ(result.model, nullptr);
    EXPECT_EQ(result.message, "Couldn't open MDF file");
}
