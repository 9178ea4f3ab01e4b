// make_samples OUTDIR: writes the sample inputs of every tool below OUTDIR.
//
// The samples are built by our own writers so that their content is known
// exactly and can be regenerated at any time; the output is deterministic.
// One function per tool; each writes into its own subfolder.
#include "MdfWriter.h"
#include "TgaWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace
{

namespace fs = std::filesystem;
using namespace mdfwriter;

// The screen is 320 x 240, y downwards. Quads are given in the order
// top-left, top-right, bottom-left, bottom-right.
std::array<Vertex, 4> quad(int16_t x, int16_t y, int16_t w, int16_t h)
{
    const auto right = static_cast<int16_t>(x + w);
    const auto bottom = static_cast<int16_t>(y + h);
    return {{{x, y}, {right, y}, {x, bottom}, {right, bottom}}};
}

Prim flat(int16_t x, int16_t y, int16_t w, int16_t h, Colour colour, uint8_t mode = 0)
{
    Prim prim{.type = kPrimF4, .mode = mode};
    prim.vertices = quad(x, y, w, h);
    prim.colours[0] = colour;
    return prim;
}

Prim shaded(int16_t x, int16_t y, int16_t w, int16_t h, std::array<Colour, 4> colours, uint8_t mode = 0)
{
    Prim prim{.type = kPrimG4, .mode = mode};
    prim.vertices = quad(x, y, w, h);
    prim.colours = colours;
    return prim;
}

Prim textured(uint16_t textureId, int16_t x, int16_t y, int16_t w, int16_t h, Colour colour, uint8_t mode = 0)
{
    Prim prim{.type = kPrimFT4, .mode = mode, .textureId = textureId};
    prim.vertices = quad(x, y, w, h);
    prim.colours[0] = colour;
    return prim;
}

Prim texturedShaded(uint16_t textureId, int16_t x, int16_t y, int16_t w, int16_t h,
                    std::array<Colour, 4> colours, uint8_t mode = 0)
{
    Prim prim{.type = kPrimGT4, .mode = mode, .textureId = textureId};
    prim.vertices = quad(x, y, w, h);
    prim.colours = colours;
    return prim;
}

constexpr Colour kNeutral{128, 128, 128};
constexpr Colour kNavy{16, 24, 64};
constexpr Colour kHighlight{255, 224, 96};
constexpr Colour kShadow{0, 0, 0, 0x80};

// A title screen: a menu of three buttons, a volume slider, a cursor and a
// help panel that has no graphics yet. Texture ids 0-6 are all used; 6 lies
// outside the range the converter maps, so it loses its texture.
Layout lumarcSampleLayout()
{
    Gadget mainMenu{
        .name = "MainMenu",
        .rects = {{{40, 60, 280, 200}}},
        .hotspots = {},
        .primLists = {{.offsetX = 0,
                       .offsetY = 0,
                       .prims = {flat(0, 0, 320, 240, kNavy),
                                 shaded(40, 60, 240, 140,
                                        {{{40, 60, 160}, {40, 60, 160}, {8, 12, 48}, {8, 12, 48}}})}}},
        .options = 1,
    };

    Prim bannerGlow =
        texturedShaded(2, 0, 34, 200, 6, {{{255, 255, 255}, {255, 255, 255}, {64, 64, 64}, {64, 64, 64}}}, 1);
    bannerGlow.textureAux = 0x0010;
    Gadget titleBanner{
        .name = "TitleBanner",
        .rects = {{{60, 16, 260, 56}}},
        .hotspots = {},
        .primLists = {{.offsetX = 60,
                       .offsetY = 16,
                       .prims = {textured(1, 0, 0, 200, 32, kNeutral, 2), bannerGlow}}},
        .options = 0,
    };

    Gadget startButton{
        .name = "StartButton",
        .rects = {{{100, 80, 220, 104}}},
        .hotspots = {{{.posX = 60, .posY = 12, .flags = 0x05, .code = 1}}},
        .primLists = {{.offsetX = 100,
                       .offsetY = 80,
                       .prims = {textured(3, 0, 0, 120, 24, kNeutral), flat(-2, -2, 124, 2, kHighlight, 1)}}},
        .options = 1,
    };

    Gadget optionsButton{
        .name = "OptionsButton",
        .rects = {{{100, 112, 220, 136}}},
        .hotspots = {{{.posX = 60, .posY = 12, .flags = 0x0A, .code = 2, .auxX = 4, .auxY = -4}}},
        .primLists = {{.offsetX = 100,
                       .offsetY = 112,
                       .prims = {texturedShaded(
                           4, 0, 0, 120, 24,
                           {{{160, 160, 160}, {160, 160, 160}, {96, 96, 96}, {96, 96, 96}}})}}},
        .options = 1,
    };

    Gadget quitButton{
        .name = "QuitButton",
        .rects = {{{100, 144, 220, 168}}},
        // Bits 4-7 of the flags byte carry nothing; readers must mask them.
        .hotspots = {{{.posX = 60, .posY = 12, .flags = 0xF3, .code = 3}}},
        .primLists = {{.offsetX = 100,
                       .offsetY = 144,
                       .prims = {shaded(4, 4, 120, 24, {{kShadow, kShadow, kShadow, kShadow}}, 3),
                                 textured(5, 0, 0, 120, 24, kNeutral)}}},
        .options = 1,
    };

    // The second list is an alternative knob look; only a gadget's first list
    // is converted, so it exercises the lists a converter passes over.
    Gadget volumeSlider{
        .name = "VolumeSlider",
        .rects = {{{80, 176, 240, 184}}, {{80, 172, 240, 188, {1, 2, 3, 4}}}},
        .hotspots = {{{.posX = -8, .posY = 4, .flags = 0x04, .code = 4},
                      {.posX = 168, .posY = 4, .flags = 0x08, .code = 5}},
                     {{.posX = 80, .posY = 4, .flags = 0x0F, .code = 6}}},
        .primLists = {{.offsetX = 80,
                       .offsetY = 176,
                       .prims = {flat(0, 2, 160, 4, {200, 200, 200}), textured(6, 72, -4, 16, 16, kNeutral)}},
                      {.offsetX = 80,
                       .offsetY = 176,
                       .prims = {texturedShaded(
                           0, 72, -4, 16, 16, {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}})}}},
        // Only bit 0 of the option word means anything; this one has it clear.
        .options = 0x00000002,
    };

    Prim pointer = textured(0, 0, 0, 16, 16, {255, 255, 255, 0x7F}, 0x0A);
    pointer.cornerBits = 0xE4;
    pointer.aux = 0x11;
    pointer.textureAux = 0x0042;
    Gadget cursor{
        .name = "Cursor",
        .rects = {},
        .hotspots = {{{.posX = 8, .posY = 8, .flags = 0x01, .code = 0}}},
        .primLists = {{.offsetX = -8, .offsetY = -8, .prims = {pointer}}},
        .options = 0xFFFFFFFF,
    };

    Gadget helpPanel{
        .name = "HelpPanel",
        .rects = {{}},
        .hotspots = {},
        .primLists = {{.offsetX = 20, .offsetY = 210, .prims = {}, .terminator = 0x000000FF}},
        .options = std::nullopt,
    };

    // A chunk no reader class knows: readers pass over it by its size.
    Bytes unknownBody;
    put32(unknownBody, 3);
    for (uint16_t value : {0x0100, 0x0200, 0x0300, 0x0040, 0x0080, 0x00C0})
        put16(unknownBody, value);

    return Layout{
        .gadgets = {mainMenu, titleBanner, startButton, optionsButton, quitButton, volumeSlider, cursor,
                    helpPanel},
        .strings1 = {"Start Game", "Options", "Quit", "Volume", "Press X to select"},
        .fonts = {{{8, 8}, {8, 10}, {6, 8}, {10, 12}}, {{16, 16}, {12, 16}}},
        .extraRootChunks = {{std::string(tag::kUnknownVpbi), unknownBody}},
    };
}

bool writeSample(const fs::path& path, const Bytes& bytes)
{
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error || !writeFile(path.string(), bytes))
    {
        std::fprintf(stderr, "make_samples: cannot write %s\n", path.string().c_str());
        return false;
    }
    std::printf("%s: %zu bytes\n", path.string().c_str(), bytes.size());
    return true;
}

bool makeLumarcSamples(const fs::path& outDir)
{
    return writeSample(outDir / "lumarc" / "sample.mdf", mdfFile(lumarcSampleLayout()));
}

// --- Texelo ---------------------------------------------------------------
//
// A one-bank level: a layout script and the textures it places. The textures
// are simple recognisable pictures whose colour counts choose the depth the
// converter gives them: up to 16 colours 4 bits, up to 256 colours 8 bits,
// more 16 bits. Their Targa forms vary (colour-mapped with 16- and 24-bit
// entries, 16-, 24- and 32-bit direct, bottom-up and top-down, run-length).

using tgawriter::Rgba;

constexpr Rgba kClear{0, 0, 0, 0}; // black: the converter's transparent texel

// The colours of a width x height picture, top row first.
std::vector<Rgba> paint(int width, int height, Rgba (*colourAt)(int x, int y))
{
    std::vector<Rgba> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(colourAt(x, y));
    return pixels;
}

// The colour-map indices of a width x height picture, top row first.
std::vector<uint8_t> paintIndices(int width, int height, uint8_t (*indexAt)(int x, int y))
{
    std::vector<uint8_t> indices;
    indices.reserve(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            indices.push_back(indexAt(x, y));
    return indices;
}

// A direct-colour Targa file of `depth` bits per pixel.
tgawriter::Bytes directTexture(int width, int height, Rgba (*colourAt)(int x, int y), uint8_t depth)
{
    return tgawriter::encodeTga(tgawriter::fromColours(width, height, paint(width, height, colourAt), depth));
}

// The squared distance of a pixel's centre from the centre of a side x side
// picture, times 4 so that it stays an integer.
int squaredDistance4(int x, int y, int side)
{
    const int dx = 2 * x + 1 - side;
    const int dy = 2 * y + 1 - side;
    return dx * dx + dy * dy;
}

uint8_t channel(int value)
{
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

// 32 x 32 checkerboard of 8-pixel squares in a one-pixel frame: 3 colours.
uint8_t checkerIndex(int x, int y)
{
    if (x == 0 || y == 0 || x == 31 || y == 31)
        return 2;
    return static_cast<uint8_t>((x / 8 + y / 8) % 2);
}

// The checkerboard's three greys; the .fit level's plaid and stripes use
// them too, so that the three share one CLUT.
const std::vector<Rgba> kGreys = {{200, 200, 200, 255}, {72, 72, 72, 255}, {24, 24, 120, 255}};

// Stored colour-mapped. `red` gives the same picture in reds: the
// alternative palette that a palette-only entry takes.
tgawriter::Bytes checkerTexture(bool red)
{
    const std::vector<Rgba>& greys = kGreys;
    const std::vector<Rgba> reds = {{240, 96, 96, 255}, {120, 16, 16, 255}, {48, 0, 0, 255}};
    return tgawriter::encodeTga(
        tgawriter::indexedImage(32, 32, paintIndices(32, 32, checkerIndex), red ? reds : greys));
}

// 32 x 32 brick wall, bricks 16 x 8 in staggered rows with grey mortar: 4
// colours, stored as 16-bit direct colour.
Rgba bricksColour(int x, int y)
{
    const int row = y / 8;
    const int shiftedX = x + (row % 2) * 8;
    if (y % 8 == 7 || shiftedX % 16 == 15)
        return {160, 160, 152, 255};
    const int brick = (shiftedX / 16 + row) % 3;
    return {channel(176 + 24 * brick), channel(64 + 8 * brick), 40, 255};
}

// 16 x 16 diamond of 8 blue bands on transparent black: 9 colours, 24-bit.
Rgba gemColour(int x, int y)
{
    const int band = (std::abs(2 * x - 15) + std::abs(2 * y - 15)) / 2;
    if (band > 8)
        return kClear;
    return {channel(32 * band - 32), channel(64 + 24 * band), 255, 255};
}

// 32 x 32 evening sky from deep blue to orange with a yellow sun: one colour
// per line plus the sun, 33 in all, so 8 bits. 24-bit, stored top-down.
Rgba sunsetColour(int x, int y)
{
    const int dx = x - 16;
    const int dy = y - 22;
    if (dx * dx + dy * dy < 36)
        return {255, 240, 96, 255};
    return {channel(16 + 7 * y), channel(8 + 4 * y), channel(160 - 4 * y), 255};
}

tgawriter::Bytes sunsetTexture()
{
    tgawriter::TgaImage image = tgawriter::fromColours(32, 32, paint(32, 32, sunsetColour), 24);
    image.topDown = true;
    return tgawriter::encodeTga(image);
}

// 32 x 32 wood grain: rings round a point off the picture's corner through
// 48 shades of brown, colour-mapped with 16-bit entries; 37 colours survive
// the 5-bit channels, so 8 bits.
uint8_t woodIndex(int x, int y)
{
    const int dx = x + 20;
    const int dy = y + 6;
    return static_cast<uint8_t>((dx * dx + dy * dy) / 24 % 48);
}

tgawriter::Bytes woodTexture()
{
    std::vector<Rgba> browns;
    for (int i = 0; i < 48; ++i)
        browns.push_back({channel(60 + 4 * i), channel(30 + 3 * i), channel(10 + 2 * i), 255});
    return tgawriter::encodeTga(tgawriter::indexedImage(32, 32, paintIndices(32, 32, woodIndex), browns, 16));
}

// 16 x 32 plasma: red across, green down, every pixel its own colour (512),
// so 16 bits. 24-bit.
Rgba plasmaColour(int x, int y)
{
    return {channel(16 * x + 8), channel(8 * y), channel(128 + 4 * ((x * y) % 32)), 255};
}

// 32 x 32 golden halo with an alpha channel: the ring is opaque, its soft
// outer edge has colour but no alpha (the converter marks such texels
// semi-transparent), the rest is clear. 32-bit.
Rgba haloColour(int x, int y)
{
    const int d = squaredDistance4(x, y, 32);
    if (d >= 4 * 100 && d < 4 * 144)
        return {255, 208, 64, 255};
    if (d >= 4 * 144 && d < 4 * 196)
        return {255, 160, 32, 255};
    if (d >= 4 * 196 && d < 4 * 256)
        return {255, 128, 0, 0};
    return kClear;
}

// 32 x 32 iron grate: bars 3 pixels wide every 8, lighter where they cross,
// over transparent holes. 24-bit.
Rgba grateColour(int x, int y)
{
    const bool barX = x % 8 < 3;
    const bool barY = y % 8 < 3;
    if (barX && barY)
        return {168, 168, 176, 255};
    if (barX || barY)
        return {96, 96, 104, 255};
    return kClear;
}

// 64 x 64 target: red and white rings round a blue bull's-eye on transparent
// black, colour-mapped and run-length encoded (the rings give long runs).
uint8_t targetIndex(int x, int y)
{
    const int d = squaredDistance4(x, y, 64);
    if (d < 4 * 36)
        return 3;
    if (d >= 4 * 1024)
        return 0;
    int ring = 0;
    while ((ring + 1) * (ring + 1) * 4 * 36 <= d)
        ++ring;
    return static_cast<uint8_t>(1 + ring % 2);
}

tgawriter::Bytes targetTexture()
{
    const std::vector<Rgba> palette = {kClear, {224, 32, 32, 255}, {248, 248, 248, 255}, {32, 64, 224, 255}};
    tgawriter::TgaImage image = tgawriter::indexedImage(64, 64, paintIndices(64, 64, targetIndex), palette);
    image.rle = true;
    return tgawriter::encodeTga(image);
}

// 16 x 64 sky strip: red across, blue down in 32 steps, 512 colours, so 16
// bits. Stored as 16-bit direct colour.
Rgba skyColour(int x, int y)
{
    return {channel(16 * x), channel(96 + y), channel(4 * y), 255};
}

// --- the .fit level: pictures that share a CLUT, and wide backdrops ---

// 32 x 32 plaid: dark lines every 8 pixels on light grey, framed.
uint8_t plaidIndex(int x, int y)
{
    if (x == 0 || y == 0 || x == 31 || y == 31)
        return 2;
    return static_cast<uint8_t>(x % 8 < 2 || y % 8 < 2 ? 1 : 0);
}

// 32 x 16 diagonal stripes of the three greys.
uint8_t stripesIndex(int x, int y)
{
    return static_cast<uint8_t>((x + y) / 4 % 3);
}

tgawriter::Bytes greysTexture(int width, int height, uint8_t (*indexAt)(int x, int y))
{
    return tgawriter::encodeTga(tgawriter::indexedImage(width, height, paintIndices(width, height, indexAt), kGreys));
}

// The wide backdrops: 256 x 200, a colour for every 16-pixel step across
// and every line down (3,200 colours, so 16 bits), run-length encoded
// 16-bit direct colour. Each is one 256-word texture, four page columns.
constexpr int kBackdropWidth = 256;
constexpr int kBackdropHeight = 200;

Rgba cliffColour(int x, int y)
{
    return {channel(96 + 8 * (y % 16)), channel(64 + 8 * (x / 16)), channel(8 * (y / 16)), 255};
}

Rgba dunesColour(int x, int y)
{
    return {channel(128 + 8 * (x / 16)), channel(96 + 8 * (y % 16)), channel(16 + 8 * (y / 16)), 255};
}

Rgba oceanColour(int x, int y)
{
    return {channel(8 * (y / 16)), channel(32 + 8 * (x / 16)), channel(128 + 8 * (y % 16)), 255};
}

Rgba lavaColour(int x, int y)
{
    return {channel(128 + 8 * (y % 16)), channel(8 * (y / 16)), channel(8 * (x / 16)), 255};
}

tgawriter::Bytes backdropTexture(Rgba (*colourAt)(int x, int y))
{
    tgawriter::TgaImage image =
        tgawriter::fromColours(kBackdropWidth, kBackdropHeight, paint(kBackdropWidth, kBackdropHeight, colourAt), 16);
    image.rle = true;
    return tgawriter::encodeTga(image);
}

// --- the backdrop script: two 640 x 512 pictures at 4 bits ---

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 512;
constexpr int kScreenColours = 16;

int triangleWave(int x, int period, int height)
{
    const int phase = x % period;
    return (phase < period / 2 ? phase : period - phase) * 2 * height / period;
}

// The title picture uses all 16 grey levels, each grey (level x 17) being its
// level's place in ascending colour order: 0 the ground, 1 the hills, 2-13
// the sky brightening downwards, 14 the sun's glow, 15 the sun.
uint8_t titleLevel(int x, int y)
{
    const int dx = x - 470;
    const int dy = y - 150;
    const int sun = dx * dx + dy * dy;
    if (sun < 50 * 50)
        return 15;
    if (sun < 64 * 64)
        return 14;
    if (y >= 440 + triangleWave(x + 40, 90, 30))
        return 0;
    if (y >= 330 + triangleWave(x, 220, 50))
        return 1;
    return static_cast<uint8_t>(2 + std::min(y / 32, 11));
}

Rgba titleColour(int x, int y)
{
    const auto grey = static_cast<uint8_t>(titleLevel(x, y) * 17);
    return {grey, grey, grey, 0};
}

tgawriter::Bytes titlePicture()
{
    tgawriter::TgaImage image = tgawriter::fromColours(kScreenWidth, kScreenHeight,
                                                       paint(kScreenWidth, kScreenHeight, titleColour), 24);
    image.rle = true;
    return tgawriter::encodeTga(image);
}

// A palette picture: 16 colours in a row. Blue rises strictly with the
// level, so the colours sort in level order and replace the greys one for
// one.
tgawriter::Bytes titlePalettePicture(bool night)
{
    std::vector<Rgba> colours;
    for (int level = 0; level < kScreenColours; ++level)
        colours.push_back(
            night ? Rgba{channel(4 * level), channel(6 * level), channel(16 * level + 8), 0}
                  : Rgba{channel(60 + 13 * level), channel(16 + 9 * level), channel(16 * level), 0});
    return tgawriter::encodeTga(tgawriter::fromColours(kScreenColours, 1, colours, 24));
}

// The three ACT palettes of the starfield: night blue, alert red and nebula
// green; indices 0-5 the sky, 6-9 the planet, 10-15 the stars.
tgawriter::Rgba starsColour(int palette, int index)
{
    const int dim = 8 * index;
    const int bright = 40 + 13 * index;
    switch (palette)
    {
    case 0:
        return {channel(dim / 2), channel(dim), channel(bright), 0};
    case 1:
        return {channel(bright), channel(dim / 2), channel(dim / 3), 0};
    default:
        return {channel(dim / 2), channel(bright), channel(dim), 0};
    }
}

// An ACT file: 256 triplets R, G, B; the colours after the 16th are black.
Bytes actFile(int palette)
{
    Bytes bytes(256 * 3, 0);
    for (int i = 0; i < kScreenColours; ++i)
    {
        const Rgba colour = starsColour(palette, i);
        bytes[3 * i] = colour.r;
        bytes[3 * i + 1] = colour.g;
        bytes[3 * i + 2] = colour.b;
    }
    return bytes;
}

// Sky bands 0-5 down the screen, a shaded planet 6-9, and a field of stars
// 10-15 placed by a fixed pseudo-random sequence.
uint8_t starsIndex(int x, int y)
{
    const int dx = x - 180;
    const int dy = y - 330;
    const int planet = dx * dx + dy * dy;
    if (planet < 110 * 110)
        return static_cast<uint8_t>(6 + std::min(3, (x - 180 + 110 + (y - 330 + 110)) / 110));
    const uint32_t hash = (static_cast<uint32_t>(x) * 73856093u) ^ (static_cast<uint32_t>(y) * 19349663u);
    if ((hash * 2654435761u) >> 22 < 6)
        return static_cast<uint8_t>(10 + (hash >> 3) % 6);
    return static_cast<uint8_t>(y / 86);
}

tgawriter::Bytes starsPicture()
{
    std::vector<Rgba> map;
    for (int i = 0; i < kScreenColours; ++i)
        map.push_back(starsColour(0, i));
    tgawriter::TgaImage image = tgawriter::indexedImage(
        kScreenWidth, kScreenHeight, paintIndices(kScreenWidth, kScreenHeight, starsIndex), map);
    image.rle = true;
    return tgawriter::encodeTga(image);
}

// The layout script. Cell lines name a 64 x 64 cell of the first texture
// pages (a-p the first page row by row, q onwards the next page) and list
// "name x y w h" entries, x in 4-bit pixels within the cell. The names keep
// their letter case; the files are found whatever case they have on disk.
// The texture folder is relative to the folder the program runs in, which is
// also where the bank is written: build/sample-output of the repository.
constexpr const char* kLevel1Script =
    "# Level 1: one texture bank, written as LEVEL1.TBK into the working folder.\n"
    "# Run from build/sample-output:  texelo ../../samples/texelo/level1.txt /c\n"
    "PATH:..\\..\\samples\\texelo\\textures\\\n"
    "\n"
    "; Cell a: a checkerboard with an alternative red palette (palette only),\n"
    "; and a brick wall beside it.\n"
    "a CHECKER 0 0 32 32 &checkred 0 0 32 32 bricks 32 0 32 32\n"
    "; The gem's CLUT starts a fresh CLUT row. NULL keeps a texture number free.\n"
    "RESTART\n"
    "a Gem.TGA 0 32 16 16 NULL 16 32 16 16\n"
    "* Cell b: two 8-bit textures, each with a whole CLUT row of its own.\n"
    "b SUNSET 0 0 32 32 wood 0 32 32 32\n"
    "# Cell e: a 16-bit texture (no CLUT), a halo drawn semi-transparent (?),\n"
    "# and a grate with transparent holes (*).\n"
    "e plasma 0 0 16 32 ?halo 0 32 32 32 *GRATE 32 32 32 32\n"
    "# Cells q and r are in the second texture page.\n"
    "q TARGET 0 0 64 64\n"
    "r SKY.tga 0 0 16 64\n"
    "FIT:LEVEL1\n";

// The .fit script: Texelo sorts the textures and places them itself. The
// four backdrops each need a group of four page columns; with the group of
// the other textures they are more than the top band holds, so the last
// one goes to the bottom band. The checkerboard, the plaid and the stripes
// share one CLUT.
constexpr const char* kLevel2Script =
    "# Level 2: a bank Texelo places by itself, written as LEVEL2.TBK into the\n"
    "# working folder. Run from build/sample-output:\n"
    "#   texelo ../../samples/texelo/level2.fit /c\n"
    "PATH:..\\..\\samples\\texelo\\textures\\\n"
    "; A grate repeated across a floor: tiled textures sit on a power-of-two grid.\n"
    "TILE: grate\n"
    "; Three pictures in the same three greys: one CLUT for all.\n"
    "STRIPES\n"
    "PLAID\n"
    "CHECKER\n"
    "; The checkerboard in red, right after it: a CLUT without a picture.\n"
    "PAL: checkred\n"
    "ALPHA: halo\n"
    "TRANS: gem\n"
    "BRICKS\n"
    "TARGET\n"
    "SUNSET\n"
    "WOOD\n"
    "PLASMA\n"
    "SKY\n"
    "; Four wide 16-bit backdrops.\n"
    "CLIFF\n"
    "DUNES\n"
    "OCEAN\n"
    "LAVA\n"
    "FIT: LEVEL2\n";

// The backdrop script: BACKDROP with two palette pictures, NEWBACKDROP with
// three ACT palettes, which it reads from the working folder. PALETTES sets
// the number of alternative palettes; its folder names a texture palette set
// and is not used by backdrops.
constexpr const char* kBackdropsScript =
    "# Backdrops: two 640 x 512 pictures at 4 bits with alternative palettes,\n"
    "# written as TITLE and STARS into the working folder. NEWBACKDROP reads its\n"
    "# palettes 0.act, 1.act and 2.act from the working folder: copy them there\n"
    "# first. Run from build/sample-output:\n"
    "#   cp ../../samples/texelo/backdrops/*.act .\n"
    "#   texelo ../../samples/texelo/backdrops.fit /c\n"
    "PATH:..\\..\\samples\\texelo\\backdrops\\\n"
    "; Sixteen greys, recoloured for dusk and night by TITLE.PA0 and TITLE.PA1.\n"
    "PALETTES:. 2\n"
    "BACKDROP:title\n"
    "; An index-colour starfield with three palettes.\n"
    "PALETTES:. 3\n"
    "NEWBACKDROP:stars\n";

bool makeTexeloSamples(const fs::path& outDir)
{
    const fs::path folder = outDir / "texelo";
    const fs::path textures = folder / "textures";
    const std::vector<std::pair<const char*, tgawriter::Bytes>> files = {
        {"checker.tga", checkerTexture(false)},
        {"checkred.tga", checkerTexture(true)},
        {"bricks.tga", directTexture(32, 32, bricksColour, 16)},
        {"gem.tga", directTexture(16, 16, gemColour, 24)},
        {"sunset.tga", sunsetTexture()},
        {"wood.tga", woodTexture()},
        {"plasma.tga", directTexture(16, 32, plasmaColour, 24)},
        {"halo.tga", directTexture(32, 32, haloColour, 32)},
        {"grate.tga", directTexture(32, 32, grateColour, 24)},
        {"target.tga", targetTexture()},
        {"sky.tga", directTexture(16, 64, skyColour, 16)},
        {"plaid.tga", greysTexture(32, 32, plaidIndex)},
        {"stripes.tga", greysTexture(32, 16, stripesIndex)},
        {"cliff.tga", backdropTexture(cliffColour)},
        {"dunes.tga", backdropTexture(dunesColour)},
        {"ocean.tga", backdropTexture(oceanColour)},
        {"lava.tga", backdropTexture(lavaColour)},
    };
    bool ok = true;
    for (const auto& [name, bytes] : files)
        ok = writeSample(textures / name, bytes) && ok;
    const fs::path backdrops = folder / "backdrops";
    ok = writeSample(backdrops / "title.tga", titlePicture()) && ok;
    ok = writeSample(backdrops / "title.pa0", titlePalettePicture(false)) && ok;
    ok = writeSample(backdrops / "title.pa1", titlePalettePicture(true)) && ok;
    ok = writeSample(backdrops / "stars.tga", starsPicture()) && ok;
    for (int palette = 0; palette < 3; ++palette)
        ok = writeSample(backdrops / (std::to_string(palette) + ".act"), actFile(palette)) && ok;
    for (const auto& [name, text] : {std::pair{"level1.txt", kLevel1Script}, {"level2.fit", kLevel2Script},
                                     {"backdrops.fit", kBackdropsScript}})
    {
        const std::string script = text;
        ok = writeSample(folder / name, Bytes(script.begin(), script.end())) && ok;
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: make_samples OUTDIR\n");
        return 2;
    }
    const fs::path outDir = argv[1];
    bool ok = true;
    ok = makeLumarcSamples(outDir) && ok;
    ok = makeTexeloSamples(outDir) && ok;
    return ok ? 0 : 1;
}
