#include "MdfFontTable.h"
#include "MdfGadget.h"
#include "MdfStringBank.h"

#include "MdfTestFiles.h"

#include <gtest/gtest.h>

using namespace mdfwriter;
using mdftest::concat;
using mdftest::StreamOver;
using mdftest::texts;
using Texts = std::vector<std::string>;

namespace
{

Bytes rectTable(const std::vector<std::size_t>& rectsPerVector)
{
    std::vector<Bytes> vectors;
    for (std::size_t rects : rectsPerVector)
        vectors.push_back(arrayOf("MDFVREC0", std::vector<Bytes>(rects, rectBody(1, 2, 3, 4))));
    return arrayOf("MDFTVRE0", vectors);
}

} // namespace

// An empty array is tag and count only; string filler is consumed.
TEST(ArrayReader, ElementsAreReadInOrderAndTheNextByteFollows)
{
    const Bytes empty = arrayOf("MDFDSB00", {});
    ASSERT_EQ(empty.size(), 12u);
    const Bytes three = arrayBody("MDFDSB00", {{.body = stringBody("alpha", 10)},
                                               {.body = stringBody("beta")},
                                               {.body = stringBody("gamma")}});
    StreamOver input(concat({empty, three, {0xAA}}));
    MdfStringBank0 bank;
    EXPECT_TRUE(bank.read(input.stream, 12));
    EXPECT_EQ(bank.count(), 0);
    EXPECT_EQ(input.stream.position(), 12u);
    EXPECT_TRUE(bank.read(input.stream, 0));
    EXPECT_EQ(texts(bank), (Texts{"alpha", "beta", "gamma"}));
    EXPECT_EQ(input.stream.position(), 12 + three.size());
}

TEST(ArrayReader, CountAbove65535IsRefusedBeforeAnyElement)
{
    Bytes body;
    putTag(body, "MDFLFNT0");
    put32(body, 65536);
    body.resize(body.size() + 8 * 65536 + 4 * 65536); // enough data for every element
    StreamOver input(body);
    MdfFont font;
    EXPECT_FALSE(font.read(input.stream, 0));
    EXPECT_TRUE(input.stream.failed());
    EXPECT_EQ(input.stream.failureReason(), "array count 65536 is above 65535");
    EXPECT_EQ(input.stream.failureOffset(), 8u);
    EXPECT_EQ(font.count(), 0);
    EXPECT_EQ(font.capacity(), 0);
}

TEST(ArrayReader, Count65535IsAccepted)
{
    const std::vector<Bytes> entries(65535, fontEntryBody(3, 4));
    StreamOver input(arrayOf("MDFLFNT0", entries));
    MdfFont font;
    EXPECT_TRUE(font.read(input.stream, 0));
    EXPECT_EQ(font.count(), 65535);
    EXPECT_EQ(font.at(65534).value1, 4);
}

TEST(ArrayReader, CountWithinCapacityKeepsTheStorage)
{
    StreamOver input(concat({arrayOf("MDFDSB00", {stringBody("a"), stringBody("b"), stringBody("c")}),
                             arrayOf("MDFDSB00", {stringBody("x"), stringBody("y")})}));
    MdfStringBank0 bank;
    ASSERT_TRUE(bank.read(input.stream, 0));
    const MdfString* storage = &bank.at(0);

    ASSERT_TRUE(bank.read(input.stream, 0));
    EXPECT_EQ(bank.count(), 2);
    ASSERT_EQ(bank.capacity(), 3);
    EXPECT_EQ(&bank.at(0), storage);
    EXPECT_EQ(texts(bank), (Texts{"x", "y"}));
    EXPECT_EQ(bank.at(2).text, "c"); // beyond the count, left as it was
}

TEST(ArrayReader, KeptElementsKeepTheirOwnCapacity)
{
    // The first vector shrinks from three rects to one, inside storage that
    // is kept, so it still has room for three.
    StreamOver input(concat({rectTable({3}), rectTable({1})}));
    MdfRectTable table;
    ASSERT_TRUE(table.read(input.stream, 0));
    ASSERT_TRUE(table.read(input.stream, 0));
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.at(0).count(), 1);
    EXPECT_EQ(table.at(0).capacity(), 3);
}

TEST(ArrayReader, GrowingReplacesStorageWithFreshElements)
{
    // Nothing is carried over: the new first vector starts empty and gets
    // exactly the room its one rect needs.
    StreamOver input(concat({rectTable({3}), rectTable({1, 2})}));
    MdfRectTable table;
    ASSERT_TRUE(table.read(input.stream, 0));
    ASSERT_TRUE(table.read(input.stream, 0));
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.capacity(), 2);
    EXPECT_EQ(table.at(0).count(), 1);
    EXPECT_EQ(table.at(0).capacity(), 1);
    EXPECT_EQ(table.at(1).count(), 2);
}
