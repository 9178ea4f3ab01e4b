#include "VramMap.h"
#include "MapPicture.h"
#include "TexeloWindow.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace
{
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kMagenta(255, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);
const QColor kCyan(0, 255, 255);
const QColor kDarkGreen(0, 128, 0);
const QColor kYellow(255, 255, 0);

struct Placed
{
    TimKind kind;
    uint16_t groupX, groupY, width, height;
};

TextureRecord& add(TextureList& list, Placed placed)
{
    auto record = std::make_unique<TextureRecord>();
    record->Kind = static_cast<uint8_t>(placed.kind);
    record->GroupX = placed.groupX;
    record->GroupY = placed.groupY;
    record->Width = placed.width;
    record->Height = placed.height;
    list.push_back(std::move(record));
    return *list.back();
}

void giveClut(TextureRecord& record, uint16_t x, uint16_t y, uint16_t width, uint16_t extraRows)
{
    record.HasClut = 1;
    record.ClutGroupX = x;
    record.ClutGroupY = y;
    record.ClutWidth = width;
    record.ClutExtraRows = extraRows;
}

// One record of each colour, placed in pages a 1000 x 600 map shows apart.
TextureList knownBank()
{
    TextureList list;
    giveClut(add(list, {TimKind::Indexed4, 64, 256, 64, 256}), 0, 480, 16, 0);   // page (1,1)
    giveClut(add(list, {TimKind::Indexed8, 128, 0, 64, 256}), 256, 496, 256, 1); // page (2,0)
    add(list, {TimKind::Direct16, 192, 0, 64, 256});                             // page (3,0)
    add(list, {TimKind::Indexed4, 256, 0, 64, 256}).Tiled = 1;                   // page (4,0)
    giveClut(add(list, {TimKind::Indexed4, 320, 100, 1, 0}), 640, 500, 64, 0);   // palette only
    return list;
}

QImage paintedMap(const TextureList& list, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawMap(painter, ResizeMap(width, height), list);
    return image;
}

QColor at(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

// Pages of the 1000 x 600 map are 56 x 270 pixels from (50, 30).
int pageLeft(int column)
{
    return 50 + column * 56;
}
int pageTop(int row)
{
    return 30 + row * 270;
}
} // namespace

TEST(VramMap, WindowsColourValuesKeepRedInTheLowByte)
{
    EXPECT_EQ(colourFromColorref(MapColour::kTexture4), kRed);
    EXPECT_EQ(colourFromColorref(MapColour::kClut4), kBlue);
    EXPECT_EQ(colourFromColorref(MapColour::kTexture16), kYellow);
    EXPECT_EQ(colourFromColorref(MapColour::kTexture8), kCyan);
    EXPECT_EQ(colourFromColorref(MapColour::kClut8), kDarkGreen);
    EXPECT_EQ(colourFromColorref(MapColour::kGrid), kMagenta);
    EXPECT_EQ(colourFromColorref(0x123456), QColor(0x56, 0x34, 0x12));
}

TEST(VramMap, PaintsGridTexturesOutlinesAndClutStrips)
{
    const QImage image = paintedMap(knownBank(), 1000, 600);
    // Fills inside the black outlines, by depth.
    EXPECT_EQ(at(image, pageLeft(1) + 28, pageTop(1) + 135), kRed);
    EXPECT_EQ(at(image, pageLeft(2) + 28, pageTop(0) + 135), kCyan);
    EXPECT_EQ(at(image, pageLeft(3) + 28, pageTop(0) + 135), kYellow);
    EXPECT_EQ(at(image, pageLeft(4) + 28, pageTop(0) + 135), kGreen);
    // The outline lies on the texture's own edge pixels, over the grid.
    EXPECT_EQ(at(image, pageLeft(1), pageTop(1) + 135), kBlack);
    EXPECT_EQ(at(image, pageLeft(2) - 1, pageTop(1) + 135), kBlack);
    EXPECT_EQ(at(image, pageLeft(1) + 28, pageTop(1)), kBlack);
    EXPECT_EQ(at(image, pageLeft(1) + 28, 569), kBlack);
    EXPECT_EQ(at(image, pageLeft(1) + 1, pageTop(1) + 1), kRed);
    // CLUT strips: the 4-bit one blue, the 8-bit one dark green, two rows.
    EXPECT_EQ(at(image, 50 + 5, 30 + 480 * 540 / 512), kBlue);
    EXPECT_EQ(at(image, 50 + 256 * 900 / 1024 + 100, 30 + 496 * 540 / 512), kDarkGreen);
    EXPECT_EQ(at(image, 50 + 256 * 900 / 1024 + 100, 30 + 497 * 540 / 512), kDarkGreen);
    EXPECT_EQ(at(image, 50 + 640 * 900 / 1024 + 10, 30 + 500 * 540 / 512), kBlue);
    // The zero-height outline of the palette-only record leaves no mark.
    EXPECT_EQ(at(image, 50 + 320 * 900 / 1024, 30 + 100 * 540 / 512), kWhite);
    // Grid lines, one pixel inside each cell, in untouched pages.
    EXPECT_EQ(at(image, pageLeft(8), pageTop(0) + 100), kMagenta);
    EXPECT_EQ(at(image, pageLeft(9) - 1, pageTop(0) + 100), kMagenta);
    EXPECT_EQ(at(image, pageLeft(8) + 20, pageTop(0)), kMagenta);
    EXPECT_EQ(at(image, pageLeft(8) + 20, pageTop(1) - 1), kMagenta);
    EXPECT_EQ(at(image, pageLeft(8) + 20, pageTop(1)), kMagenta);
    // Untouched: inside empty pages, the 4 columns beyond the grid, the margin.
    EXPECT_EQ(at(image, pageLeft(8) + 20, pageTop(0) + 100), kWhite);
    EXPECT_EQ(at(image, 947, 300), kWhite);
    EXPECT_EQ(at(image, 10, 590), kWhite);
}

TEST(VramMap, TinyImagesPaintWithoutFault)
{
    const TextureList bank = knownBank();
    for (const auto& [w, h] : {std::pair{1, 1}, {5, 3}, {17, 2}, {40, 30}})
    {
        const QImage image = paintedMap(bank, w, h);
        EXPECT_EQ(image.size(), QSize(w, h));
    }
    // 5 x 3: cells are 0 wide, so no grid; the textures shrink to slivers.
    EXPECT_EQ(at(paintedMap({}, 5, 3), 0, 0), kWhite);
}

TEST(TexeloWindow, ShowsMessageLineAndMapOnWhite)
{
    TexeloReporter reporter(stdout, stderr);
    reporter.setMessageLine("Failed to open script file \n");
    const TextureList bank = knownBank();
    TexeloWindow window(reporter, bank, "LEVEL.FIT /c");
    EXPECT_EQ(window.objectName(), "PSX Texture Converter and VRAM Organiser");
    EXPECT_EQ(window.windowTitle(), "LEVEL.FIT /c");
    EXPECT_GE(window.width(), 320);
    window.resize(1000, 600);

    const QImage image = window.grab().toImage(); // delivers the pending resize first
    EXPECT_EQ(window.mapGeometry().MapRight, 950);
    ASSERT_EQ(image.size(), QSize(1000, 600));
    EXPECT_EQ(at(image, pageLeft(1) + 28, pageTop(1) + 135), kRed);
    EXPECT_EQ(at(image, pageLeft(8), pageTop(0) + 100), kMagenta);
    EXPECT_EQ(at(image, 990, 590), kWhite);
    // The text starts at the top-left corner: dark pixels in its first line,
    // none below it.
    int darkInLine = 0;
    int darkBelow = 0;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 300; ++x)
            if (image.pixelColor(x, y).lightness() < 128)
                ++(y < 20 ? darkInLine : darkBelow);
    EXPECT_GT(darkInLine, 20);
    EXPECT_EQ(darkBelow, 0);
    EXPECT_EQ(at(image, 0, 0), kWhite);
}

TEST(MapPicture, OnePixelPerVramWordBelowTheMessageLine)
{
    const QFont font = QGuiApplication::font();
    const int top = QFontMetrics(font).height();
    const QImage picture = drawMapPicture("Tiled texture at 32, 0.", knownBank(), font);
    ASSERT_EQ(picture.size(), QSize(1024, top + 512));
    // VRAM (x, y) is the pixel (x, top + y): the same drawing as the window's,
    // at a scale of one.
    EXPECT_EQ(at(picture, 64 + 32, top + 256 + 128), kRed);
    EXPECT_EQ(at(picture, 64, top + 256 + 128), kBlack);
    EXPECT_EQ(at(picture, 127, top + 256 + 128), kBlack);
    EXPECT_EQ(at(picture, 128 + 32, top + 128), kCyan);
    EXPECT_EQ(at(picture, 192 + 32, top + 128), kYellow);
    EXPECT_EQ(at(picture, 256 + 32, top + 128), kGreen);
    EXPECT_EQ(at(picture, 15, top + 480), kBlue);
    EXPECT_EQ(at(picture, 16, top + 480), kWhite);
    EXPECT_EQ(at(picture, 256 + 200, top + 497), kDarkGreen);
    EXPECT_EQ(at(picture, 256 + 200, top + 498), kWhite);
    // Grid: pages are 64 x 256 words, framed on their inside edges.
    EXPECT_EQ(at(picture, 512, top + 100), kMagenta);
    EXPECT_EQ(at(picture, 575, top + 100), kMagenta);
    EXPECT_EQ(at(picture, 540, top), kMagenta);
    EXPECT_EQ(at(picture, 540, top + 511), kMagenta);
    EXPECT_EQ(at(picture, 540, top + 100), kWhite);
    int dark = 0;
    for (int y = 0; y < top; ++y)
        for (int x = 0; x < 300; ++x)
            dark += picture.pixelColor(x, y).lightness() < 128;
    EXPECT_GT(dark, 20);
}
