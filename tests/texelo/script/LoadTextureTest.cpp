#include "ScriptFixture.h"
#include "script/ScriptOptions.h"
#include "script/TextureLoader.h"

using namespace expected;

namespace
{
const Texture kFour = pattern(8, 2, 3);    // 4-bit
const Texture kEight = pattern(16, 2, 20); // 8-bit

std::vector<uint16_t> repeated(const std::vector<uint16_t>& clut, int times)
{
    std::vector<uint16_t> all;
    for (int i = 0; i < times; ++i)
        all.insert(all.end(), clut.begin(), clut.end());
    return all;
}
} // namespace

class LoadTextureTest : public ScriptTest
{
protected:
    LoadTextureTest()
    {
        addTexture("four.tga", kFour);
        addTexture("eight.tga", kEight);
    }
};

TEST_F(LoadTextureTest, TgaAppendedUnlessTheNameHasIt)
{
    addTexture("tex/a.tga", kFour);
    addTexture("tex/b.TGA", kFour);
    ctx.state.TexturePath = "TEX\\";
    EXPECT_EQ(LoadTexture(ctx, "A")->Name, "A.tga");
    EXPECT_EQ(LoadTexture(ctx, "B.TGA")->Name, "B.TGA");
    EXPECT_EQ(LoadTexture(ctx, "A.Tga"), nullptr);
    EXPECT_EQ(reporter.output(), std::string("Opened TEX\\A.tga\nOpened TEX\\B.TGA\nFailed to open ") +
                                     kDefaultFolder + "A.Tga.tga\n");
    EXPECT_EQ(reporter.messageLine(), std::string("Failed to open ") + kDefaultFolder + "A.Tga.tga");
    EXPECT_EQ(ctx.bank.TextureCount, 2u); // a texture not found takes no Id
}

TEST_F(LoadTextureTest, NullPlaceholderAndTooLargeTexturesTakeIds)
{
    addTexture("wide.tga", pattern(257, 1, 2));
    addTexture("tall.tga", pattern(1, 257, 1));
    EXPECT_EQ(LoadTexture(ctx, "FOUR")->Id, 0u);
    const auto placeholder = LoadTexture(ctx, "NULL");
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->Id, 1u);
    EXPECT_EQ(placeholder->Width, 0);
    EXPECT_EQ(placeholder->TimData, nullptr);
    EXPECT_EQ(placeholder->HasClut, 0);
    EXPECT_EQ(LoadTexture(ctx, "WIDE"), nullptr);
    EXPECT_EQ(LoadTexture(ctx, "TALL"), nullptr);
    EXPECT_EQ(LoadTexture(ctx, "FOUR")->Id, 4u);
    EXPECT_EQ(reporter.output(),
              "Opened FOUR.tga\nOpened WIDE.tga\nTexture WIDE.tga is too large!\n"
              "WIDE.tga is 260 pixels wide and 1 pixels high.\nOpened TALL.tga\n"
              "Texture TALL.tga is too large!\nTALL.tga is 4 pixels wide and 257 pixels high.\n"
              "Opened FOUR.tga\n");
}

// 256 texels are 64, 128 or 256 words; a palette-only texture (coloured like
// the 4-bit one before it) takes no image space at all.
TEST_F(LoadTextureTest, WidthInWordsAtEachDepth)
{
    addTexture("t4.tga", pattern(256, 1, 2));
    addTexture("t8.tga", pattern(256, 1, 20));
    addTexture("t16.tga", pattern(256, 2, 300));
    for (const auto& [name, kind, width] : {std::tuple{"T16", 2, 256}, {"T8", 1, 128}, {"T4", 0, 64}})
    {
        const auto record = LoadTexture(ctx, name);
        ASSERT_TRUE(record) << name;
        EXPECT_EQ(record->Kind, kind);
        EXPECT_EQ(record->Width, width);
        EXPECT_EQ(record->PixelWidth, 256);
        EXPECT_EQ(record->HasClut, kind != 2);
        EXPECT_EQ(record->ClutData.empty(), kind == 2);
    }
    const auto palette = LoadTexture(ctx, "FOUR", {.PaletteOnly = 1});
    EXPECT_EQ((std::tuple{palette->Width, palette->Height, palette->PixelWidth}), (std::tuple{1, 0, 1}));
    EXPECT_EQ(palette->HasClut, 1);
    EXPECT_EQ(palette->PaletteOnly, 1);
}

// Remapped to a palette set (four palettes across or down) or duplicated
// three times; an 8-bit CLUT fills a row, so its copies go one per row.
TEST_F(LoadTextureTest, CopiesOfTheClutAcrossOrDown)
{
    addPaletteSet("pals", kFour.colours, {{1}, {2}, {3}, {4}});
    setPalettes(ctx, "PALS 4"); // remapping ACROSS
    const auto across = LoadTexture(ctx, "FOUR");
    const auto eight = LoadTexture(ctx, "EIGHT");
    ctx.state.RemapMode = 2; // DOWN
    const auto down = LoadTexture(ctx, "FOUR");
    EXPECT_EQ(across->ClutData[16], 0x8002); // palette 1, own colour 0
    ctx.state.PaletteCount = 0;
    ctx.state.RemapMode = 0;
    ctx.state.DuplicateCount = 3;
    const auto duplicated = LoadTexture(ctx, "FOUR");
    const auto duplicated8 = LoadTexture(ctx, "EIGHT");
    EXPECT_EQ(duplicated->ClutData, repeated(ownClut(kFour), 3));
    EXPECT_EQ(duplicated8->ClutData, repeated(ownClut(kEight), 3));
    const std::tuple<const TextureRecord*, int, int, int> shapes[] = {{across.get(), 64, 0, 4},
                                                                      {down.get(), 16, 3, 4},
                                                                      {eight.get(), 256, 3, 4},
                                                                      {duplicated.get(), 48, 0, 3},
                                                                      {duplicated8.get(), 256, 2, 3}};
    for (const auto& [record, width, extraRows, copies] : shapes)
    {
        EXPECT_EQ((std::tuple{int(record->ClutWidth), int(record->ClutExtraRows), int(record->ClutCopies)}),
                  (std::tuple{width, extraRows, copies}));
        EXPECT_EQ(record->ClutData.size(), std::size_t(copies) * (record->Kind == 0 ? 16 : 256));
    }
}

TEST_F(LoadTextureTest, SeparateClutsRefusedFor8BitTextures)
{
    ctx.state.BankSeparateCluts = 1;
    ctx.state.MessagesOn = 1;
    (void)LoadTexture(ctx, "FOUR");
    EXPECT_EQ(ctx.state.BankSeparateCluts, 1);
    (void)LoadTexture(ctx, "EIGHT");
    EXPECT_EQ(ctx.state.BankSeparateCluts, 0);
    EXPECT_EQ(reporter.messageLine(), "Seperate CLUT's not allowed with 8-bit textures");
    ctx.state.BankSeparateCluts = 1;
    ctx.state.MessagesOn = 0;
    (void)LoadTexture(ctx, "EIGHT");
    EXPECT_EQ(ctx.state.BankSeparateCluts, 0);
    const std::string eight =
        "Opened EIGHT.tga\nImage EIGHT.tga with 20 colours couldn't be saved as 4 BPP.\n"
        "defaulting to 8 BPP.\n";
    EXPECT_EQ(reporter.output(),
              "Opened FOUR.tga\n" + eight + "Seperate CLUT's not allowed with 8-bit textures\n" + eight);
}

TEST_F(LoadTextureTest, ClutSizeNotMultipleOf16RoundsUpWithZeroEntries)
{
    ctx.state.ClutSize8 = 200;
    AddTexture(ctx, "EIGHT");
    EXPECT_EQ(ctx.state.ClutSize8, 256);
    ASSERT_EQ(ctx.bank.PendingList.size(), 1u);
    const TextureRecord& record = *ctx.bank.PendingList[0];
    EXPECT_EQ(timBytes(record), tim(kEight, {.clutSize8 = 200}));
    EXPECT_EQ(record.ClutWidth, 208);
    std::vector<uint16_t> clut = ownClut(kEight, 200);
    clut.resize(208, 0); // never the pixel block that follows the TIM's CLUT
    EXPECT_EQ(record.ClutData, clut);
    ctx.state.ClutSize8 = 20;
    AddTexture(ctx, "MISSING"); // back to 256 also when nothing loads
    EXPECT_EQ(ctx.state.ClutSize8, 256);
}
