// End to end: random but reproducible layouts go through the real reader,
// conversion and save; the file must equal the one worked out independently
// from the layout's description.
#include "DebugOutput.h"
#include "ExpectedRlf.h"
#include "LoadedLayout.h"
#include "RlfConversion.h"
#include "RlfSave.h"

#include <gtest/gtest.h>

#include <random>

using namespace mdfwriter;
using Names = std::vector<std::string>;

namespace
{

class LayoutGenerator
{
public:
    explicit LayoutGenerator(uint32_t seed) : m_random(seed) {}

    Layout layout()
    {
        Layout result;
        for (int i = 0, count = pick(1, 6); i < count; ++i)
            result.gadgets.push_back(gadget(i));
        // Every primitive type occurs at least once, in a first list.
        std::vector<Prim>& first = result.gadgets[0].primLists.emplace_back(primList()).prims;
        for (uint8_t type : {kPrimF4, kPrimG4, kPrimFT4, kPrimGT4})
            first.insert(first.begin() + pick(0, static_cast<int>(first.size())), prim(type));
        std::swap(result.gadgets[0].primLists.front(), result.gadgets[0].primLists.back());
        return result;
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    uint8_t byte() { return static_cast<uint8_t>(pick(0, 255)); }
    // Mostly on-screen values, sometimes anything a 16-bit field holds, so that sums wrap.
    int16_t coord() { return static_cast<int16_t>(pick(0, 7) == 0 ? pick(-32768, 32767) : pick(-100, 800)); }

    Gadget gadget(int index)
    {
        Gadget g{.name = pick(0, 4) == 0 ? "" : "Gadget" + std::to_string(index)};
        for (int v = pick(0, 3); v > 0; --v)
        {
            std::vector<Rect>& rects = g.rects.emplace_back();
            for (int r = pick(0, 3); r > 0; --r)
                rects.push_back(
                    Rect{coord(), coord(), coord(), coord(), {coord(), coord(), coord(), coord()}});
        }
        for (int v = pick(0, 3); v > 0; --v)
        {
            std::vector<Hotspot>& spots = g.hotspots.emplace_back();
            for (int h = pick(0, 2); h > 0; --h)
                spots.push_back(Hotspot{coord(), coord(), byte(), byte(), coord(), coord()});
        }
        for (int l = pick(0, 2); l > 0; --l)
            g.primLists.push_back(primList());
        if (pick(0, 1))
            g.options = byte();
        return g;
    }

    PrimList primList()
    {
        PrimList list{coord(), coord(), {}};
        for (int p = pick(0, 6); p > 0; --p)
            list.prims.push_back(prim(static_cast<uint8_t>(pick(kPrimF4, kPrimGT4))));
        return list;
    }

    Prim prim(uint8_t type)
    {
        Prim p{type, byte(), byte(), byte()};
        constexpr std::array<uint16_t, 4> kOddTextures{0xFFFF, 0x8000, 6, 0x7FFF};
        p.textureId = pick(0, 3) == 0 ? kOddTextures[static_cast<size_t>(pick(0, 3))]
                                      : static_cast<uint16_t>(pick(0, 5));
        p.textureAux = static_cast<uint16_t>(pick(0, 0xFFFF));
        for (Vertex& v : p.vertices)
            v = {coord(), coord()};
        for (Colour& c : p.colours)
            c = {byte(), byte(), byte(), byte()};
        return p;
    }

    std::mt19937 m_random;
};

// Names the first differing byte instead of printing whole files.
::testing::AssertionResult sameBytes(const Bytes& actual, const Bytes& expected)
{
    const auto [a, e] = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (a != actual.end() && e != expected.end())
        return ::testing::AssertionFailure()
               << "byte " << (a - actual.begin()) << " is " << int{*a} << ", expected " << int{*e};
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << actual.size() << " bytes, expected " << expected.size();
    return ::testing::AssertionSuccess();
}

} // namespace

// The size is reported once, before the target exists or the writer starts.
TEST(SaveRlf, GeneratedLayoutsGiveExpectedPcAndConsoleFiles)
{
    for (const int yOffset : {0, kPsxYOffset})
        for (uint32_t seed = 1; seed <= 12; ++seed)
        {
            SCOPED_TRACE("y offset " + std::to_string(yOffset) + ", seed " + std::to_string(seed));
            const Layout layout = LayoutGenerator(seed).layout();
            const Bytes expected = expectedrlf::encode(layout, yOffset);
            TempFolder folder;
            const auto model = loadLayout(folder, layout);
            ASSERT_TRUE(model);
            const std::string path = folder.file("out.rlf");
            std::string trace;
            setDebugOutputSink([&](std::string_view text) { trace += text; });
            std::vector<int64_t> reports;
            const RlfSaveResult result = saveRlf(
                *model, yOffset, path,
                [&](int64_t bytes) { reports.push_back(fileExists(path) || !trace.empty() ? -1 : bytes); });
            setDebugOutputSink({});
            ASSERT_EQ(result.status, RlfSaveStatus::Saved) << result.message;
            EXPECT_EQ(result.message, "");
            EXPECT_NE(trace, "");
            EXPECT_EQ(folder.entries(), (Names{"layout.mdf", "out.rlf"}));
            EXPECT_EQ(reports, std::vector<int64_t>{static_cast<int64_t>(expected.size())});
            EXPECT_TRUE(sameBytes(readBytes(path), expected));
        }
}

TEST(SaveRlf, UnwritableTargetCannotBeOpened)
{
    TempFolder folder;
    const auto model = loadLayout(folder, LayoutGenerator(1).layout());
    ASSERT_TRUE(model);
    bool reported = false;
    const RlfSaveResult result =
        saveRlf(*model, 0, folder.file("missing/out.rlf"), [&](int64_t) { reported = true; });
    EXPECT_EQ(result.status, RlfSaveStatus::CannotOpen);
    EXPECT_EQ(result.message, "Couldn't open file for writing");
    EXPECT_FALSE(reported);
    EXPECT_EQ(folder.entries(), Names{"layout.mdf"});
}
