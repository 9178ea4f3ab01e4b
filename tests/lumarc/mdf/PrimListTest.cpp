#include "MdfPrimList.h"
#include "MdfPrimSet.h"
#include "Ostrel_ScriptFilePrim.h"

#include "MdfTestFiles.h"

#include <gtest/gtest.h>

using namespace mdfwriter;
using mdftest::concat;
using mdftest::StreamOver;

namespace
{

// Offsets 0, 0, one record (header + body) and a terminating header.
Bytes listOfOne(const Bytes& header, const Bytes& body)
{
    return concat({{0, 0, 0, 0}, header, body, {0, 0, 0, 0}});
}

// Vertices (1, -1), (0x1234, 2), (-32768, 32767), (3, 4) as s16 little-endian.
const Bytes kVertexBytes = {0x01, 0x00, 0xFF, 0xFF, 0x34, 0x12, 0x02, 0x00,
                            0x00, 0x80, 0xFF, 0x7F, 0x03, 0x00, 0x04, 0x00};
const std::array<PrimVertex, 4> kVertices = {{{1, -1}, {0x1234, 2}, {-32768, 32767}, {3, 4}}};
const Bytes kFourColours = {0x10, 0x11, 0x12, 0x13, 0x20, 0x21, 0x22, 0x23,
                            0x30, 0x31, 0x32, 0x33, 0x40, 0x41, 0x42, 0x43};
const std::array<PrimColour, 4> kColours = {
    {{0x10, 0x11, 0x12, 0x13}, {0x20, 0x21, 0x22, 0x23}, {0x30, 0x31, 0x32, 0x33}, {0x40, 0x41, 0x42, 0x43}}};

// The list's one primitive when it is of class Prim, else nullptr.
template <typename Prim>
const Prim* onlyPrim(const MdfPrimList& list)
{
    return list.primitives.count() == 1 ? dynamic_cast<const Prim*>(list.primitives.first()) : nullptr;
}

} // namespace

TEST(PrimList, ZeroOffsetsAndZeroHeaderGiveAnEmptyList)
{
    StreamOver input({0, 0, 0, 0, 0, 0, 0, 0});
    auto list = readPrimList(input.stream);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->primitives.empty());
    EXPECT_EQ(list->offsetX, 0.0f);
    EXPECT_EQ(list->offsetY, 0.0f);
    EXPECT_EQ(input.stream.position(), 8u);
    EXPECT_FALSE(input.stream.failed());
}

TEST(PrimList, OtherTypesEndTheListAndTheNextByteFollows)
{
    for (uint8_t type : {9, 4, 0})
    {
        SCOPED_TRACE(static_cast<int>(type));
        // The terminator's other bytes are not zero; the second list starts
        // right after it, so a body read for it would shift that list.
        const Bytes set = primSetBody({{.prims = {{.type = kPrimF4}}, .terminator = 0xCCBBAA00u | type},
                                       {.offsetX = 77, .prims = {{.type = kPrimG4}, {.type = kPrimG4}}}});
        StreamOver input(set);
        MdfPrimSet prims;
        EXPECT_TRUE(prims.read(input.stream, 0));
        ASSERT_EQ(prims.lists.count(), 2u);
        EXPECT_EQ(prims.lists.items[0]->primitives.count(), 1u);
        EXPECT_EQ(prims.lists.items[1]->offsetX, 77.0f);
        EXPECT_EQ(prims.lists.items[1]->primitives.count(), 2u);
        EXPECT_EQ(input.stream.position(), set.size());
    }
}

TEST(PrimList, BoundsAreTheUnionOfAllPrimitivesMovedByTheOffset)
{
    StreamOver input(
        primListBody({.offsetX = 5,
                      .offsetY = -3,
                      .prims = {{.type = kPrimF4, .vertices = {{{0, 0}, {10, 0}, {0, 10}, {10, 10}}}},
                                {.type = kPrimGT4, .vertices = {{{-5, 3}, {2, 3}, {-5, 20}, {2, 4}}}},
                                {.type = kPrimG4, .vertices = {{{1, 1}, {1, 1}, {1, 1}, {1, 1}}}}}}));
    auto list = readPrimList(input.stream);
    EXPECT_EQ(list->bounds, (PrimBounds{0, -3, 15, 17}));
}

TEST(PrimList, HeaderBytesGiveTypeModeCornerBitsAndAux)
{
    StreamOver input(listOfOne({0x05, 0x1D, 0xE4, 0x7F}, Bytes(20, 0)));
    auto list = readPrimList(input.stream);
    const auto* prim = onlyPrim<Ostrel_ScriptFilePrim_F4>(*list);
    ASSERT_NE(prim, nullptr);
    EXPECT_EQ(prim->primType(), 5);
    EXPECT_EQ(prim->mode, 0x1D);
    EXPECT_EQ(prim->modeLow, 5);
    EXPECT_EQ(prim->modeMid, 3);
    EXPECT_EQ(prim->cornerBits, 0xE4);
    EXPECT_EQ(prim->aux, 0x7F);
}

// Textured types start with texture id and aux; flat types carry one colour,
// Gouraud types four. The stream ends right after the terminator.
TEST(PrimList, BodyLayoutPerType)
{
    StreamOver f4(listOfOne({5, 0, 0, 0}, concat({kVertexBytes, {0xA1, 0xB2, 0xC3, 0xD4}})));
    const auto f4List = readPrimList(f4.stream);
    const auto* flat = onlyPrim<Ostrel_ScriptFilePrim_F4>(*f4List);
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(flat->vertices, kVertices);
    EXPECT_EQ(flat->colour(), (PrimColour{0xA1, 0xB2, 0xC3, 0xD4}));
    EXPECT_EQ(f4.stream.position(), 4u + 4 + 20 + 4);

    StreamOver g4(listOfOne({6, 0, 0, 0}, concat({kVertexBytes, kFourColours})));
    const auto g4List = readPrimList(g4.stream);
    const auto* gouraud = onlyPrim<Ostrel_ScriptFilePrim_G4>(*g4List);
    ASSERT_NE(gouraud, nullptr);
    EXPECT_EQ(gouraud->vertices, kVertices);
    EXPECT_EQ(gouraud->colours, kColours);
    EXPECT_EQ(g4.stream.position(), 4u + 4 + 32 + 4);

    StreamOver ft4(listOfOne({7, 0, 0, 0}, concat({{0x34, 0x12, 0xEF, 0xBE}, kVertexBytes, {1, 2, 3, 4}})));
    const auto ft4List = readPrimList(ft4.stream);
    const auto* flatTextured = onlyPrim<Ostrel_ScriptFilePrim_FT4>(*ft4List);
    ASSERT_NE(flatTextured, nullptr);
    EXPECT_EQ(flatTextured->textureId, 0x1234);
    EXPECT_EQ(flatTextured->textureAux, 0xBEEF);
    EXPECT_EQ(flatTextured->vertices, kVertices);
    EXPECT_EQ(flatTextured->colour(), (PrimColour{1, 2, 3, 4}));
    EXPECT_EQ(ft4.stream.position(), 4u + 4 + 24 + 4);

    StreamOver gt4(listOfOne({8, 0, 0, 0}, concat({{0xFF, 0xFF, 0x02, 0x00}, kVertexBytes, kFourColours})));
    const auto gt4List = readPrimList(gt4.stream);
    const auto* gouraudTextured = onlyPrim<Ostrel_ScriptFilePrim_GT4>(*gt4List);
    ASSERT_NE(gouraudTextured, nullptr);
    EXPECT_EQ(gouraudTextured->textureId, 0xFFFF);
    EXPECT_EQ(gouraudTextured->textureAux, 2);
    EXPECT_EQ(gouraudTextured->vertices, kVertices);
    EXPECT_EQ(gouraudTextured->colours, kColours);
    EXPECT_EQ(gt4.stream.position(), 4u + 4 + 36 + 4);
}

TEST(PrimList, TypeCodes5To8MakeTheFourClassesInFileOrder)
{
    StreamOver input(primListBody(
        {.prims = {{.type = kPrimGT4}, {.type = kPrimF4}, {.type = kPrimFT4}, {.type = kPrimG4}}}));
    auto list = readPrimList(input.stream);
    std::vector<int> types;
    for (const Ostrel_ScriptFilePrim_Base& prim : list->primitives)
        types.push_back(prim.primType());
    EXPECT_EQ(types, (std::vector<int>{8, 5, 7, 6}));
}
