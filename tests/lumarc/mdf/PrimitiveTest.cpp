#include "MdfPrimList.h"
#include "MdfPrimSet.h"
#include "Ostrel_ScriptFilePrim.h"
#include "RlfItems.h"

#include "DebugOutput.h"
#include "MdfTestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using namespace mdfwriter;
using mdftest::concat;
using mdftest::StreamOver;

namespace
{
using Quad = std::array<PrimVertex, 4>;
using Colours = std::array<PrimColour, 4>;

const Quad kDistinct = {{{1, 2}, {3, 4}, {5, 6}, {7, 8}}};
const Colours kColours = {{{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}, {4, 0, 0, 0}}};

// Runs `check` on a fresh primitive of each of the four classes.
template <typename Check>
void forEachClass(Check check)
{
    Ostrel_ScriptFilePrim_F4 f4;
    Ostrel_ScriptFilePrim_G4 g4;
    Ostrel_ScriptFilePrim_FT4 ft4;
    Ostrel_ScriptFilePrim_GT4 gt4;
    check(f4);
    check(g4);
    check(ft4);
    check(gt4);
}

// A primitive with only the base class's export, to reach that version.
class BaseExportPrim final : public Ostrel_ScriptFilePrim_Base
{
public:
    PrimBounds& getBounds(PrimBounds& out) const override { return out; }
    void normaliseOrder() override {}
    void rotateCorners() override {}
    void swapCorners() override {}
    [[nodiscard]] uint8_t maskedCornerBits() const override { return 0; }
    [[nodiscard]] int cornerBit5Clear() const override { return 0; }
    [[nodiscard]] int primType() const override { return 0; }
};

// Vertices (1, -1), (0x1234, 2), (-32768, 32767), (3, 4) as s16 little-endian.
const Bytes kVertexBytes = {0x01, 0x00, 0xFF, 0xFF, 0x34, 0x12, 0x02, 0x00,
                            0x00, 0x80, 0xFF, 0x7F, 0x03, 0x00, 0x04, 0x00};
const Bytes kFourColours = {0x10, 0x11, 0x12, 0x13, 0x20, 0x21, 0x22, 0x23,
                            0x30, 0x31, 0x32, 0x33, 0x40, 0x41, 0x42, 0x43};

// Reads a list of offsets 0, 0, one primitive (header and body) and a
// terminating header; `expected` must be its only primitive, and the stream
// must end right after the terminator.
template <typename Prim>
void expectOnlyPrim(const Bytes& header, const Bytes& body, Prim& expected)
{
    SCOPED_TRACE(expected.primType());
    expected.vertices = {{{1, -1}, {0x1234, 2}, {-32768, 32767}, {3, 4}}};
    StreamOver input(concat({{0, 0, 0, 0}, header, body, {0, 0, 0, 0}}));
    const auto list = readPrimList(input.stream);
    ASSERT_NE(list, nullptr);
    const auto* prim =
        list->primitives.count() == 1 ? dynamic_cast<const Prim*>(list->primitives.first()) : nullptr;
    ASSERT_NE(prim, nullptr);
    EXPECT_EQ(
        std::tuple(prim->mode, prim->modeLow, prim->modeMid, prim->cornerBits, prim->aux),
        std::tuple(expected.mode, expected.modeLow, expected.modeMid, expected.cornerBits, expected.aux));
    EXPECT_EQ(prim->vertices, expected.vertices);
    EXPECT_EQ(prim->colours, expected.colours);
    if constexpr (requires { expected.textureId; })
    {
        EXPECT_EQ(std::pair(prim->textureId, prim->textureAux),
                  std::pair(expected.textureId, expected.textureAux));
    }
    EXPECT_EQ(input.stream.position(), 12 + body.size());
}

} // namespace

// Zero offsets and a zero header make an empty list.
TEST(PrimList, OtherTypesEndTheListAndTheNextByteFollows)
{
    for (uint8_t type : {9, 4, 0})
    {
        SCOPED_TRACE(static_cast<int>(type));
        // The terminator's other bytes are not zero; the second list starts
        // right after it, so a body read for it would shift that list.
        const Bytes set = primSetBody({{.prims = {{.type = kPrimF4}}, .terminator = 0xCCBBAA00u | type},
                                       {.offsetX = 77, .prims = {{.type = kPrimG4}, {.type = kPrimG4}}},
                                       {}});
        StreamOver input(set);
        MdfPrimSet prims;
        EXPECT_TRUE(prims.read(input.stream, 0));
        ASSERT_EQ(prims.lists.count(), 3u);
        EXPECT_EQ(prims.lists.items[0]->primitives.count(), 1u);
        EXPECT_EQ(prims.lists.items[1]->offsetX, 77.0f);
        EXPECT_EQ(prims.lists.items[1]->primitives.count(), 2u);
        EXPECT_TRUE(prims.lists.items[2]->primitives.empty());
        EXPECT_EQ(std::pair(prims.lists.items[2]->offsetX, prims.lists.items[2]->offsetY),
                  std::pair(0.0f, 0.0f));
        EXPECT_EQ(input.stream.position(), set.size());
        EXPECT_FALSE(input.stream.failed());
    }
}

// Type codes 5-8 make the four classes, in file order; the list's bounds are
// the union of all its primitives moved by its offset.
TEST(PrimList, TypeCodesMakeTheFourClassesAndBoundsCoverThemAll)
{
    StreamOver input(
        primListBody({.offsetX = 5,
                      .offsetY = -3,
                      .prims = {{.type = kPrimGT4, .vertices = {{{-5, 3}, {2, 3}, {-5, 20}, {2, 4}}}},
                                {.type = kPrimF4, .vertices = {{{0, 0}, {10, 0}, {0, 10}, {10, 10}}}},
                                {.type = kPrimFT4},
                                {.type = kPrimG4, .vertices = {{{1, 1}, {1, 1}, {1, 1}, {1, 1}}}}}}));
    auto list = readPrimList(input.stream);
    std::vector<int> types;
    for (const Ostrel_ScriptFilePrim_Base& prim : list->primitives)
        types.push_back(prim.primType());
    EXPECT_EQ(types, (std::vector<int>{8, 5, 7, 6}));
    EXPECT_EQ(list->bounds, (PrimBounds{0, -3, 15, 17}));
}

// The header gives mode (and its low and middle bits), corner bits and aux.
// Textured types start with texture id and aux; flat types carry one colour,
// Gouraud types four.
TEST(PrimList, HeaderAndBodyLayoutPerType)
{
    Ostrel_ScriptFilePrim_F4 f4;
    f4.setHeader(0x1D, 0xE4, 0x7F);
    f4.colours = {{{0xA1, 0xB2, 0xC3, 0xD4}}};
    expectOnlyPrim({5, 0x1D, 0xE4, 0x7F}, concat({kVertexBytes, {0xA1, 0xB2, 0xC3, 0xD4}}), f4);
    EXPECT_EQ(std::tuple(f4.modeLow, f4.modeMid), std::tuple(5, 3));

    Ostrel_ScriptFilePrim_G4 g4;
    g4.colours = {{{0x10, 0x11, 0x12, 0x13},
                   {0x20, 0x21, 0x22, 0x23},
                   {0x30, 0x31, 0x32, 0x33},
                   {0x40, 0x41, 0x42, 0x43}}};
    expectOnlyPrim({6, 0, 0, 0}, concat({kVertexBytes, kFourColours}), g4);

    Ostrel_ScriptFilePrim_FT4 ft4;
    ft4.textureId = 0x1234;
    ft4.textureAux = 0xBEEF;
    ft4.colours = {{{1, 2, 3, 4}}};
    expectOnlyPrim({7, 0, 0, 0}, concat({{0x34, 0x12, 0xEF, 0xBE}, kVertexBytes, {1, 2, 3, 4}}), ft4);

    Ostrel_ScriptFilePrim_GT4 gt4;
    gt4.textureId = 0xFFFF;
    gt4.textureAux = 2;
    gt4.colours = g4.colours;
    expectOnlyPrim({8, 0, 0, 0}, concat({{0xFF, 0xFF, 0x02, 0x00}, kVertexBytes, kFourColours}), gt4);
}

// Rotation takes the corners in order 1 3 0 2 and a swap exchanges corners 1
// and 2: vertices, per-vertex colours and the 2-bit corner fields alike. The
// queries see the top two corner bits and whether bit 5 is clear.
TEST(PrimitiveOps, CornerOperationsAndQueries)
{
    forEachClass(
        [](auto& prim)
        {
            SCOPED_TRACE(prim.primType());
            for (const auto& [bits, masked, bit5Clear] : {std::tuple{0xFF, 0xC0, 0},
                                                          {0x3F, 0x00, 0},
                                                          {0x80, 0x80, 1},
                                                          {0xDF, 0xC0, 1},
                                                          {0x20, 0x00, 0}})
            {
                prim.cornerBits = static_cast<uint8_t>(bits);
                EXPECT_EQ(std::pair(int{prim.maskedCornerBits()}, prim.cornerBit5Clear()),
                          std::pair(masked, bit5Clear))
                    << bits;
            }
            for (const bool rotate : {true, false})
            {
                prim.vertices = kDistinct;
                prim.cornerBits = 0xE4;
                if constexpr (std::tuple_size_v<decltype(prim.colours)> == 4)
                    prim.colours = kColours;
                rotate ? prim.rotateCorners() : prim.swapCorners();
                const std::array<int, 4> order = rotate ? std::array{1, 3, 0, 2} : std::array{0, 2, 1, 3};
                EXPECT_EQ(prim.vertices, (Quad{kDistinct[order[0]], kDistinct[order[1]], kDistinct[order[2]],
                                               kDistinct[order[3]]}));
                EXPECT_EQ(prim.cornerBits, rotate ? 0x8D : 0xD8);
                if constexpr (std::tuple_size_v<decltype(prim.colours)> == 4)
                {
                    EXPECT_EQ(prim.colours, (Colours{kColours[order[0]], kColours[order[1]],
                                                     kColours[order[2]], kColours[order[3]]}));
                }
            }
        });
}

TEST(PrimitiveOps, NormaliseOrder)
{
    const Quad kCanonical{{{0, 0}, {10, 0}, {0, 10}, {10, 10}}};
    const Quad kEqualCorners{{{5, 5}, {0, 0}, {5, 5}, {9, 9}}};
    const Quad kFlat{{{0, 7}, {10, 7}, {20, 7}, {30, 7}}};
    struct Case
    {
        const char* name;
        Quad before, after;
        int cornerBits;
    };
    const std::vector<Case> cases{
        {"canonical quad stays", kCanonical, kCanonical, 0xE4},
        {"clockwise quad is swapped only", {{{0, 0}, {0, 10}, {10, 0}, {10, 10}}}, kCanonical, 0xD8},
        {"swapped, then rotated once", {{{0, 10}, {10, 10}, {0, 0}, {10, 0}}}, kCanonical, 0x4E},
        // Vertex 0 is not above vertex 2, so without the equality rule this
        // quad would be rotated once.
        {"no rotation when vertex 0 equals vertex 2", kEqualCorners, kEqualCorners, 0xE4},
        {"flat quad stops after eight rotations in the start order", kFlat, kFlat, 0xE4},
        // x1 - x0 = 65535 wraps to -1, which makes the winding value negative.
        {"differences wrap to 16 bits",
         {{{-32768, 0}, {32767, 0}, {-32768, 10}, {32767, 10}}},
         {{{32767, 0}, {-32768, 0}, {32767, 10}, {-32768, 10}}},
         0xB1},
    };
    for (const Case& c : cases)
        forEachClass(
            [&c](auto& prim)
            {
                SCOPED_TRACE(std::string(c.name) + ", type " + std::to_string(prim.primType()));
                prim.vertices = c.before;
                prim.cornerBits = 0xE4;
                prim.normaliseOrder();
                EXPECT_EQ(prim.vertices, c.after);
                EXPECT_EQ(prim.cornerBits, c.cornerBits);
            });
    // Swap gives colour order 0 2 1 3, the rotation then 2 3 0 1.
    Ostrel_ScriptFilePrim_G4 prim;
    prim.vertices = cases[2].before;
    prim.colours = kColours;
    prim.normaliseOrder();
    EXPECT_EQ(prim.colours, (Colours{kColours[2], kColours[3], kColours[0], kColours[1]}));
}

TEST(PrimitiveBase, DoExportOnlyTracesAndLeavesTheEntryUntouched)
{
    BaseExportPrim prim;
    prim.setHeader(0xFF, 0xFF, 0xFF);
    RlfRenderEntry entry;
    entry.points[2] = {3, 4};
    entry.colours[1] = 5;
    const RlfRenderEntry before = entry;
    std::string trace;
    setDebugOutputSink([&trace](std::string_view text) { trace += text; });
    static_cast<const Ostrel_ScriptFilePrim_Base&>(prim).doExport_RLF(entry);
    setDebugOutputSink({});
    EXPECT_EQ(trace, "Ostrel_ScriptFilePrim_Base::doExport_RLF\n");
    EXPECT_EQ(std::tuple(entry.kind, entry.modeLow, entry.textureId, entry.colours),
              std::tuple(before.kind, before.modeLow, before.textureId, before.colours));
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_EQ(std::pair(entry.points[k].x, entry.points[k].y),
                  std::pair(before.points[k].x, before.points[k].y));
}
