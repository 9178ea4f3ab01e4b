#pragma once

// Runs the backdrop operations in a scratch folder that is also the working
// folder, where NEWBACKDROP finds its ACT palettes. Pictures go to art/ (the
// operations are given the upper-case names a script would give) and output
// to the working folder.

#include "ExpectedBackdrop.h"
#include "TgaWriter.h"
#include "backdrop/Backdrop.h"
#include "script/TexeloContext.h"
#include "CapturingReporter.h"
#include "texelo/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

struct Rgb
{
    uint8_t r = 0, g = 0, b = 0;
};

class BackdropTest : public ::testing::Test
{
protected:
    BackdropTest() : m_saved(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder.path());
        settings.TexturePath = "ART\\";
        settings.OutputPath = "./";
    }
    ~BackdropTest() override { std::filesystem::current_path(m_saved); }

    // An ACT palette file of 256 triplets, `colours` first, then black.
    void writeAct(int number, const std::vector<Rgb>& colours)
    {
        std::vector<uint8_t> bytes(768, 0);
        for (std::size_t i = 0; i < colours.size(); ++i)
        {
            bytes[3 * i] = colours[i].r;
            bytes[3 * i + 1] = colours[i].g;
            bytes[3 * i + 2] = colours[i].b;
        }
        folder.write(std::to_string(number) + ".act", bytes);
    }

    void writePicture(const std::string& file, const tgawriter::TgaImage& tga)
    {
        folder.write("art/" + file, tgawriter::encodeTga(tga));
    }

    [[nodiscard]] std::optional<std::vector<uint8_t>> output(const std::string& name) const
    {
        std::ifstream in(std::filesystem::path(folder.path()) / name, std::ios::binary);
        if (!in)
            return std::nullopt;
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    // Compares a written file with the expected bytes, naming the first
    // difference instead of printing both.
    void expectFile(const std::string& name, const std::vector<uint8_t>& expectedBytes) const
    {
        const std::optional<std::vector<uint8_t>> file = output(name);
        ASSERT_TRUE(file.has_value()) << name << " was not written";
        ASSERT_EQ(file->size(), expectedBytes.size());
        for (std::size_t i = 0; i < expectedBytes.size(); ++i)
            ASSERT_EQ((*file)[i], expectedBytes[i]) << "first difference at offset " << i;
    }

    // No file at all beside the inputs: neither the output nor a temporary.
    [[nodiscard]] bool wroteNothing() const
    {
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        {
            const std::string name = entry.path().filename().string();
            if (name != "art" && !name.ends_with(".act"))
                return false;
        }
        return true;
    }

    TempFolder folder;
    CapturingReporter reporter;
    RunFiles files;
    BackdropSettings settings;
    ColourTable colours;
    TexeloContext ctx{reporter}; // for whole scripts

    void writeBackdrop(std::string_view name) { WriteBackdrop(settings, colours, reporter, files, name); }
    void writeNewBackdrop(std::string_view name) { WriteNewBackdrop(settings, reporter, files, name); }

private:
    std::filesystem::path m_saved;
};

// Indices 0-15 over a 640 x 512 picture, varied in both directions and
// different in the left and right halves of each group.
[[nodiscard]] inline std::vector<uint8_t> patternIndices()
{
    std::vector<uint8_t> indices;
    indices.reserve(expected::kBackdropWidth * expected::kBackdropHeight);
    for (int y = 0; y < expected::kBackdropHeight; ++y)
        for (int x = 0; x < expected::kBackdropWidth; ++x)
            indices.push_back(static_cast<uint8_t>((x / 8 + y * 3 + (x * y) % 5 + (y >= 256 ? 7 : 0)) % 16));
    return indices;
}
