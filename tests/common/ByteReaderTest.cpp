#include "ByteReader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace
{

constexpr std::array<uint8_t, 11> kBytes{0x01, 0x02, 0x03, 0x04, 0x85, 0x86, 0x87, 0x88, 0xFE, 0xFF, 0x7F};

struct OrderCase
{
    ByteOrder order;
    uint8_t u8;
    uint16_t u16;
    uint32_t u32;
    int8_t i8;
    int16_t i16;
};

TEST(ByteReader, ReadsEachWidthInTheReadersByteOrder)
{
    const OrderCase cases[] = {
        {ByteOrder::LittleEndian, 0x01, 0x0302, 0x87868504, -120, -2},
        {ByteOrder::BigEndian, 0x01, 0x0203, 0x04858687, -120, -257},
    };
    for (const OrderCase& c : cases)
    {
        ByteReader in(kBytes, c.order);
        EXPECT_EQ(in.u8(), c.u8);
        EXPECT_EQ(in.u16(), c.u16);
        EXPECT_EQ(in.u32(), c.u32);
        EXPECT_EQ(in.i8(), c.i8);
        EXPECT_EQ(in.i16(), c.i16);
        EXPECT_EQ(in.remaining(), 1u);
        EXPECT_FALSE(in.failed());
    }
}

TEST(ByteReader, OrderChosenPerFieldOverridesTheReaders)
{
    ByteReader in(kBytes, ByteOrder::LittleEndian);
    EXPECT_EQ(in.u32(ByteOrder::BigEndian), 0x01020304u);
    EXPECT_EQ(in.i32(ByteOrder::BigEndian), int32_t{-2054781048}); // 0x85868788
    EXPECT_EQ(in.i16(), -2);
}

enum class Op : uint8_t
{
    U8,
    U32,
    Skip,
    Bytes,
    Seek,
};

struct Step
{
    Op op;
    uint64_t n = 0;
};

// Readers start at file offset 100, so every offset below is absolute.
struct StickyCase
{
    const char* name;
    std::size_t size;
    std::vector<Step> steps;
    std::optional<uint64_t> failedAt; // none: every step succeeded
    uint64_t offsetAfter;
};

TEST(ByteReader, FailsBeforePassingTheEndAndStaysFailed)
{
    const StickyCase cases[] = {
        {"u32 ending exactly at the end", 6, {{Op::Skip, 2}, {Op::U32}}, std::nullopt, 106},
        {"u32 one byte past the end", 5, {{Op::Skip, 2}, {Op::U32}}, 102, 102},
        {"later reads fail though they fit", 5, {{Op::Skip, 2}, {Op::U32}, {Op::U8}}, 102, 102},
        {"bytes up to exactly the end", 4, {{Op::U8}, {Op::Bytes, 3}}, std::nullopt, 104},
        {"bytes one past the end", 4, {{Op::U8}, {Op::Bytes, 4}}, 101, 101},
        {"read at the end", 4, {{Op::Skip, 4}, {Op::U8}}, 104, 104},
        {"skip that would wrap the offset", 4, {{Op::U8}, {Op::Skip, UINT64_MAX}}, 101, 101},
        {"seek to the end, then read", 4, {{Op::Seek, 104}, {Op::U8}}, 104, 104},
        {"seek past the end", 4, {{Op::Seek, 105}, {Op::Seek, 100}}, 105, 100},
        {"seek before the first byte", 4, {{Op::U8}, {Op::Seek, 99}}, 99, 101},
    };
    for (const StickyCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        ByteReader in(std::span<const uint8_t>(kBytes).first(c.size), ByteOrder::LittleEndian, 100);
        uint64_t lastValue = 0;
        for (const Step& step : c.steps)
        {
            switch (step.op)
            {
            case Op::U8:
                lastValue = in.u8();
                break;
            case Op::U32:
                lastValue = in.u32();
                break;
            case Op::Skip:
                lastValue = in.skip(step.n) ? 1 : 0;
                break;
            case Op::Bytes:
                lastValue = in.bytes(step.n).size();
                break;
            case Op::Seek:
                lastValue = in.seek(step.n) ? 1 : 0;
                break;
            }
        }
        EXPECT_EQ(in.failed(), c.failedAt.has_value());
        if (c.failedAt)
        {
            EXPECT_EQ(in.failureOffset(), *c.failedAt);
            EXPECT_EQ(lastValue, 0u) << "a failed step yields nothing";
        }
        EXPECT_EQ(in.offset(), c.offsetAfter);
    }
}

TEST(ByteReader, TakenPartCountsFromTheFileStartAndFailsItsOwner)
{
    ByteReader in(kBytes, ByteOrder::LittleEndian, 100);
    in.skip(2);
    ByteReader part = in.take(4);
    EXPECT_EQ(part.u32(), 0x86850403u);
    EXPECT_EQ(part.u8(), 0);
    EXPECT_EQ(part.failureOffset(), 106u);
    EXPECT_FALSE(in.failed());
    const ByteReader tooLong = in.take(6);
    EXPECT_TRUE(tooLong.failed());
    EXPECT_EQ(in.failureOffset(), 106u);
}

TEST(ByteReader, SizeArithmeticReportsOverflow)
{
    struct Case
    {
        uint64_t a, b;
        std::optional<uint64_t> sum, product;
    };
    const Case cases[] = {
        {UINT64_MAX, 0, UINT64_MAX, 0},
        {UINT64_MAX, 1, std::nullopt, UINT64_MAX},
        {UINT64_MAX - 1, 1, UINT64_MAX, UINT64_MAX - 1},
        {uint64_t{1} << 32, uint64_t{1} << 32, uint64_t{1} << 33, std::nullopt},
        {uint64_t{1} << 32, (uint64_t{1} << 32) - 1, (uint64_t{1} << 33) - 1, 0xFFFFFFFF00000000},
        {0, UINT64_MAX, UINT64_MAX, 0},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(checkedAdd(c.a, c.b), c.sum) << c.a << " + " << c.b;
        EXPECT_EQ(checkedMul(c.a, c.b), c.product) << c.a << " * " << c.b;
    }
}

} // namespace
