// End-to-end .fit banks: the texelo executable places generated textures
// itself; the banks are compared byte for byte with the independent writer,
// standard output line by line.

#include "ExpectedBank.h"
#include "TexeloRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace
{

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        all.push_back(line);
    return all;
}

class FitBank : public ::testing::Test
{
protected:
    void addTexture(const std::string& relative, const expected::Texture& texture)
    {
        folder.write(relative, expected::targa(texture));
    }
    [[nodiscard]] expected::Bytes bankFile(const std::string& name) const
    {
        return expected::readFile(folder.path() + "/" + name);
    }

    TempFolder folder;
};

} // namespace

TEST_F(FitBank, ThreeTexturesShareACLUTAndTheClutsMoveUnderTheImages)
{
    using namespace expected;
    const Texture a = pattern(128, 64, 5, 0x0421);
    const Texture bc = pattern(64, 32, 3, 0x0842);
    addTexture("a.tga", a);
    addTexture("b.tga", bc);
    addTexture("c.tga", bc);
    folder.write("worked.fit", "B\nC\nA\nFIT: worked\n");

    const TexeloRun run = runTexelo({"worked.fit", "/c"}, folder.path());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(lines(run.out), (std::vector<std::string>{"Opened B.tga", "Opened C.tga", "Opened A.tga",
                                                         "2 unique CLUTs", "Saving Textures..."}));
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(bankFile("WORKED.TBK"),
              bank(3, 0,
                   {{1,
                     65,
                     {record(0, tim(bc, {.clutX = 16, .clutY = 64, .x = 32, .y = 0})),
                      record(1, tim(bc, {.clutX = 16, .clutY = 64, .x = 48, .y = 0})),
                      record(2, tim(a, {.clutX = 0, .clutY = 64, .x = 0, .y = 0}))}}}));
}

TEST_F(FitBank, SeparateClutsTiledAndPaletteLinesThenTheNextBankStartsAfresh)
{
    using namespace expected;
    const Texture water = pattern(32, 16, 3, 0x0421);
    const Texture palette = recoloured(water, {0x1001, 0x1002, 0x1003});
    const Texture grass = pattern(64, 64, 4, 0x0C63);
    const Texture direct = pattern(16, 17, 272);
    addTexture("tex/w.tga", water);
    addTexture("tex/w2.tga", palette);
    addTexture("tex/g.tga", grass);
    addTexture("tex/d16.tga", direct);
    // ALPHA's mode carries over to the PAL and TILE lines; the bare name
    // resets it. The PAL line reads its colours where W's first occur.
    // Sorted: the tiled texture, then by width.
    folder.write("two.fit", "PATH: tex/\nSEPERATE: ON\nALPHA: w\nPAL: w2\nTILE: g\nD16\nFIT: sep\nW\nFIT: plain\n");

    const TexeloRun run = runTexelo({"two.fit", "/c"}, folder.path());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(lines(run.out),
              (std::vector<std::string>{"Opened TEX/W.tga",
                                        "Opened TEX/W2.tga",
                                        "Opened TEX/G.tga",
                                        "Opened TEX/D16.tga",
                                        "Image TEX/D16.tga with 272 colours couldn't be saved as 4 BPP.",
                                        "defaulting to 8 BPP.",
                                        "Image TEX/D16.tga couldn't be saved as 8 BPP.",
                                        "defaulting to 16 BPP.",
                                        "3 unique CLUTs",
                                        "Saving Textures...",
                                        "Opened TEX/W.tga",
                                        "1 unique CLUTs",
                                        "Saving Textures..."}));
    EXPECT_EQ(run.err, "");
    // One row of the separate area; the group keeps a line below its
    // tallest image.
    EXPECT_EQ(bankFile("SEP.TBK"),
              bank(4, 1,
                   {{1,
                     65,
                     {record(0, tim(water, {.clutX = 16, .clutY = 0, .x = 32, .y = 0, .semiTrans = 0x81})),
                      paletteRecord(0x80000000, 1, 32, 0, ownClut(palette)),
                      record(2, tim(grass, {.clutX = 0, .clutY = 0, .x = 0, .y = 0, .semiTrans = 0x81})),
                      record(3, tim(direct, {.x = 16, .y = 0}))}}}));
    // SEPERATE is off again: the CLUT sits in the group under the image.
    EXPECT_EQ(bankFile("PLAIN.TBK"),
              bank(1, 0, {{1, 17, {record(0, tim(water, {.clutX = 0, .clutY = 16, .x = 0, .y = 0}))}}}));
}

TEST_F(FitBank, ScriptStopsAtABankThatDoesNotFitAndKeepsTheEarlierBank)
{
    using namespace expected;
    const Texture small = pattern(16, 16, 3);
    addTexture("a.tga", small);
    addTexture("b.tga", pattern(256, 4, 3)); // a page column wide: EDGE ON leaves no group for it
    folder.write("s.fit", "A\nFIT: one\nEDGE: ON\nB\nFIT: two\nA\nFIT: three\n");

    const TexeloRun run = runTexelo({"s.fit", "/c"}, folder.path());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(lines(run.out),
              (std::vector<std::string>{"Opened A.tga", "1 unique CLUTs", "Saving Textures...", "Opened B.tga",
                                        "Unable to fit textures into maximum VRAM space!"}));
    EXPECT_EQ(bankFile("ONE.TBK"),
              bank(1, 0, {{1, 17, {record(0, tim(small, {.clutX = 0, .clutY = 16, .x = 0, .y = 0}))}}}));
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"ONE.TBK", "a.tga", "b.tga", "s.fit"}));
}
