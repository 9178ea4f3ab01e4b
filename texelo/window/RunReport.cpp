#include "RunReport.h"

#include "AtomicOutputFile.h"
#include "vram/VramGeometry.h"

#include <nlohmann/json.hpp>

#include <cstring>

namespace
{

using nlohmann::json;

constexpr double kVramWords = double{kVramWidth} * kVramHeight;

json semiTransparencyName(int mode)
{
    switch (mode)
    {
    case 0:
        return "trans";
    case 1:
        return "alpha";
    case 2:
        return "sub";
    default:
        return nullptr;
    }
}

json clutJson(const std::optional<PlacedClut>& clut)
{
    if (!clut)
        return nullptr;
    return {{"dx", clut->dx},
            {"dy", clut->dy},
            {"width", clut->width},
            {"rows", clut->rows},
            {"separate", clut->separate},
            {"vram", {{"x", clut->vramX}, {"y", clut->vramY}}},
            {"shared_with", clut->sharedWith ? json(*clut->sharedWith) : json(nullptr)}};
}

json textureJson(const PlacedTexture& texture)
{
    return {{"id", texture.id},
            {"name", texture.name},
            {"source", texture.source},
            {"line", texture.line},
            {"colours", texture.colours},
            {"depth", texture.depth},
            {"group", texture.group},
            {"image",
             {{"dx", texture.dx},
              {"dy", texture.dy},
              {"width_words", texture.widthWords},
              {"width_pixels", texture.widthPixels},
              {"height", texture.height}}},
            {"vram", {{"x", texture.vramX}, {"y", texture.vramY}}},
            {"page", {{"x", texture.vramX / kPageWidth}, {"y", texture.vramY / kBandHeight}}},
            {"clut", clutJson(texture.clut)},
            {"semi_transparency", semiTransparencyName(texture.semiTransparency)},
            {"palette_only", texture.paletteOnly},
            {"tiled", texture.tiled}};
}

} // namespace

std::string runReportJson(const std::string& script, const std::vector<BankSummary>& banks)
{
    json list = json::array();
    for (const BankSummary& bank : banks)
    {
        json textures = json::array();
        for (const PlacedTexture& texture : bank.textures)
            textures.push_back(textureJson(texture));
        list.push_back({{"file", bank.file},
                        {"line", bank.line},
                        {"image_words", bank.imageWords},
                        {"clut_words", bank.clutWords},
                        {"vram_share", static_cast<double>(bank.imageWords + bank.clutWords) / kVramWords},
                        {"textures", std::move(textures)}});
    }
    const json document = {{"script", script}, {"banks", std::move(list)}};
    return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::optional<std::string> writeRunReport(const std::string& path, const std::string& script,
                                          const std::vector<BankSummary>& banks)
{
    const std::string text = runReportJson(script, banks);
    AtomicOutputFile file;
    if (!file.open(path, "w") || !file.write(text.data(), text.size()) || !file.commit())
        return std::strerror(file.error());
    return std::nullopt;
}
