#include "BankReader.h"

#include "BankFieldText.h"
#include "BankPlacementCheck.h"
#include "BankRecordReader.h"
#include "ByteReader.h"

namespace tbk
{
namespace
{

constexpr uint32_t kMaxGroupColumns = 16; // 1024 VRAM words in 64-word pages
constexpr uint32_t kMaxGroupLines = 256;  // one band of texture pages

bool fail(BankReadResult& result, uint64_t offset, std::string what)
{
    result.damage = BankDamage{offset, std::move(what)};
    return false;
}

bool readField(BankReadResult& result, ByteReader& file, uint32_t& value, std::string_view field)
{
    const uint64_t at = file.offset();
    value = file.u32();
    return !file.failed() || fail(result, at, MessageText{} << field << " ends past the end of the file");
}

bool readGroup(BankReadResult& result, ByteReader& file)
{
    BankGroup group;
    group.offset = file.offset();
    uint32_t recordCount = 0;
    if (!readField(result, file, group.columns, "GroupColumns") ||
        !readField(result, file, group.lines, "GroupLines") ||
        !readField(result, file, recordCount, "RecordCount"))
        return false;
    if (group.columns == 0 || group.columns > kMaxGroupColumns)
        return fail(result, group.offset,
                    MessageText{} << "GroupColumns " << group.columns << " is not 1 to 16");
    if (group.lines == 0 || group.lines > kMaxGroupLines)
        return fail(result, group.offset + 4,
                    MessageText{} << "GroupLines " << group.lines << " is not 1 to 256");
    // Every record takes bytes of the file, so a count larger than the file
    // can hold fails at the first missing record; nothing is reserved ahead.
    for (uint32_t i = 0; i < recordCount; ++i)
    {
        BankDamage damage;
        std::optional<BankRecord> record = readBankRecord(file, damage, result.bank.warnings);
        if (!record)
        {
            result.damage = std::move(damage);
            return false;
        }
        group.records.push_back(std::move(*record));
    }
    result.bank.groups.push_back(std::move(group));
    return true;
}

} // namespace

BankReadResult readBank(std::span<const uint8_t> bytes)
{
    BankReadResult result;
    Bank& bank = result.bank;
    bank.bytes = bytes.size();
    ByteReader file(bytes);
    if (!readField(result, file, bank.textureTotal, "TextureTotal") ||
        !readField(result, file, bank.separateRows, "SeparateRows"))
        return result;
    while (!file.atEnd())
        if (!readGroup(result, file))
            return result;
    // Placeholder lines count in TextureTotal without a record, so the total
    // may exceed the records but never fall short of them.
    if (bank.textureTotal < recordCount(bank))
    {
        fail(result, 0,
             MessageText{} << "TextureTotal " << bank.textureTotal << " is less than the "
                           << recordCount(bank) << " records in the file");
        return result;
    }
    checkPlacement(bank);
    return result;
}

} // namespace tbk
