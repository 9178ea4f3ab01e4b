// make_samples OUTDIR: writes the sample inputs of every tool below OUTDIR.
//
// The samples are built by our own writers so that their content is known
// exactly and can be regenerated at any time; the output is deterministic.
// One function per tool; each writes into its own subfolder.
#include "MdfWriter.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

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
    return ok ? 0 : 1;
}
