// Banks written by the engine from generated Targa files and scripts, read
// back by the bank reader and compared with what the engine placed.
#include "BankReader.h"
#include "BankJson.h"
#include "BankText.h"
#include "ScriptFixture.h"

#include <nlohmann/json.hpp>

#include <map>

namespace
{

tbk::PaletteTag tagOf(const TextureRecord& record)
{
    switch (static_cast<HomeAwayKind>(record.HomeAway))
    {
    case HomeAwayKind::Home:
        return tbk::PaletteTag::HomePal;
    case HomeAwayKind::Away:
        return tbk::PaletteTag::AwayPal;
    default:
        return tbk::PaletteTag::Pal;
    }
}

tbk::RecordForm formOf(const TextureRecord& record)
{
    if (record.PaletteOnly && record.ClutCopies == 0)
        return tbk::RecordForm::Palette;
    return record.ClutCopies > 1 ? tbk::RecordForm::SeveralCluts : tbk::RecordForm::Texture;
}

// Compares every record the last FIT wrote with the reader's model of the
// file: group, form, tag, mode, transparency, image and CLUT placement.
void expectBankMatchesShownList(const tbk::Bank& bank, const TexeloContext& ctx, uint32_t separateRows = 0)
{
    std::map<uint32_t, std::pair<uint32_t, const tbk::BankRecord*>> read; // by Id: group, record
    for (uint32_t g = 0; g < bank.groups.size(); ++g)
        for (const tbk::BankRecord& record : bank.groups[g].records)
            EXPECT_TRUE(read.emplace(record.id, std::pair{g + 1, &record}).second)
                << "Id " << record.id << " twice";
    uint32_t inWrittenGroups = 0;
    uint32_t written = 0;
    for (const auto& shown : ctx.ShownList)
    {
        const TextureRecord& r = *shown;
        if (r.Group == 0 || r.Group > bank.groups.size())
            continue;
        ++inWrittenGroups;
        if (r.Width == 0)
            continue;
        ++written;
        const auto found = read.find(r.Id);
        ASSERT_NE(found, read.end()) << r.Name << " is missing";
        const auto& [group, record] = found->second;
        SCOPED_TRACE(r.Name + " Id " + std::to_string(r.Id));
        EXPECT_EQ(group, r.Group);
        EXPECT_EQ(record->form, formOf(r));
        if (record->form == tbk::RecordForm::Palette)
        {
            EXPECT_EQ(record->tag, tagOf(r));
            EXPECT_FALSE(record->pixels);
        }
        else
        {
            EXPECT_EQ(record->mode, static_cast<tbk::PixelMode>(r.Kind));
            EXPECT_EQ(record->transparency,
                      r.SemiTrans == 0 ? tbk::Transparency::None : tbk::Transparency((r.SemiTrans & 3) + 1));
            ASSERT_TRUE(record->pixels);
            EXPECT_EQ(record->pixels->dx, r.X);
            EXPECT_EQ(record->pixels->dy, r.Y);
            EXPECT_EQ(record->pixels->widthWords, r.Width);
            EXPECT_EQ(record->pixels->height, r.Height);
        }
        if (record->form == tbk::RecordForm::Palette && !r.HasClut)
        {
            ASSERT_TRUE(record->clut);
            EXPECT_EQ(record->clut->w, 0);
            continue;
        }
        ASSERT_EQ(record->clut.has_value(), r.HasClut != 0);
        if (record->clut)
        {
            EXPECT_EQ(record->clut->dx, r.ClutX);
            EXPECT_EQ(record->clut->dy, r.ClutY);
            EXPECT_EQ(record->clut->w, r.ClutWidth);
            EXPECT_EQ(record->clut->h, r.ClutExtraRows + 1);
            EXPECT_EQ(record->clut->count, std::max<uint32_t>(1, r.ClutCopies));
        }
    }
    EXPECT_EQ(bank.textureTotal, inWrittenGroups);
    EXPECT_EQ(tbk::recordCount(bank), written);
    EXPECT_EQ(bank.separateRows, separateRows);
}

tbk::Bank readGood(const std::string& path)
{
    const expected::Bytes bytes = expected::readFile(path);
    tbk::BankReadResult result = tbk::readBank(bytes);
    EXPECT_FALSE(result.damage) << path << " at " << result.damage->offset << ": " << result.damage->what;
    return std::move(result.bank);
}

std::vector<std::string> warningTexts(const tbk::Bank& bank)
{
    std::vector<std::string> texts;
    for (const tbk::BankWarning& warning : bank.warnings)
        texts.push_back(std::to_string(warning.offset) + " " + warning.what);
    return texts;
}

} // namespace

using BankReader = ScriptTest;

TEST_F(BankReader, SeparateClutsPaletteLinesModesAndANullLine)
{
    addTexture("a.tga", expected::pattern(16, 16, 3));
    addTexture("b.tga", expected::pattern(10, 6, 12, 0x0800));
    addTexture("c.tga", expected::pattern(20, 15, 300)); // 16-bit: no CLUT
    addTexture("d.tga", expected::pattern(5, 3, 2, 0x2000));
    addTexture("e.tga", expected::pattern(64, 8, 7, 0x1000));
    // A palette line takes its colours where the previous texture's first
    // occur, so after the 16-bit texture it has none: W 0.
    run("sep.fit", "SEPERATE: ON\nALPHA: a\nB\nHOMEPAL: a\nSUB: c\nPAL: e\nNULL\nTRANS: d\nAWAYPAL: b\nE\n"
                   "FIT: sep\n");
    ASSERT_EQ(ctx.ShownList.size(), 9u);
    const tbk::Bank bank = readGood("SEP.TBK");
    expectBankMatchesShownList(bank, ctx, 2); // six CLUTs of 16 entries fill two rows of 64
    EXPECT_EQ(bank.textureTotal, 9u);
    EXPECT_EQ(tbk::recordCount(bank), 8u);
    EXPECT_TRUE(bank.warnings.empty()) << ::testing::PrintToString(warningTexts(bank));
}

TEST_F(BankReader, PaletteSetsAcrossAndDownGiveSeveralCluts)
{
    const expected::Texture four = expected::pattern(16, 16, 2);
    addTexture("a.tga", four);
    addTexture("b.tga", expected::pattern(12, 4, 40, 0x0800)); // 8-bit: its copies go one per row
    addTexture("c.tga", expected::pattern(8, 8, 3, 0x3000));
    std::vector<std::vector<uint16_t>> sets;
    for (uint16_t k = 0; k < 4; ++k)
        sets.push_back({static_cast<uint16_t>(0x1000 + k), static_cast<uint16_t>(0x2000 + k)});
    addPaletteSet("pals", four.colours, sets);
    run("across.fit", "PALETTES: pals 4\nREMAP: ACROSS\nA\nB\nFIT: across\n"
                      "PALETTES: pals 4\nREMAP: DOWN\nA\nFIT: down\n");
    run("dup.lay", "DUPLICATE: 3\na C 0 0 8 8\nFIT: dup\n"); // copies of a 4-bit CLUT go side by side
    struct Want
    {
        const char* bank;
        uint16_t w, h;
        uint32_t count;
    };
    for (const Want& want :
         {Want{"ACROSS.TBK", 64, 1, 4}, Want{"DOWN.TBK", 16, 4, 4}, Want{"DUP.TBK", 48, 1, 3}})
    {
        SCOPED_TRACE(want.bank);
        const tbk::Bank bank = readGood(want.bank);
        ASSERT_EQ(bank.groups.size(), 1u);
        const tbk::BankRecord& record = bank.groups[0].records.at(0);
        EXPECT_EQ(record.form, tbk::RecordForm::SeveralCluts);
        EXPECT_EQ(record.mode, tbk::PixelMode::Indexed4);
        ASSERT_TRUE(record.clut);
        EXPECT_EQ(record.clut->w, want.w);
        EXPECT_EQ(record.clut->h, want.h);
        EXPECT_EQ(record.clut->count, want.count);
        EXPECT_TRUE(bank.warnings.empty());
    }
    // The last FIT's records are the ones still in the context.
    expectBankMatchesShownList(readGood("DUP.TBK"), ctx);
    const tbk::Bank across = readGood("ACROSS.TBK");
    const tbk::BankRecord& eightBit = across.groups[0].records.at(1);
    EXPECT_EQ(eightBit.form, tbk::RecordForm::SeveralCluts);
    EXPECT_EQ(eightBit.mode, tbk::PixelMode::Indexed8);
    EXPECT_EQ(eightBit.clut->count, 4u);
    EXPECT_EQ(eightBit.clut->h, 4u);
}

TEST_F(BankReader, LayoutBankGroupsOccupancyAndPlacementWarnings)
{
    addTexture("a.tga", expected::pattern(64, 32, 3));
    addTexture("f.tga", expected::pattern(8, 4, 20, 0x0800)); // 8-bit, a CLUT of 256 entries
    run("one.lay", "a A 0 0 64 32 A 0 32 64 32\nq F 0 0 8 4\nFIT: one\n");
    const tbk::Bank bank = readGood("ONE.TBK");
    expectBankMatchesShownList(bank, ctx);
    ASSERT_EQ(bank.groups.size(), 2u);
    // Two 16 x 32 word images in a 64-word group of 65 lines (64 image lines
    // and one of CLUTs): 1024 / 4160 = 24.6%.
    EXPECT_EQ(bank.groups[0].lines, 65u);
    EXPECT_EQ(tbk::occupancyTenths(bank.groups[0]), 246u);
    // A layout script gives every page a one-column group, yet puts a
    // 256-entry CLUT at its start: the reader shows it and warns.
    const tbk::BankRecord& eightBit = bank.groups[1].records.at(0);
    ASSERT_TRUE(eightBit.clut);
    EXPECT_EQ(eightBit.clut->w, 256);
    const std::string where = std::to_string(eightBit.clut->offset);
    EXPECT_EQ(
        warningTexts(bank),
        std::vector<std::string>{where + " CLUT at 0,5 of 256 x 1 words leaves its group of 64 x 6 words"});
}

TEST_F(BankReader, ShortEightBitClutIsReadWithAWarning)
{
    addTexture("e.tga", expected::pattern(16, 2, 20));
    run("short.fit", "CLUT: 200\nE\nFIT: short\n");
    const tbk::Bank bank = readGood("SHORT.TBK");
    expectBankMatchesShownList(bank, ctx);
    const tbk::BankRecord& record = bank.groups.at(0).records.at(0);
    EXPECT_EQ(record.clut->entries, 200u);
    EXPECT_EQ(record.clut->w, 208u);
    EXPECT_EQ(warningTexts(bank), std::vector<std::string>{std::to_string(record.clut->offset + 4) +
                                                           " CLUT W is 208 but its block holds 200 colours"});
}

TEST_F(BankReader, JsonParsesBackWithTheModelsFields)
{
    addTexture("a.tga", expected::pattern(16, 16, 3));
    run("j.fit", "TRANS: a\nHOMEPAL: a\nFIT: j\n");
    const tbk::Bank bank = readGood("J.TBK");
    const nlohmann::json doc = nlohmann::json::parse(tbk::bankJson(bank, "J.TBK"));
    EXPECT_EQ(doc["texture_total"], 2);
    EXPECT_EQ(doc["record_count"], 2);
    const nlohmann::json& group = doc["groups"].at(0);
    EXPECT_EQ(group["lines"], bank.groups[0].lines);
    EXPECT_DOUBLE_EQ(group["occupancy_percent"].get<double>(), tbk::occupancyTenths(bank.groups[0]) / 10.0);
    const nlohmann::json& texture = group["records"].at(0);
    EXPECT_EQ(texture["form"], "texture");
    EXPECT_EQ(texture["transparency"], "TRANS");
    EXPECT_EQ(texture["pixels"]["width_words"], 4);
    EXPECT_EQ(texture["pixels"]["width_pixels"], 16);
    EXPECT_EQ(texture["clut"]["dy"], bank.groups[0].records[0].clut->dy);
    const nlohmann::json& palette = group["records"].at(1);
    EXPECT_EQ(palette["form"], "palette");
    EXPECT_EQ(palette["palette_tag"], "HOMEPAL");
    EXPECT_TRUE(palette["pixels"].is_null());
    EXPECT_EQ(palette["size"], 40);
    // A file name that is not UTF-8 is replaced, not refused.
    const nlohmann::json replaced = nlohmann::json::parse(tbk::bankJson(bank, "\xff.TBK"));
    EXPECT_EQ(replaced["file"], "\xEF\xBF\xBD.TBK");
    EXPECT_NE(tbk::bankText(bank, "J.TBK").find("form=palette tag=HOMEPAL id=1 clut_x="), std::string::npos);
}
