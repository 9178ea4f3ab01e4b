#include "Ostrel_ScriptFilePrim.h"
#include "RlfItems.h"

#include "DebugOutput.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace
{

using Quad = std::array<PrimVertex, 4>;
using Colours = std::array<PrimColour, 4>;

const Quad kDistinct = {{{1, 2}, {3, 4}, {5, 6}, {7, 8}}};
const Colours kColours = {{{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}, {4, 0, 0, 0}}};

template <typename Prim>
void setQuad(Prim& prim, const Quad& vertices, uint8_t cornerBits = 0xE4)
{
    prim.vertices = vertices;
    prim.cornerBits = cornerBits;
}

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

} // namespace

// Rotation takes the corners in order 1 3 0 2 and a swap exchanges corners 1
// and 2: vertices, per-vertex colours and the 2-bit corner fields alike.
TEST(PrimitiveOps, RotateAndSwapMoveEveryCornerField)
{
    forEachClass(
        [](auto& prim)
        {
            SCOPED_TRACE(prim.primType());
            setQuad(prim, kDistinct, 0xE4);
            prim.rotateCorners();
            EXPECT_EQ(prim.vertices, (Quad{kDistinct[1], kDistinct[3], kDistinct[0], kDistinct[2]}));
            EXPECT_EQ(prim.cornerBits, 0x8D);
            setQuad(prim, kDistinct, 0xE4);
            prim.swapCorners();
            EXPECT_EQ(prim.vertices, (Quad{kDistinct[0], kDistinct[2], kDistinct[1], kDistinct[3]}));
            EXPECT_EQ(prim.cornerBits, 0xD8);
        });
    Ostrel_ScriptFilePrim_G4 g4;
    Ostrel_ScriptFilePrim_GT4 gt4;
    g4.colours = kColours;
    gt4.colours = kColours;
    g4.rotateCorners();
    gt4.swapCorners();
    EXPECT_EQ(g4.colours, (Colours{kColours[1], kColours[3], kColours[0], kColours[2]}));
    EXPECT_EQ(gt4.colours, (Colours{kColours[0], kColours[2], kColours[1], kColours[3]}));
}

TEST(PrimitiveOps, NormaliseOrder)
{
    struct Case
    {
        const char* name;
        Quad before;
        Quad after;
        int cornerBits; // -1: not checked
    };
    const Quad kCanonical{{{0, 0}, {10, 0}, {0, 10}, {10, 10}}};
    const Quad kEqualCorners{{{5, 5}, {0, 0}, {5, 5}, {9, 9}}};
    const Quad kFlat{{{0, 7}, {10, 7}, {20, 7}, {30, 7}}};
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
         -1},
    };
    for (const Case& c : cases)
        forEachClass(
            [&c](auto& prim)
            {
                SCOPED_TRACE(std::string(c.name) + ", type " + std::to_string(prim.primType()));
                setQuad(prim, c.before);
                prim.normaliseOrder();
                EXPECT_EQ(prim.vertices, c.after);
                if (c.cornerBits >= 0)
                {
                    EXPECT_EQ(prim.cornerBits, c.cornerBits);
                }
            });
    // Swap gives colour order 0 2 1 3, the rotation then 2 3 0 1.
    Ostrel_ScriptFilePrim_G4 prim;
    setQuad(prim, cases[2].before);
    prim.colours = kColours;
    prim.normaliseOrder();
    EXPECT_EQ(prim.colours, (Colours{kColours[2], kColours[3], kColours[0], kColours[1]}));
}

TEST(PrimitiveOps, CornerBitQueries)
{
    forEachClass(
        [](auto& prim)
        {
            SCOPED_TRACE(prim.primType());
            for (const auto& [bits, masked, bit5Clear] :
                 {std::tuple{0xFF, 0xC0, 0}, {0x3F, 0x00, 0}, {0x80, 0x80, 1}, {0xDF, 0xC0, 1},
                  {0x20, 0x00, 0}})
            {
                prim.cornerBits = static_cast<uint8_t>(bits);
                EXPECT_EQ(prim.maskedCornerBits(), masked) << bits;
                EXPECT_EQ(prim.cornerBit5Clear(), bit5Clear) << bits;
            }
        });
}

TEST(PrimitiveBase, DoExportOnlyTracesAndLeavesTheEntryUntouched)
{
    BaseExportPrim prim;
    prim.setHeader(0xFF, 0xFF, 0xFF);
    RlfRenderEntry entry;
    std::string trace;
    setDebugOutputSink([&trace](std::string_view text) { trace += text; });
    static_cast<const Ostrel_ScriptFilePrim_Base&>(prim).doExport_RLF(entry);
    setDebugOutputSink({});

    EXPECT_EQ(trace, "Ostrel_ScriptFilePrim_Base::doExport_RLF\n");
    EXPECT_EQ(entry.kind, RlfEntryKind::Untextured);
    EXPECT_EQ(entry.modeLow, 0);
    EXPECT_EQ(entry.textureId, -1);
    for (const RlfPoint& point : entry.points)
    {
        EXPECT_EQ(point.x, 0);
        EXPECT_EQ(point.y, 0);
    }
    EXPECT_EQ(entry.colours, (std::array<uint32_t, 4>{}));
}
