#include "MdfRoot.h"

#include "MdfTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace mdfwriter;
using mdftest::loadModel;
using mdftest::rootWithGadgets;
using mdftest::StreamOver;

TEST(MdfModel, MissingNameGivesEmptyText)
{
    auto root = loadModel(rootWithGadgets({recordBody({}), recordBody({})}, {"only"}));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->gadgets.count(), 2);
    EXPECT_EQ(root->gadgetName(0), "only");
    EXPECT_EQ(root->gadgetName(1), "");
    EXPECT_EQ(root->gadgetName(70000), "");
}

TEST(MdfModel, RectTableCountsVectors)
{
    const std::vector<Rect> three = {{.left = 1}, {.left = 2}, {.left = 3}};
    Layout layout;
    layout.gadgets = {{.name = "g", .rects = {three, {{.left = 4}, {.left = 5}, {.left = 6}}}}};
    auto root = loadModel(mdfFile(layout));
    ASSERT_NE(root, nullptr);
    ASSERT_GE(root->gadgets.count(), 1);
    const MdfRectTable& rects = root->gadgets.at(0).rects;
    ASSERT_EQ(rects.count(), 2);
    ASSERT_EQ(rects.at(0).count(), 3);
    ASSERT_EQ(rects.at(1).count(), 3);
    EXPECT_EQ(rects.at(0).at(0).left, 1.0f);
    EXPECT_EQ(rects.at(1).at(0).left, 4.0f);
    EXPECT_EQ(rects.at(1).at(2).left, 6.0f);
}

TEST(MdfModel, RectFieldsInBodyOrder)
{
    // aux0..aux3 = 1, 2, 3, 4; left 10, top -20, right 30, bottom 5.
    StreamOver input({0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00, //
                      0x0A, 0x00, 0xEC, 0xFF, 0x1E, 0x00, 0x05, 0x00});
    MdfRect rect;
    EXPECT_TRUE(rect.read(input.stream, 16));
    EXPECT_EQ((std::vector<float>{rect.aux0, rect.aux1, rect.aux2, rect.aux3, rect.left, rect.top, rect.right,
                                  rect.bottom}),
              (std::vector<float>{1, 2, 3, 4, 10, -20, 30, 5}));
    EXPECT_EQ(input.stream.position(), 16u);
}

TEST(MdfModel, HotspotFields)
{
    // auxX 1, auxY -2, posX 300, posY -400, flags 0xF6, code 0x55, two ignored bytes.
    StreamOver input({0x01, 0x00, 0xFE, 0xFF, 0x2C, 0x01, 0x70, 0xFE, 0xF6, 0x55, 0xFF, 0xFF});
    MdfHotspot hotspot;
    EXPECT_TRUE(hotspot.read(input.stream, 12));
    EXPECT_EQ((std::vector<float>{hotspot.auxX, hotspot.auxY, hotspot.posX, hotspot.posY}),
              (std::vector<float>{1, -2, 300, -400}));
    // Bits 4-7 are not part of either code.
    EXPECT_EQ((std::vector<int>{hotspot.flagsA, hotspot.flagsB, hotspot.code}),
              (std::vector<int>{1, 2, 0x55}));
    EXPECT_EQ(input.stream.position(), 12u);
}

// Without an options record the flag keeps its default of 1.
TEST(MdfModel, OptionsFlagIsBit0OfTheWord)
{
    Layout layout;
    layout.gadgets = {
        {.name = "even", .options = 0xFFFFFFFE}, {.name = "odd", .options = 0x80000001}, {.name = "none"}};
    auto root = loadModel(mdfFile(layout));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->gadgets.count(), 3);
    EXPECT_EQ(root->gadgets.at(0).options.flag, 0u);
    EXPECT_EQ(root->gadgets.at(1).options.flag, 1u);
    EXPECT_EQ(root->gadgets.at(2).options.flag, 1u);
}

TEST(MdfModel, PrimSetAfterOptionsIsRead)
{
    Gadget gadget{.name = "g",
                  .hotspots = {{{.posX = 9}}},
                  .primLists = {{.prims = {{.type = kPrimF4}, {.type = kPrimGT4}}}},
                  .options = 0};
    std::vector<Child> children = gadgetChildren(gadget);
    ASSERT_EQ(children.front().tag, "MDFSVPI0");
    std::rotate(children.begin(), children.begin() + 1, children.end()); // ..., options, prims

    auto root = loadModel(rootWithGadgets({recordBody(children)}, {"g"}));
    ASSERT_NE(root, nullptr);
    ASSERT_GE(root->gadgets.count(), 1);
    const MdfGadget& read = root->gadgets.at(0);
    EXPECT_EQ(read.options.flag, 0u);
    EXPECT_EQ(read.primitiveCount(), 2u);
    ASSERT_EQ(read.hotspots.count(), 1);
    ASSERT_EQ(read.hotspots.at(0).count(), 1);
    EXPECT_EQ(read.hotspots.at(0).at(0).posX, 9.0f);
}

TEST(MdfModel, FontEntryValues)
{
    Layout layout;
    layout.fonts = {{{1, 2}, {3, 4}}, {{250, 7}}};
    auto root = loadModel(mdfFile(layout));
    ASSERT_NE(root, nullptr);
    const MdfFontArray& fonts = root->fontTable.fonts;
    ASSERT_EQ(fonts.count(), 2);
    ASSERT_EQ(fonts.at(0).count(), 2);
    ASSERT_EQ(fonts.at(1).count(), 1);
    EXPECT_EQ((std::vector<int>{fonts.at(0).at(0).value0, fonts.at(0).at(0).value1, fonts.at(0).at(1).value0,
                                fonts.at(0).at(1).value1, fonts.at(1).at(0).value0, fonts.at(1).at(0).value1}),
              (std::vector<int>{1, 2, 3, 4, 250, 7}));
}

TEST(MdfModel, PrimitiveCountIsThatOfTheFirstListOrZero)
{
    Layout layout;
    layout.gadgets = {{.name = "g", .primLists = {{.prims = {{}, {}}}, {.prims = {{}, {}, {}, {}, {}}}}},
                      {.name = "bare", .options = 0}};
    auto root = loadModel(mdfFile(layout));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->gadgets.count(), 2);
    const MdfGadget& gadget = root->gadgets.at(0);
    ASSERT_EQ(gadget.prims.lists.count(), 2u);
    EXPECT_EQ(gadget.primitiveCount(), 2u);
    EXPECT_EQ(gadget.prims.lists.items[1]->primitives.count(), 5u);
    EXPECT_EQ(root->gadgets.at(1).firstPrimList(), nullptr);
    EXPECT_EQ(root->gadgets.at(1).primitiveCount(), 0u);
}
