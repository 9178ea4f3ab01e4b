#include "vram/BankWriter.h"
#include "ScriptFixture.h"
#include "script/ScriptOptions.h"
#include "script/TextureLoader.h"
#include "vram/Organiser.h"

using namespace expected;

namespace
{
const Texture kSmall = pattern(16, 16, 3);

std::vector<uint8_t> written(const TextureRecord& loaded)
{
    std::vector<uint8_t> out;
    WriteBankRecord(loaded, out);
    return out;
}
} // namespace

class BankTest : public ScriptTest
{
protected:
    BankTest() { addTexture("a.tga", kSmall); }
};

TEST_F(BankTest, OneTextureGroupShrinksToImageAndMovedClut)
{
    const Texture texture = pattern(64, 32, 3);
    addTexture("a.tga", texture);
    run("one.lay", "a A 0 0 64 32\nFIT: bank\n");
    EXPECT_EQ(reporter.output(), "Opened A.tga\nSaving Textures...\n");
    EXPECT_EQ(readFile("BANK.TBK"), bank(1, 0, {{1, 33, {record(0, tim(texture, {.clutY = 32, .x = 0}))}}}));
    ASSERT_EQ(ctx.ShownList.size(), 1u);
    EXPECT_EQ(ctx.ShownList[0]->ClutY, 32);
    EXPECT_EQ(ctx.ShownList[0]->TimData, nullptr);
    EXPECT_TRUE(ctx.bank.PendingList.empty());
    EXPECT_EQ(ctx.bank.GroupWidths[0], 0);
    EXPECT_EQ(ctx.bank.TextureCount, 0u);
}

TEST_F(BankTest, GroupsRecordsAndSeparateRowsOfLayoutBanks)
{
    std::vector<Bytes> separate;
    for (uint16_t i = 0; i < 5; ++i)
        separate.push_back(record(i, tim(kSmall, {.clutX = uint16_t(16 * (i % 4)),
                                                  .clutY = uint16_t(i / 4),
                                                  .x = uint16_t(4 * (i % 4)),
                                                  .y = uint16_t(i < 4 ? 0 : 64)})));
    const Bytes alone = record(0, tim(kSmall, {.clutY = 16, .x = 0}));
    const struct
    {
        const char* what;
        const char* layout;
        Bytes bank;
        std::size_t shown;
    } cases[] = {
        {"NULL entries are counted but not written", "a A 0 0 16 16 NULL 16 0 16 16\nq NULL 0 0 16 16\n",
         bank(3, 0, {{1, 17, {alone}}, {1, 1, {}}}), 3},
        {"groups end at the first unused page", "a A 0 0 16 16 A 512 0 16 16\n",
         bank(1, 0, {{1, 17, {alone}}}), 2},
        // One more than the two rows used: the layout's ClutRow is 512 - row.
        {"separate CLUTs give separate rows and row numbers",
         "SEPERATE: ON\na A 0 0 16 16 A 16 0 16 16 A 32 0 16 16 A 48 0 16 16 A 0 64 16 16\n",
         bank(5, 3, {{1, 81, separate}}), 5},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        ctx.ShownList.clear();
        run("bank.lay", std::string(c.layout) + "FIT: bank\n");
        EXPECT_EQ(readFile("BANK.TBK"), c.bank);
        EXPECT_EQ(ctx.ShownList.size(), c.shown);
    }
}

TEST_F(BankTest, PlainRecordsCarryTheModeInTheirFlags)
{
    for (const uint8_t semiTrans : {0x00, 0x80, 0x81, 0x82})
    {
        ctx.state.SemiTransMode = semiTrans == 0 ? -1 : static_cast<int8_t>(semiTrans & 3);
        auto loaded = LoadTexture(ctx, "A");
        loaded->X = 3;
        loaded->Y = 5;
        loaded->ClutX = 16;
        loaded->ClutY = 200;
        EXPECT_EQ(written(*loaded),
                  record(loaded->Id,
                         tim(kSmall, {.clutX = 16, .clutY = 200, .x = 3, .y = 5, .semiTrans = semiTrans})))
            << int(semiTrans);
    }
}

TEST_F(BankTest, PaletteRecordsAreTaggedByKind)
{
    (void)LoadTexture(ctx, "A"); // palette-only textures reuse the previous colour table
    for (const auto& [homeAway, tag] :
         {std::pair<uint8_t, uint32_t>{0, 0x80000000}, {1, 0xC0000000}, {2, 0xA0000000}})
    {
        auto palette = LoadTexture(ctx, "A", {.PaletteOnly = 1, .HomeAway = homeAway});
        palette->ClutX = 5;
        palette->ClutY = 7;
        const std::vector<uint8_t> out = written(*palette);
        EXPECT_EQ(out, paletteRecord(tag, palette->Id, 5, 7, ownClut(kSmall))) << int(homeAway);
        ASSERT_EQ(out.size(), 48u);
        EXPECT_EQ(out[0] | out[1] << 8 | out[2] << 16 | uint32_t{out[3]} << 24, 40 | tag);
    }
}

TEST_F(BankTest, RemappedClutsAcrossAndDown)
{
    const Texture texture = pattern(16, 16, 2);
    std::vector<std::vector<uint16_t>> sets;
    std::vector<uint16_t> cluts;
    for (uint16_t k = 0; k < 4; ++k)
    {
        sets.push_back({uint16_t(0x1000 + k), uint16_t(0x2000 + k)});
        std::vector<uint16_t> clut(16, 0);
        clut[0] = uint16_t(0x9000 + k);
        clut[1] = uint16_t(0xA000 + k);
        cluts.insert(cluts.end(), clut.begin(), clut.end());
    }
    addTexture("a.tga", texture);
    addPaletteSet("pals", texture.colours, sets);
    // RESTART twice puts the four DOWN rows at 252-255, ending at the band.
    run("remap.lay", "PALETTES: pals 4\nREMAP: ACROSS\na A 0 0 16 16\nFIT: across\n"
                     "PALETTES: pals 4\nREMAP: DOWN\nRESTART\nRESTART\na A 0 0 16 16\nFIT: down\n");
    const auto remapped = [&](uint16_t width, uint16_t rows)
    {
        return record(
            0,
            tim(texture, {.clutY = 16, .clutWidth = width, .clutRows = rows, .clutEntries = cluts, .x = 0}));
    };
    EXPECT_EQ(remapped(64, 1)[8 + 8], 140); // the CLUT block length
    EXPECT_EQ(readFile("ACROSS.TBK"), bank(1, 0, {{1, 17, {remapped(64, 1)}}}));
    EXPECT_EQ(readFile("DOWN.TBK"), bank(1, 0, {{1, 20, {remapped(16, 4)}}}));
}

TEST_F(BankTest, SeveralCopiesOfAShortClutKeepTheSizeTrue)
{
    const Texture texture = pattern(16, 2, 20);
    addTexture("e.tga", texture);
    ctx.state.SemiTransMode = -1;
    ctx.state.ClutSize8 = 200;
    ctx.state.DuplicateCount = 2;
    std::vector<uint16_t> clut = ownClut(texture, 200);
    clut.resize(208, 0);
    clut.insert(clut.end(), clut.begin(), clut.end());
    // The size counts the bytes that follow (TimSize + P would be 16 short).
    EXPECT_EQ(written(*LoadTexture(ctx, "E")), record(0, tim(texture, {.clutY = 0,
                                                                       .clutWidth = 208,
                                                                       .clutRows = 2,
                                                                       .clutEntries = clut,
                                                                       .x = 0,
                                                                       .clutSize8 = 200})));
}

TEST_F(BankTest, GroupHeightMovesLowClutsAndCountsTallOnes)
{
    const auto placed =
        [&](uint8_t group, uint16_t width, uint16_t height, uint16_t clutY = 0, uint16_t extraRows = 0)
    {
        auto record = std::make_unique<TextureRecord>();
        record->Group = group;
        record->Width = width;
        record->Height = height;
        record->HasClut = clutY != 0;
        record->ClutY = clutY;
        record->ClutExtraRows = extraRows;
        ctx.bank.PendingList.push_back(std::move(record));
    };
    placed(1, 16, 100);
    placed(1, 4, 10, 98, 3); // beside the taller image, rows 98-101
    placed(1, 4, 10, 255);
    placed(2, 4, 200);
    // The low CLUT moves up to just below the tall one, not onto its rows.
    BankOptions options;
    RaiseLowCluts(ctx.bank, 1);
    EXPECT_EQ(GroupHeight(ctx.bank, options, 1), 103u);
    EXPECT_EQ(ctx.bank.PendingList[1]->ClutY, 98);
    EXPECT_EQ(ctx.bank.PendingList[2]->ClutY, 102);
    ctx.bank.PendingList[2]->ClutY = 255;
    options.BankSeparateCluts = true; // CLUTs elsewhere do not count
    EXPECT_EQ(GroupHeight(ctx.bank, options, 1), 101u);
    EXPECT_EQ(GroupHeight(ctx.bank, options, 3), 1u);
}

TEST_F(BankTest, WrittenInLoadOrderAfterSorting)
{
    std::vector<Bytes> records;
    ctx.state.SemiTransMode = -1;
    for (uint16_t i = 0; i < 3; ++i)
    {
        const Texture texture = pattern(16 << (i == 1 ? 2 : i), 4, 3); // 16, 64, 32 wide
        addTexture("t" + std::to_string(i) + ".tga", texture);
        AddTexture(ctx, "T" + std::to_string(i));
        TextureRecord& loaded = *ctx.bank.PendingList.back();
        loaded.Group = 1;
        loaded.Y = 0;
        loaded.ClutX = uint16_t(16 * i);
        loaded.ClutY = 255;
        records.push_back(record(i, tim(texture, {.clutX = loaded.ClutX, .clutY = 4, .x = 0})));
    }
    ctx.bank.GroupWidths[0] = 1;
    ctx.state.BankName = "BANK";
    BuildOriginalList(ctx.bank, ctx.state.SortTextures);
    ASSERT_EQ(ctx.bank.PendingList[0]->Id, 1u); // the widest first
    WriteBank(ctx.bank, bankOptions(ctx.state), ctx.reporter, ctx.files);
    EXPECT_EQ(readFile("BANK.TBK"), bank(3, 0, {{1, 5, records}}));
    EXPECT_EQ(ctx.bank.PendingList[0]->Id, 0u);
}

TEST_F(BankTest, EmptyLayoutBankWritesNoFile)
{
    run("empty.lay", "a MISSING 0 0 16 16\nFIT: bank\n");
    EXPECT_EQ(reporter.output(),
              std::string("Failed to open ") + kDefaultFolder + "MISSING.tga\nCouldn't find any textures\n");
    EXPECT_EQ(reporter.messageLine(), "Couldn't find any textures\n");
    EXPECT_FALSE(exists("BANK.TBK"));
}

TEST_F(BankTest, BankInAMissingFolderReported)
{
    run("nowhere.lay", "a A 0 0 16 16\nFIT: nope\\bank\nb A 0 0 16 16\n");
    EXPECT_EQ(reporter.output(), "Opened A.tga\nCouldn't open output file NOPE\\BANK.TBK\nOpened A.tga\n");
    EXPECT_EQ(reporter.messageLine(), "");
    EXPECT_EQ(ctx.ShownList.size(), 1u);
    EXPECT_EQ(ctx.bank.PendingList.size(), 1u);
}
