// The texelo executable with --map: the run itself is unchanged, and the
// picture does not depend on whether a display exists.

#include "TexeloRun.h"
#include "TgaWriter.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace
{

std::string fileBytes(const std::string& path)
{
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

// A .fit bank of a 16-colour and a 16-bit texture, shown on the map.
void writeJob(TempFolder& folder)
{
    std::vector<tgawriter::Rgba> few(32 * 32);
    std::vector<tgawriter::Rgba> many(64 * 64);
    for (size_t i = 0; i < few.size(); ++i)
        few[i] = {static_cast<uint8_t>(i % 16 * 16), 0, 0, 255};
    for (size_t i = 0; i < many.size(); ++i)
        many[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i / 64 * 4), 7, 255};
    ASSERT_TRUE(tgawriter::writeTgaFile(folder.path() + "/few.tga",
                                        tgawriter::encodeTga(tgawriter::fromColours(32, 32, few, 24))));
    ASSERT_TRUE(tgawriter::writeTgaFile(folder.path() + "/many.tga",
                                        tgawriter::encodeTga(tgawriter::fromColours(64, 64, many, 24))));
    folder.write("job.fit", "FEW\nMANY\nFIT: BANK\n");
}
} // namespace

TEST(MapOption, RunIsUnchangedAndThePictureShowsTheBank)
{
    TempFolder folder;
    writeJob(folder);
    const TexeloRun plain = runTexelo({"JOB.FIT", "/c"}, folder.path());
    const std::string plainBank = fileBytes(folder.path() + "/BANK.TBK");
    const TexeloRun mapped = runTexelo({"--map", "bank.png", "JOB.FIT", "/c"}, folder.path());
    EXPECT_EQ(mapped.exitStatus, 0);
    EXPECT_EQ(mapped.out, plain.out);
    EXPECT_EQ(mapped.err, "");
    EXPECT_EQ(fileBytes(folder.path() + "/BANK.TBK"), plainBank);

    QImage picture(QString::fromStdString(folder.path() + "/bank.png"));
    ASSERT_FALSE(picture.isNull());
    ASSERT_EQ(picture.width(), 1024);
    const int top = picture.height() - 512;
    EXPECT_GT(top, 0); // the message line
    // Some texture was placed at the top left of page 0, inside a black outline.
    EXPECT_EQ(picture.pixelColor(0, top), QColor(0, 0, 0));
    EXPECT_NE(picture.pixelColor(4, top + 4), QColor(255, 255, 255));
    EXPECT_EQ(picture.pixelColor(1000, top + 300), QColor(255, 255, 255));

    const TexeloRun unwritable = runTexelo({"--map", "no/such/folder/bank.png", "JOB.FIT", "/c"}, folder.path());
    EXPECT_EQ(unwritable.exitStatus, 1);
    EXPECT_EQ(unwritable.out, plain.out);
    EXPECT_EQ(unwritable.err.rfind("texelo: couldn't save the VRAM map as no/such/folder/bank.png: ", 0), 0u);
}

TEST(MapOption, PictureIsTheSameWithAndWithoutADisplay)
{
    TempFolder folder;
    writeJob(folder);
    const TexeloRun headless = runTexelo({"--map", "headless.png", "JOB.FIT", "/c"}, folder.path());
    const TexeloRun shown =
        runOnVirtualDisplay({TEXELO_EXECUTABLE, "--map", "shown.png", "JOB.FIT", "/c"}, folder.path());
    ASSERT_EQ(headless.exitStatus, 0);
    ASSERT_EQ(shown.exitStatus, 0) << shown.err;
    EXPECT_EQ(shown.out, headless.out);
    const std::string picture = fileBytes(folder.path() + "/headless.png");
    EXPECT_FALSE(picture.empty());
    EXPECT_EQ(fileBytes(folder.path() + "/shown.png"), picture);
}
