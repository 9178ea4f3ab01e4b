// LoadTgaFile: files named as scripts name them, and the files it refuses.
#include "DecodeRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdlib.h>

namespace
{

using namespace tgatest;
namespace fs = std::filesystem;

class TgaLoad : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "texelo_tga_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        fs::create_directory(m_folder / "textures");
    }
    void TearDown() override { fs::remove_all(m_folder); }

    const fs::path& folder() const { return m_folder; }

    RecordingReporter reporter;
    RunFiles files;

private:
    fs::path m_folder;
};

TEST_F(TgaLoad, FindsLowerCaseFileThroughUpperCaseAndBackslashPath)
{
    const std::vector<Rgba> pixels = {{10, 20, 30, 0}, {40, 50, 60, 0}};
    ASSERT_TRUE(tgawriter::writeTgaFile((folder() / "textures" / "tex.tga").string(),
                                        encodeTga(tgawriter::fromColours(2, 1, pixels, 24))));
    for (const std::string& path :
         {folder().string() + "/TEXTURES/TEX.TGA", folder().string() + "\\Textures\\TEX.TGA"})
    {
        SCOPED_TRACE(path);
        const std::unique_ptr<RgbaImage> image = LoadTgaFile(reporter, files, path);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->Width, 2);
        EXPECT_EQ(image->Height, 1);
        EXPECT_EQ(pixelsOf(*image), pixels);
    }
    EXPECT_EQ(reporter.standardError(), "");
}

TEST_F(TgaLoad, MissingFileGivesNullAndSaysNothing)
{
    EXPECT_EQ(LoadTgaFile(reporter, files, (folder() / "NOPE.TGA").string()), nullptr);
    EXPECT_EQ(reporter.standardError(), "");
    EXPECT_EQ(reporter.standardOutput(), "");
    EXPECT_TRUE(reporter.repaints.empty());
}

TEST_F(TgaLoad, UndecodableFileGivesNullAfterTheDecoderSaysWhy)
{
    tgawriter::TgaImage tga{.width = 4, .height = 4, .depth = 24};
    tga.pixelData = tgawriter::Bytes(10, 0);
    ASSERT_TRUE(tgawriter::writeTgaFile((folder() / "short.tga").string(), encodeTga(tga)));
    EXPECT_EQ(LoadTgaFile(reporter, files, (folder() / "SHORT.TGA").string()), nullptr);
    EXPECT_EQ(reporter.standardError(), kFailed + "\n");
    EXPECT_EQ(reporter.messageLine(), kFailed);
}

} // namespace
