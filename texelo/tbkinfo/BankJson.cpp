#include "BankJson.h"

#include <nlohmann/json.hpp>

namespace tbk
{
namespace
{

using nlohmann::json;

json recordJson(const BankRecord& record)
{
    json out = {
        {"offset", record.offset},
        {"form", formName(record.form)},
        {"palette_tag", record.form == RecordForm::Palette ? json(tagName(record.tag)) : json(nullptr)},
        {"id", record.id},
        {"pixel_mode", record.mode ? json(modeName(*record.mode)) : json(nullptr)},
        {"transparency", record.mode ? json(transparencyName(record.transparency)) : json(nullptr)},
        {"pixels", nullptr},
        {"clut", nullptr},
        {"size", record.size},
    };
    if (const auto& p = record.pixels)
        out["pixels"] = {{"dx", p->dx},
                         {"dy", p->dy},
                         {"width_words", p->widthWords},
                         {"width_pixels", p->widthPixels},
                         {"height", p->height}};
    if (const auto& c = record.clut)
        out["clut"] = {{"dx", c->dx}, {"dy", c->dy},       {"w", c->w},
                       {"h", c->h},   {"count", c->count}, {"entries", c->entries}};
    return out;
}

} // namespace

std::string bankJson(const Bank& bank, std::string_view fileName)
{
    json groups = json::array();
    for (const BankGroup& group : bank.groups)
    {
        json records = json::array();
        for (const BankRecord& record : group.records)
            records.push_back(recordJson(record));
        groups.push_back({{"offset", group.offset},
                          {"columns", group.columns},
                          {"lines", group.lines},
                          {"record_count", group.records.size()},
                          {"occupancy_percent", occupancyTenths(group) / 10.0},
                          {"records", std::move(records)}});
    }
    json warnings = json::array();
    for (const BankWarning& warning : bank.warnings)
        warnings.push_back({{"offset", warning.offset}, {"what", warning.what}});
    const json document = {{"file", fileName},
                           {"bytes", bank.bytes},
                           {"texture_total", bank.textureTotal},
                           {"separate_rows", bank.separateRows},
                           {"record_count", recordCount(bank)},
                           {"groups", std::move(groups)},
                           {"warnings", std::move(warnings)}};
    return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

} // namespace tbk
