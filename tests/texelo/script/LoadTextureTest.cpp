#include "ScriptFixture.h"
#include "TextureLoader.h"

#include <algorithm>

namespace
{
const expected::Texture kFour = expected::pattern(8, 2, 3);    // 4-bit
const expected::Texture kEight = expected::pattern(16, 2, 20); // 8-bit

std::vector<uint16_t> repeated(const std::vector<uint16_t>& clut, int times)
{
    std::vector<uint16_t> all;
    for (int i = 0; i < times; ++i)
        all.insert(all.end(), clut.begin(), clut.end());
    return all;
}
} // namespace

using LoadTextureTest = ScriptTest;

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
    EXPECT_EQ(ctx.TextureCount, 2u); // a texture not found takes no Id
}

TEST_F(LoadTextureTest, NullPlaceholderAndTooLargeTexturesTakeIds)
{
    addTexture("a.tga", kFour);
    addTexture("wide.tga", expected::pattern(257, 1, 2));
    addTexture("tall.tga", expected::pattern(1, 257, 1));
    EXPECT_EQ(LoadTexture(ctx, "A")->Id, 0u);
    const auto placeholder = LoadTexture(ctx, "NULL");
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->Id, 1u);
    EXPECT_EQ(placeholder->Width, 0);
    EXPECT_TRUE(placeholder->TimData.empty());
    EXPECT_EQ(placeholder->HasClut, 0);
    EXPECT_EQ(LoadTexture(ctx, "WIDE"), nullptr);
    EXPECT_EQ(LoadTexture(ctx, "TALL"), nullptr);
    EXPECT_EQ(LoadTexture(ctx, "A")->Id, 4u);
    EXPECT_EQ(reporter.output(),
              "Opened A.tga\nOpened WIDE.tga\nTexture WIDE.tga is too large!\n"
              "WIDE.tga is 260 pixels wide and 1 pixels high.\nOpened TALL.tga\n"
              "Texture TALL.tga is too large!\nTALL.tga is 4 pixels wide and 257 pixels high.\n"
              "Opened A.tga\n");
}

TEST_F(LoadTextureTest, WidthInWordsFor256TexelsAtEachDepth)
{
    addTexture("four.tga", expected::pattern(256, 1, 2));
    addTexture("eight.tga", expected::pattern(256, 1, 20));
    addTexture("direct.tga", expected::pattern(256, 2, 300));
    const auto four = LoadTexture(ctx, "FOUR");
    const auto eight = LoadTexture(ctx, "EIGHT");
    const auto direct = LoadTexture(ctx, "DIRECT");
    ASSERT_TRUE(four && eight && direct);
    EXPECT_EQ(four->Kind, 0);
    EXPECT_EQ(four->Width, 64);
    EXPECT_EQ(eight->Kind, 1);
    EXPECT_EQ(eight->Width, 128);
    EXPECT_EQ(direct->Kind, 2);
    EXPECT_EQ(direct->Width, 256);
    EXPECT_EQ(direct->HasClut, 0);
    EXPECT_TRUE(direct->ClutData.empty());
    for (const auto* record : {four.get(), eight.get(), direct.get()})
        EXPECT_EQ(record->PixelWidth, 256);
}

TEST_F(LoadTextureTest, PaletteOnlyTakesNoImageSpace)
{
    addTexture("a.tga", kFour);
    ctx.state.PaletteOnly = 1;
    const auto record = LoadTexture(ctx, "A");
    EXPECT_EQ(record->Width, 1);
    EXPECT_EQ(record->Height, 0);
    EXPECT_EQ(record->PixelWidth, 1);
    EXPECT_EQ(record->HasClut, 1);
    EXPECT_EQ(record->PaletteOnly, 1);
}

TEST_F(LoadTextureTest, PaletteSetClutShapes)
{
    addTexture("four.tga", kFour);
    addTexture("eight.tga", kEight);
    addPaletteSet("pals", kFour.colours, {{1}, {2}, {3}, {4}});
    ctx.state.PaletteDir = "PALS";
    ctx.state.PaletteCount = 4;
    ctx.state.RemapMode = 1; // ACROSS
    const auto across = LoadTexture(ctx, "FOUR");
    const auto eight = LoadTexture(ctx, "EIGHT");
    ctx.state.RemapMode = 2; // DOWN
    const auto down = LoadTexture(ctx, "FOUR");
    struct Shape
    {
        uint16_t width, extraRows;
    };
    const std::pair<const TextureRecord*, Shape> shapes[] = {
        {across.get(), {64, 0}}, {down.get(), {16, 3}}, {eight.get(), {256, 3}}};
    for (const auto& [record, shape] : shapes)
    {
        EXPECT_EQ(record->ClutWidth, shape.width);
        EXPECT_EQ(record->ClutExtraRows, shape.extraRows);
        EXPECT_EQ(record->ClutCopies, 4);
        EXPECT_EQ(record->ClutData.size(), 4u * (record->Kind == 0 ? 16 : 256));
    }
    EXPECT_EQ(across->ClutData[16], 0x8002); // palette 1, own colour 0
}

TEST_F(LoadTextureTest, DuplicatedCluts)
{
    addTexture("four.tga", kFour);
    addTexture("eight.tga", kEight);
    ctx.state.DuplicateCount = 3;
    const auto four = LoadTexture(ctx, "FOUR");
    EXPECT_EQ(four->ClutWidth, 48);
    EXPECT_EQ(four->ClutExtraRows, 0);
    EXPECT_EQ(four->ClutCopies, 3);
    EXPECT_EQ(four->ClutData, repeated(expected::ownClut(kFour), 3));
    // An 8-bit CLUT fills a row: its copies go one per row.
    const auto eight = LoadTexture(ctx, "EIGHT");
    EXPECT_EQ(eight->ClutWidth, 256);
    EXPECT_EQ(eight->ClutExtraRows, 2);
    EXPECT_EQ(eight->ClutCopies, 3);
    EXPECT_EQ(eight->ClutData, repeated(expected::ownClut(kEight), 3));
}

TEST_F(LoadTextureTest, SeparateClutsRefusedFor8BitTextures)
{
    addTexture("four.tga", kFour);
    addTexture("eight.tga", kEight);
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
    addTexture("eight.tga", kEight);
    ctx.state.ClutSize8 = 200;
    AddTexture(ctx, "EIGHT");
    EXPECT_EQ(ctx.state.ClutSize8, 256);
    ASSERT_EQ(ctx.PendingList.size(), 1u);
    const TextureRecord& record = *ctx.PendingList[0];
    EXPECT_EQ(record.TimData, expected::tim(kEight, {.clutSize8 = 200}));
    EXPECT_EQ(record.ClutWidth, 208);
    std::vector<uint16_t> clut = expected::ownClut(kEight, 200);
    clut.resize(208, 0); // never the pixel block that follows the TIM's CLUT
    EXPECT_EQ(record.ClutData, clut);
    ctx.state.ClutSize8 = 20;
    AddTexture(ctx, "MISSING"); // back to 256 also when nothing loads
    EXPECT_EQ(ctx.state.ClutSize8, 256);
}
