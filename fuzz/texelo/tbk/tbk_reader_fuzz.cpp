// Fuzzes the bank reader on whole files held in memory, and on success both
// renderers. Whatever the bytes, a damage report names a byte inside the
// file, and a bank that reads is consistent with what the file can hold.
#include "BankJson.h"
#include "BankReader.h"
#include "BankText.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace
{

// A broken invariant must stop the run where libFuzzer sees it as a crash.
void check(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "tbk_reader_fuzz: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const tbk::BankReadResult result = tbk::readBank(std::span(data, size));
    if (result.damage)
    {
        check(result.damage->offset <= size, "damage reported past the end of the file");
        check(!result.damage->what.empty(), "damage without a reason");
        return 0;
    }
    const tbk::Bank& bank = result.bank;
    check(bank.bytes == size, "bank size differs from the input");
    check(bank.textureTotal >= tbk::recordCount(bank), "more records than TextureTotal");
    // Every record takes at least 16 bytes of the file, every group 12.
    check(8 + bank.groups.size() * 12 + tbk::recordCount(bank) * 16 <= size, "more records than bytes");
    for (const tbk::BankGroup& group : bank.groups)
    {
        check(group.columns >= 1 && group.columns <= 16 && group.lines >= 1 && group.lines <= 256,
              "group size out of range");
        for (const tbk::BankRecord& record : group.records)
        {
            check(record.offset < size && record.size <= size, "record outside the file");
            check((record.form == tbk::RecordForm::Palette) == !record.pixels, "pixels on a palette record");
            check(record.form != tbk::RecordForm::SeveralCluts || (record.clut && record.clut->count > 1),
                  "several CLUTs without them");
        }
    }
    for (const tbk::BankWarning& warning : bank.warnings)
        check(warning.offset < size, "warning past the end of the file");
    const std::string text = tbk::bankText(bank, "fuzz.tbk");
    check(text.rfind("bank: fuzz.tbk\n", 0) == 0, "text report without its header");
    const nlohmann::json document = nlohmann::json::parse(tbk::bankJson(bank, "fuzz.tbk"), nullptr, false);
    check(!document.is_discarded(), "JSON report does not parse");
    check(document["groups"].size() == bank.groups.size(), "JSON report lost a group");
    return 0;
}
