// The pieces both programs share: the bounded byte reader every parser uses,
// the output file that appears only when complete, and the owning list.
#include "AtomicOutputFile.h"
#include "ByteReader.h"
#include "PtrList.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <functional>

// Each reader covers exactly `size` bytes of its own copy, so a read past
// them is also seen by the sanitizers. A failed read yields 0, names the
// offset where it started and fails every later read, even one that fits.
TEST(ByteReader, ReadsEitherOrderAndNothingPastTheEnd)
{
    const Bytes bytes{0x01, 0x02, 0x03, 0x04, 0x85, 0x86, 0x87, 0x88};
    // clang-format off
    struct Case { const char* name; std::size_t size; ByteOrder order; uint64_t skip; int width; uint32_t value; };
    // clang-format on
    const Case cases[] = {
        {"u16 little-endian", 8, ByteOrder::LittleEndian, 0, 2, 0x0201},
        {"u16 big-endian", 8, ByteOrder::BigEndian, 0, 2, 0x0102},
        {"u32 little-endian", 8, ByteOrder::LittleEndian, 4, 4, 0x88878685},
        {"u32 big-endian", 8, ByteOrder::BigEndian, 4, 4, 0x85868788},
        {"u8 of the last byte", 8, ByteOrder::LittleEndian, 7, 1, 0x88},
        {"u8 at the end", 8, ByteOrder::LittleEndian, 8, 1, 0},
        {"u16 one byte past the end", 5, ByteOrder::BigEndian, 4, 2, 0},
        {"u32 one byte past the end", 7, ByteOrder::LittleEndian, 4, 4, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const Bytes part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(c.size));
        ByteReader in(part, c.order, 100);
        ASSERT_TRUE(in.skip(c.skip));
        const uint32_t value = c.width == 1 ? in.u8() : c.width == 2 ? in.u16() : in.u32();
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(in.failed(), c.value == 0);
        if (c.value != 0)
            continue;
        EXPECT_EQ(in.failureOffset(), 100 + c.skip);
        EXPECT_EQ(in.offset(), 100 + c.skip);
        EXPECT_EQ(in.u8(), 0);
    }
}

// A write the system refuses (past the file-size limit here) is never
// committed: commit says so, and the earlier file stays as it was.
TEST(AtomicOutputFile, FailedWriteKeepsTheEarlierFile)
{
    const TempFolder folder;
    const std::string path = folder.write("out.bin", "earlier");
    const Bytes big(3 << 20, 0x5A);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const rlimit small{4096, previous.rlim_max};
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    AtomicOutputFile file;
    const bool opened = file.open(path);
    const bool written = file.write(big.data(), big.size());
    const bool committed = file.commit();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_TRUE(opened);
    EXPECT_FALSE(written);
    EXPECT_FALSE(committed);
    EXPECT_EQ(folder.text("out.bin"), "earlier");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"out.bin"});
}

// Layouts hold millions of primitives: a list freeing its chain recursively
// would overflow the stack here. Items go head to tail, each once.
TEST(PtrList, DestroysAMillionItemsHeadToTail)
{
    struct Item
    {
        Item(std::size_t itemId, std::vector<std::size_t>* destroyed) : id(itemId), log(destroyed) {}
        std::size_t id;
        std::vector<std::size_t>* log;
        ~Item() { log->push_back(id); }
    };
    constexpr std::size_t kItems = 1'000'000;
    std::vector<std::size_t> log;
    {
        PtrList<Item> list;
        for (std::size_t id = 0; id < kItems; ++id)
            list.append(std::make_unique<Item>(id, &log));
        EXPECT_TRUE(log.empty());
    }
    ASSERT_EQ(log.size(), kItems);
    // Strictly rising: each of the ids once, in the order appended.
    EXPECT_TRUE(std::is_sorted(log.begin(), log.end(), std::less_equal<>()));
}
