// The VRAM map as a viewer, on banks a real run made: what hovering names,
// the texels the T view shows, and the keys and the wheel that switch and
// zoom the window.

#include "CapturingReporter.h"
#include "MapHover.h"
#include "MapPicture.h"
#include "TempFolder.h"
#include "TexeloWindow.h"
#include "TgaWriter.h"
#include "script/ScriptDriver.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <gtest/gtest.h>

namespace
{

tgawriter::Rgba rgb5(int r, int g, int b)
{
    return {static_cast<uint8_t>(r * 8), static_cast<uint8_t>(g * 8), static_cast<uint8_t>(b * 8), 0};
}

// FOUR and TWIN: 4 x 2 texels in black (transparent), red, green, blue,
// then white, red, green, blue; EIGHT: 17 x 1 in 17 reds; DIRECT: 17 x 16
// in 272 colours.
struct ShownRun
{
    explicit ShownRun(const std::string& script)
    {
        const auto write = [&](const std::string& name, int width, int height, const auto& colourAt)
        {
            std::vector<tgawriter::Rgba> pixels;
            for (int i = 0; i < width * height; ++i)
                pixels.push_back(colourAt(i));
            folder.write(name, tgawriter::encodeTga(tgawriter::fromColours(width, height, pixels, 24)));
        };
        const tgawriter::Rgba four[] = {rgb5(0, 0, 0),    rgb5(31, 0, 0), rgb5(0, 31, 0), rgb5(0, 0, 31),
                                        rgb5(31, 31, 31), rgb5(31, 0, 0), rgb5(0, 31, 0), rgb5(0, 0, 31)};
        write("four.tga", 4, 2, [&](int i) { return four[i]; });
        write("twin.tga", 4, 2, [&](int i) { return four[i]; });
        write("eight.tga", 17, 1, [](int i) { return rgb5(i + 1, 0, 0); });
        write("direct.tga", 17, 16, [](int i) { return rgb5(i % 32, i / 32, 5); });
        folder.write("job.fit", script);
        RunScript(ctx, "job.fit");
    }
    TempFolder folder;
    WorkingFolder working{folder.path()};
    CapturingReporter reporter;
    TexeloContext ctx{reporter};
    ShownBank shown = shownBankOf(ctx);
};

// Placed at FOUR 27,0 (CLUT 0,17), EIGHT 0,0 (CLUT 0,16), DIRECT 10,0.
const char* const kMixedBank = "FOUR\nEIGHT\nDIRECT\nFIT: BANK\n";

QRgb pixel(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

} // namespace

// The picture's message line is its text at the top left, the bank's name
// is at the left of the strip under the map, centred in it: each in the
// font asked for, black on white, as that text drawn alone.
TEST(Viewer, ThePictureCarriesTheMessageLineAndTheBanksName)
{
    const ShownRun run(kMixedBank);
    QFont font = QGuiApplication::font();
    font.setPixelSize(13);
    const QImage picture =
        drawMapPicture("Saving Textures...", run.shown, font).convertToFormat(QImage::Format_RGB32);
    const int lineHeight = QFontMetrics(font).height(), stripTop = lineHeight + 512;
    const auto alone = [&](const QString& text, int height, Qt::Alignment vertical)
    {
        QImage image(300, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(image.rect(), Qt::AlignLeft | vertical, text);
        return image;
    };
    EXPECT_EQ(picture.copy(0, 0, 300, lineHeight), alone("Saving Textures...", lineHeight, Qt::AlignTop));
    const int stripHeight = picture.height() - stripTop;
    EXPECT_EQ(picture.copy(0, stripTop, 300, stripHeight), alone("bank BANK", stripHeight, Qt::AlignVCenter));
    EXPECT_NE(picture.copy(0, stripTop, 300, stripHeight), alone("bank BANL", stripHeight, Qt::AlignVCenter));
}

TEST(Viewer, HoverNamesTheTextureOrTheUsersOfTheClutUnderAVramWord)
{
    const ShownRun mixed(kMixedBank);
    const ShownRun separate("SEPERATE: ON\nFOUR\nTWIN\nFIT: SEPARATE\n");
    const std::string four = "FOUR\nsource: four.tga\ndepth: 4-bit\nsize: 1 x 2 words, 4 x 2 texels\nVRAM: ";
    // clang-format off
    const std::tuple<const ShownRun&, VramPoint, std::string> cases[] = {
        {mixed, {27, 0}, four + "27,0\nCLUT: 0,17"}, {mixed, {27, 1}, four + "27,0\nCLUT: 0,17"},
        {mixed, {28, 0}, ""}, {mixed, {27, 2}, ""},
        {mixed, {8, 0}, "EIGHT\nsource: eight.tga\ndepth: 8-bit\nsize: 9 x 1 words, 18 x 1 texels\nVRAM: 0,0\nCLUT: 0,16"},
        {mixed, {26, 15}, "DIRECT\nsource: direct.tga\ndepth: 16-bit\nsize: 17 x 16 words, 17 x 16 texels\nVRAM: 10,0\nCLUT: none"},
        {mixed, {255, 16}, "CLUT 256 x 1 at 0,16\nused by: EIGHT"}, {mixed, {15, 17}, "CLUT 16 x 1 at 0,17\nused by: FOUR"},
        {mixed, {16, 17}, ""}, {mixed, {-1, 0}, ""}, {mixed, {5000, 90000}, ""},
        {separate, {0, 1}, four + "0,0\nCLUT: 960,256"},
        {separate, {975, 256}, "CLUT 16 x 1 at 960,256\nused by: FOUR, TWIN"}, {separate, {0, 16}, ""},
    };
    // clang-format on
    for (const auto& [run, point, text] : cases)
        EXPECT_EQ(hoverText(run.shown, point), text) << point.x << "," << point.y;

    // A 1000 x 600 window fits the map into 900 x 540 pixels from 50,30.
    const MapGeometry fitted = ResizeMap(1000, 600);
    const std::pair<QPoint, std::optional<VramPoint>> points[] = {
        {{50, 30}, VramPoint{1, 0}}, {{73, 30}, VramPoint{27, 0}}, {{949, 569}, VramPoint{1023, 511}},
        {{49, 30}, std::nullopt},    {{950, 30}, std::nullopt},    {{50, 570}, std::nullopt}};
    for (const auto& [client, point] : points)
        EXPECT_EQ(vramPointAt(fitted, client.x(), client.y()), point) << client.x() << "," << client.y();
}

// At 8 pixels a word from VRAM 0,0: a 4-bit texel is 2 pixels wide, an
// 8-bit one 4, a 16-bit one 8, each 8 lines tall, CLUT entries 8 wide.
TEST(Viewer, TexelsShowTheirClutColoursOverACheckerboardWhereTransparent)
{
    const ShownRun mixed(kMixedBank);
    QImage image(240, 144, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawTexelMap(painter, zoomedMap({}, {5, 0, 0}), mixed.shown);
    painter.end();
    const QRgb light = 0xE0E0E0, dark = 0xA0A0A0;
    const std::tuple<int, int, QRgb> cases[] = {
        {216, 0, dark},       {217, 7, dark},     {218, 0, 0xFF0000},  {220, 0, 0x00FF00},
        {222, 7, 0x0000FF},   {216, 8, 0xFFFFFF}, {223, 15, 0x0000FF}, {0, 0, 0x080000},
        {64, 0, 0x8C0000},    {68, 0, 0x080000},  {80, 0, 0x000029},   {208, 120, 0x7B4229},
        {215, 127, 0x7B4229}, {0, 128, 0x080000}, {8, 128, 0x100000},  {136, 128, dark},
        {0, 136, dark},       {8, 136, 0xFF0000}, {32, 136, 0xFFFFFF}, {40, 136, light},
        {236, 60, 0xFFFFFF},  {0, 60, 0xFF00FF},
    };
    for (const auto& [x, y, colour] : cases)
        EXPECT_EQ(pixel(image, x, y), colour) << x << "," << y;
}

TEST(Viewer, KeysAndTheWheelSwitchAndZoomTheMap)
{
    const ShownRun mixed(kMixedBank);
    TexeloWindow window(mixed.reporter, mixed.shown, "job.fit");
    window.resize(1000, 600);
    window.show();
    QHelpEvent hover(QEvent::ToolTip, {73, 30}, window.mapToGlobal(QPoint(73, 30)));
    QApplication::sendEvent(&window, &hover);
    EXPECT_EQ(
        QToolTip::text().toStdString(),
        "FOUR\nsource: four.tga\ndepth: 4-bit\nsize: 1 x 2 words, 4 x 2 texels\nVRAM: 27,0\nCLUT: 0,17");

    // Keys zoom about the middle of the window, 499,299: VRAM 510.9,255.1.
    const std::tuple<int, MapZoom, MapMode> cases[] = {
        {Qt::Key_T, {}, MapMode::Texels},
        {Qt::Key_Minus, {}, MapMode::Texels},
        {Qt::Key_Plus, {1, -523, -211}, MapMode::Texels}, // 1 pixel a word would shrink the 540 lines
        {Qt::Key_Equal, {2, -1034, -466}, MapMode::Texels},
        {Qt::Key_Minus, {1, -523, -211}, MapMode::Texels},
        {Qt::Key_T, {1, -523, -211}, MapMode::Rectangles},
        {Qt::Key_0, {}, MapMode::Rectangles},
    };
    for (const auto& [key, zoom, mode] : cases)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&window, &press);
        EXPECT_EQ(window.view().zoom, zoom) << key;
        EXPECT_EQ(window.view().mode, mode) << key;
    }
    // Three notches at 73,30 (VRAM 26.2,0) keep that point under the mouse
    // at 4 pixels a word; twenty more stop at the last step, 32.
    for (const auto& [notches, zoom] : {std::pair{3, MapZoom{3, -32, 30}}, {20, MapZoom{9, -767, 30}}})
    {
        QWheelEvent wheel({73, 30}, window.mapToGlobal(QPoint(73, 30)), {}, {0, 120 * notches}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&window, &wheel);
        EXPECT_EQ(window.view().zoom, zoom) << notches;
    }
    // A drag moves the map with the mouse: 10 right, 5 up.
    const QPointF from(100, 100), to(110, 95);
    QMouseEvent press(QEvent::MouseButtonPress, from, window.mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                      {});
    QMouseEvent move(QEvent::MouseMove, to, window.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    for (QMouseEvent* event : {&press, &move})
        QApplication::sendEvent(&window, event);
    EXPECT_EQ(window.view().zoom, (MapZoom{9, -757, 25}));
    window.close();
}
