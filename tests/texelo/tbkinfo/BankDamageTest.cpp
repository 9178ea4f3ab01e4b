// Damaged banks: a small bank the engine wrote, cut at every length and
// with single fields corrupted. Each must be refused at the byte where it
// stops making sense, with a message naming the field, and without any
// allocation the file cannot justify.
#include "BankReader.h"
#include "BytePatch.h"
#include "LargestAllocation.h"
#include "ScriptFixture.h"

namespace
{

// The layout of the tiny bank: one group, one 4-bit 8 x 2 image.
constexpr std::size_t kBankBytes = 100;
constexpr std::size_t kRecord = 20;
constexpr std::size_t kFlags = 32;
constexpr std::size_t kClutBlock = 36;
constexpr std::size_t kPixelBlock = 80;

} // namespace

class BankDamage : public ScriptTest
{
protected:
    BankDamage()
    {
        addTexture("a.tga", expected::pattern(8, 2, 3));
        run("tiny.lay", "a A 0 0 8 2\nFIT: tiny\n");
        tiny = expected::readFile("TINY.TBK");
    }

    expected::Bytes tiny;
};

TEST_F(BankDamage, TinyBankReadsAsWritten)
{
    ASSERT_EQ(tiny.size(), kBankBytes);
    const tbk::BankReadResult result = tbk::readBank(tiny);
    ASSERT_FALSE(result.damage);
    const tbk::BankRecord& record = result.bank.groups.at(0).records.at(0);
    EXPECT_EQ(record.offset, kRecord);
    EXPECT_EQ(record.clut->offset, kClutBlock + 4);
    EXPECT_EQ(record.pixels->offset, kPixelBlock + 4);
}

// A bank has no group count: cut right after the header it is a bank of no
// group; cut anywhere else the first field that does not fit is named.
TEST_F(BankDamage, EveryTruncationIsRefusedAtTheFieldItCuts)
{
    for (std::size_t length = 0; length < tiny.size(); ++length)
    {
        const tbk::BankReadResult result = tbk::readBank(std::span(tiny).first(length));
        if (length == 8)
        {
            EXPECT_FALSE(result.damage);
            continue;
        }
        ASSERT_TRUE(result.damage) << length;
        const uint64_t expectedOffset = length < 20 ? length / 4 * 4 : length < 28 ? length / 4 * 4 : kRecord;
        EXPECT_EQ(result.damage->offset, expectedOffset) << length << ": " << result.damage->what;
        EXPECT_LE(result.damage->offset, length);
    }
    const tbk::BankReadResult cutInField = tbk::readBank(std::span(tiny).first(26));
    EXPECT_EQ(cutInField.damage->what, "record Id ends past the end of the file");
    const tbk::BankReadResult cutInImage = tbk::readBank(std::span(tiny).first(99));
    EXPECT_EQ(cutInImage.damage->what, "record of 72 bytes passes the end of the file (71 bytes remain)");
}

TEST_F(BankDamage, CorruptedFieldsAreNamedAtTheirOffset)
{
    struct Write
    {
        std::size_t offset;
        uint32_t value;
        int bits = 32;
    };
    struct Case
    {
        std::vector<Write> writes;
        uint64_t offset;
        const char* what;
    };
    const Case cases[] = {
        {{{0, 0}}, 0, "TextureTotal 0 is less than the 1 records in the file"},
        {{{8, 0}}, 8, "GroupColumns 0 is not 1 to 16"},
        {{{8, 17}}, 8, "GroupColumns 17 is not 1 to 16"},
        {{{12, 0}}, 12, "GroupLines 0 is not 1 to 256"},
        {{{12, 257}}, 12, "GroupLines 257 is not 1 to 256"},
        {{{16, 0xFFFFFFFF}}, kBankBytes, "record Size ends past the end of the file"},
        {{{kRecord, 74}}, kRecord, "record of 74 bytes passes the end of the file (72 bytes remain)"},
        {{{kRecord, 19}}, kRecord, "record Size 19 is too small for an image"},
        {{{kRecord, 70}},
         kPixelBlock,
         "pixel block length 20 does not match the 18 bytes left in the record"},
        {{{28, 0x11}}, 28, "image id 0x00000011 is not 0x00000010"},
        {{{kFlags, 0xB}}, kFlags, "pixel mode 3 is not 4-, 8- or 16-bit"},
        {{{kFlags, 0}}, kFlags, "a 4-bit image without a CLUT block"},
        {{{kFlags, 0x48}}, kFlags, "image flags 0x00000048 set unknown bits"},
        {{{kFlags, 0x18}}, kFlags, "transparency mode 1 without flag bit 15"},
        {{{kFlags, 0x8038}}, kFlags, "transparency mode 3 is unknown"},
        {{{kClutBlock, 45}}, kClutBlock, "CLUT block length 45 does not fit the 64 bytes left in the record"},
        {{{kClutBlock, 54}}, kClutBlock, "CLUT block length 54 does not fit the 64 bytes left in the record"},
        {{{kClutBlock, 52}}, 44, "CLUT of 16 x 1 needs 44 bytes, its block holds 52"},
        {{{44, 17, 16}}, 44, "CLUT of 17 x 1 needs 46 bytes, its block holds 44"},
        {{{44, 32, 16}}, 44, "CLUT of 32 x 1 needs 76 bytes, its block holds 44"},
        {{{46, 0, 16}}, 44, "CLUT of 16 x 0 has no entries"},
        {{{44, 8, 16}, {kClutBlock, 28}},
         44,
         "a 4-bit CLUT area of 8 entries is no whole number of 16-entry CLUTs"},
        {{{kPixelBlock, 22}},
         kPixelBlock,
         "pixel block length 22 does not match the 20 bytes left in the record"},
        {{{88, 12, 16}}, 88, "a 4-bit image of 12 x 2 pixels needs 24 bytes, its block holds 20"},
        {{{kRecord, 0xE0000048}},
         kRecord,
         "record Size 0xE0000048 has bit 31 set but no PAL, HOMEPAL or AWAYPAL tag"},
        {{{kRecord, 0x80000000 | 74}},
         kRecord,
         "palette record of 74 bytes passes the end of the file (72 bytes remain)"},
        {{{kRecord, 0xC0000048}}, 32, "palette W 8 needs 24 bytes, the record holds 72"},
        {{{kRecord, 0xA0000048}, {32, 32, 16}, {34, 0, 16}}, 34, "palette H is 0"},
    };
    for (const Case& c : cases)
    {
        expected::Bytes bytes = tiny;
        for (const Write& write : c.writes)
            patchLittleEndian(bytes, write.offset, write.value, write.bits / 8);
        resetLargestAllocation();
        const tbk::BankReadResult result = tbk::readBank(bytes);
        EXPECT_LT(largestAllocation(), 1024u) << c.what;
        ASSERT_TRUE(result.damage) << c.what;
        EXPECT_EQ(result.damage->offset, c.offset) << c.what;
        EXPECT_EQ(result.damage->what, c.what);
    }
}

TEST_F(BankDamage, BytesAfterTheLastGroupStartAGroupThatIsCut)
{
    expected::Bytes bytes = tiny;
    bytes.insert(bytes.end(), {1, 0, 0, 0, 9});
    const tbk::BankReadResult result = tbk::readBank(bytes);
    ASSERT_TRUE(result.damage);
    EXPECT_EQ(result.damage->offset, kBankBytes + 4);
    EXPECT_EQ(result.damage->what, "GroupLines ends past the end of the file");
}
