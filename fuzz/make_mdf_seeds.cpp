// make_mdf_seeds OUTDIR: writes the seed corpus of mdf_reader_fuzz.
//
// Small layouts made by our own writer, each reaching a different part of
// the reader and the conversion, plus a few broken files so the fuzzer starts
// from every refusal as well. The output is deterministic.
#include "MdfWriter.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace
{

namespace fs = std::filesystem;
using namespace mdfwriter;

std::array<Vertex, 4> quad(int16_t x, int16_t y, int16_t w, int16_t h)
{
    const auto right = static_cast<int16_t>(x + w);
    const auto bottom = static_cast<int16_t>(y + h);
    return {{{x, y}, {right, y}, {x, bottom}, {right, bottom}}};
}

Prim prim(uint8_t type, std::array<Vertex, 4> vertices, uint16_t textureId = 0, uint8_t mode = 0,
          uint8_t cornerBits = 0)
{
    Prim p{.type = type, .mode = mode, .cornerBits = cornerBits, .textureId = textureId};
    p.vertices = vertices;
    p.colours = {{{200, 40, 40}, {40, 200, 40}, {40, 40, 200}, {255, 255, 255, 0x80}}};
    return p;
}

Gadget simpleGadget(std::string name, int16_t x, int16_t y)
{
    return Gadget{
        .name = std::move(name),
        .rects = {{{x, y, static_cast<int16_t>(x + 40), static_cast<int16_t>(y + 20)}}},
        .hotspots = {{{.posX = 20, .posY = 10, .flags = 0x05, .code = 1}}},
        .primLists = {{.offsetX = x, .offsetY = y, .prims = {prim(kPrimF4, quad(0, 0, 40, 20))}}},
        .options = 1,
    };
}

Layout oneOfEachPrimitive()
{
    Gadget gadget{.name = "Quads"};
    gadget.primLists = {
        {.offsetX = 10,
         .offsetY = 20,
         .prims = {prim(kPrimF4, quad(0, 0, 16, 16)), prim(kPrimG4, quad(16, 0, 16, 16)),
                   prim(kPrimFT4, quad(0, 16, 16, 16), 1, 2), prim(kPrimGT4, quad(16, 16, 16, 16), 4, 1)}}};
    return Layout{.gadgets = {gadget}};
}

Layout rectsAndHotspots()
{
    Gadget gadget{
        .name = "Panel",
        .rects = {{{0, 0, 100, 50}, {5, 5, 10, 10}}, {}, {{-20, -10, 300, 250, {1, 2, 3, 4}}}},
        .hotspots = {{{.posX = 1, .posY = 2, .flags = 0x00}},
                     {{.posX = -5, .posY = 7, .flags = 0x0F, .code = 9, .auxX = 3, .auxY = -3},
                      {.posX = 9, .posY = 9, .flags = 0xF0}},
                     {}},
        .primLists = {},
        .options = 0x12345678,
    };
    return Layout{.gadgets = {gadget}};
}

Layout manyGadgets()
{
    Layout layout;
    for (int i = 0; i < 12; ++i)
        layout.gadgets.push_back(simpleGadget("Gadget" + std::to_string(i), static_cast<int16_t>(i * 20),
                                              static_cast<int16_t>(i * 10)));
    layout.strings1 = {"first", "second"};
    layout.fonts = {{{1, 2}, {3, 4}}, {}, {{255, 0}}};
    return layout;
}

Layout textureIds()
{
    Gadget gadget{.name = "Textures"};
    PrimList list{};
    for (uint16_t id : {0, 1, 2, 3, 4, 5, 6, 7, 255, 0x7FFF, 0x8000, 0xFFFF})
        list.prims.push_back(prim(id % 2 == 0 ? kPrimFT4 : kPrimGT4,
                                  quad(static_cast<int16_t>(id % 64), 0, 8, 8), id,
                                  static_cast<uint8_t>(id & 0xFF)));
    gadget.primLists = {list};
    return Layout{.gadgets = {gadget}};
}

Layout cornerOrders()
{
    Gadget gadget{.name = "Corners"};
    PrimList list{};
    // Clockwise, counter-clockwise, degenerate and rotated quads with every corner field set.
    list.prims.push_back(prim(kPrimG4, {{{0, 0}, {10, 0}, {0, 10}, {10, 10}}}, 0, 0, 0xE4));
    list.prims.push_back(prim(kPrimG4, {{{0, 0}, {0, 10}, {10, 0}, {10, 10}}}, 0, 0, 0x1B));
    list.prims.push_back(prim(kPrimGT4, {{{5, 5}, {5, 5}, {5, 5}, {5, 5}}}, 3, 0xFF, 0xFF));
    list.prims.push_back(prim(kPrimF4, {{{0, 10}, {10, 10}, {0, 0}, {10, 0}}}, 0, 7, 0x20));
    list.prims.push_back(prim(kPrimFT4, {{{10, 10}, {0, 10}, {10, 0}, {0, 0}}}, 2, 0x38, 0xC0));
    gadget.primLists = {list};
    return Layout{.gadgets = {gadget}};
}

Layout extremeCoordinates()
{
    Gadget gadget{
        .name = "Extremes",
        .rects = {{{-32768, -32768, 32767, 32767}}},
        .hotspots = {{{.posX = 32767, .posY = 32767, .flags = 0x0A}}},
        .primLists = {{.offsetX = 32767,
                       .offsetY = -32768,
                       .prims = {prim(
                           kPrimF4,
                           {{{-32768, -32768}, {32767, -32768}, {-32768, 32767}, {32767, 32767}}})}}},
    };
    return Layout{.gadgets = {gadget}};
}

Layout severalPrimLists()
{
    Gadget gadget{.name = "Lists"};
    gadget.primLists = {{.offsetX = 1, .offsetY = 2, .prims = {prim(kPrimF4, quad(0, 0, 4, 4))}},
                        {.offsetX = 3, .offsetY = 4, .prims = {prim(kPrimGT4, quad(0, 0, 4, 4), 5)}},
                        {.offsetX = 0, .offsetY = 0, .prims = {}, .terminator = 0xFFFFFFFF}};
    // A terminator whose other bytes are set still ends the list.
    gadget.primLists[0].terminator = 0x12345600;
    return Layout{.gadgets = {gadget}};
}

Layout namesAndGadgetsDiffer()
{
    Layout layout{.gadgets = {Gadget{}, simpleGadget("", 0, 0), Gadget{.name = "Named"}}};
    return layout;
}

Layout extraRootChunks()
{
    Layout layout{.gadgets = {simpleGadget("Extra", 4, 4)}};
    layout.extraRootChunks = {
        {std::string(tag::kUnknownVpbi), Bytes{1, 2, 3, 4, 5, 6, 7, 8}},
        {"NOTATAG!", Bytes(40, 0xAB)},
        {std::string(tag::kStringBank1), arrayOf(tag::kStringBank1, {stringBody("early")})}};
    return layout;
}

// Unknown chunks longer than the reader's short-skip scratch, so the fuzzer
// also reaches the seeking skip and may make inputs that large.
Layout longSkippedChunks()
{
    Layout layout{.gadgets = {simpleGadget("AfterSkip", 8, 8)}};
    layout.extraRootChunks = {{std::string(tag::kUnknownVpbi), Bytes(4096, 0x5A)},
                              {"NOTATAG!", Bytes(4097, 0xA5)}};
    return layout;
}

// A names bank with a padded string and an extra name beyond the gadgets.
Bytes paddedNames()
{
    std::vector<Child> children = rootChildren(Layout{.gadgets = {simpleGadget("Pad", 0, 0)}});
    children[0].body = arrayOf(tag::kStringBank0, {stringBody("Pad", 12), stringBody("Spare")});
    return recordBody(children);
}

// A directory whose sizes do not match the bodies (the reader trusts neither).
Bytes wrongDeclaredSizes()
{
    std::vector<Child> children = rootChildren(Layout{.gadgets = {simpleGadget("Sizes", 0, 0)}});
    for (Child& child : children)
        child.declaredSize = 3;
    return recordBody(children);
}

Bytes truncated(Bytes bytes, std::size_t keep)
{
    bytes.resize(std::min(keep, bytes.size()));
    return bytes;
}

Bytes countTooLarge()
{
    Bytes bank;
    putTag(bank, tag::kStringBank0);
    put32(bank, 65536);
    return recordBody({{std::string(tag::kStringBank0), bank}});
}

Bytes stringWithoutNul()
{
    return recordBody(
        {{std::string(tag::kStringBank0), arrayOf(tag::kStringBank0, {stringBody("NoEnd", 3)})}});
}

Bytes emptyString()
{
    return recordBody({{std::string(tag::kStringBank1),
                        arrayBody(tag::kStringBank1, {Element{.body = {}, .declaredSize = 0}})}});
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fputs("usage: make_mdf_seeds OUTDIR\n", stderr);
        return 2;
    }
    const fs::path folder = argv[1];
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
    {
        std::fprintf(stderr, "make_mdf_seeds: cannot create %s: %s\n", folder.c_str(),
                     error.message().c_str());
        return 1;
    }

    const Bytes wholeLayout = mdfFile(manyGadgets());
    const std::vector<std::pair<std::string, Bytes>> seeds = {
        {"empty_layout.mdf", mdfFile(Layout{})},
        {"empty_file.mdf", Bytes{}},
        {"one_gadget.mdf", mdfFile(Layout{.gadgets = {simpleGadget("Button", 100, 80)}})},
        {"each_primitive.mdf", mdfFile(oneOfEachPrimitive())},
        {"rects_hotspots.mdf", mdfFile(rectsAndHotspots())},
        {"many_gadgets_fonts.mdf", wholeLayout},
        {"texture_ids.mdf", mdfFile(textureIds())},
        {"corner_orders.mdf", mdfFile(cornerOrders())},
        {"extreme_coordinates.mdf", mdfFile(extremeCoordinates())},
        {"several_lists.mdf", mdfFile(severalPrimLists())},
        {"names_differ.mdf", mdfFile(namesAndGadgetsDiffer())},
        {"extra_root_chunks.mdf", mdfFile(extraRootChunks())},
        {"long_skipped_chunks.mdf", mdfFile(longSkippedChunks())},
        {"padded_names.mdf", paddedNames()},
        {"wrong_sizes.mdf", wrongDeclaredSizes()},
        {"truncated_half.mdf", truncated(wholeLayout, wholeLayout.size() / 2)},
        {"truncated_prim.mdf", truncated(mdfFile(oneOfEachPrimitive()), 300)},
        {"count_too_large.mdf", countTooLarge()},
        {"string_without_nul.mdf", stringWithoutNul()},
        {"string_of_size_0.mdf", emptyString()},
    };
    for (const auto& [name, bytes] : seeds)
    {
        if (!writeFile((folder / name).string(), bytes))
        {
            std::fprintf(stderr, "make_mdf_seeds: cannot write %s\n", (folder / name).c_str());
            return 1;
        }
    }
    return 0;
}
