#include "BankText.h"

#include "BankFieldText.h"

namespace tbk
{
namespace
{

void appendRecord(MessageText& text, const BankRecord& record)
{
    text << " offset=" << record.offset << " form=" << formName(record.form);
    if (record.form == RecordForm::Palette)
        text << " tag=" << tagName(record.tag);
    text << " id=" << record.id;
    if (record.mode)
        text << " mode=" << modeName(*record.mode) << " trans=" << transparencyName(record.transparency);
    if (const auto& p = record.pixels)
        text << " x=" << p->dx << " y=" << p->dy << " words=" << p->widthWords << " pixels=" << p->widthPixels
             << " height=" << p->height;
    if (const auto& c = record.clut)
        text << " clut_x=" << c->dx << " clut_y=" << c->dy << " clut_w=" << c->w << " clut_h=" << c->h
             << " cluts=" << c->count;
    text << " size=" << record.size << "\n";
}

} // namespace

std::string bankText(const Bank& bank, std::string_view fileName)
{
    MessageText text;
    text << "bank: " << fileName << "\n";
    text << "bytes: " << bank.bytes << "\n";
    text << "texture_total: " << bank.textureTotal << "\n";
    text << "separate_rows: " << bank.separateRows << "\n";
    text << "groups: " << bank.groups.size() << "\n";
    text << "records: " << recordCount(bank) << "\n";
    text << "warnings: " << bank.warnings.size() << "\n";
    uint64_t groupNumber = 0;
    for (const BankGroup& group : bank.groups)
    {
        ++groupNumber;
        const uint32_t tenths = occupancyTenths(group);
        text << "group " << groupNumber << ": offset=" << group.offset << " columns=" << group.columns
             << " lines=" << group.lines << " records=" << group.records.size()
             << " occupancy=" << tenths / 10 << "." << tenths % 10 << "%\n";
        uint64_t recordNumber = 0;
        for (const BankRecord& record : group.records)
        {
            text << "  record " << groupNumber << "." << ++recordNumber << ":";
            appendRecord(text, record);
        }
    }
    for (const BankWarning& warning : bank.warnings)
        text << "warning: offset=" << warning.offset << " " << warning.what << "\n";
    return text;
}

} // namespace tbk
