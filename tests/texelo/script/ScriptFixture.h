#pragma once

// Runs scripts in a scratch folder that is also the working folder, because
// scripts name their files relative to it and in upper case (the lookup finds
// the lower-case files this fixture writes).

#include "ExpectedBank.h"
#include "script/ScriptDriver.h"
#include "script/TexeloContext.h"
#include "CapturingReporter.h"
#include "texelo/TempFolder.h"

#include "../palette/PaletteFileWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

inline constexpr const char* kDefaultFolder = "t:\\Varnok\\Textures\\PSX\\TGAS\\Objects\\Global\\";

class ScriptTest : public ::testing::Test
{
protected:
    ScriptTest() : m_saved(std::filesystem::current_path()) { std::filesystem::current_path(folder.path()); }
    ~ScriptTest() override { std::filesystem::current_path(m_saved); }

    void addTexture(const std::string& relative, const expected::Texture& texture)
    {
        folder.write(relative, expected::targa(texture));
    }

    // The record's texture as the TIM image it encodes to; empty without one.
    static std::vector<uint8_t> timBytes(const TextureRecord& record)
    {
        return record.TimData ? EncodeTim(*record.TimData) : std::vector<uint8_t>{};
    }

    // Writes the script and runs it in the same context as earlier runs.
    void run(const std::string& name, const std::string& text)
    {
        folder.write(name, text);
        RunScript(ctx, name);
    }

    // A palette set whose reference palette holds `reference` at indices 0,
    // 1, ... and whose palette k holds sets[k] at the same indices; all
    // other colours black. Written as raw triplets under .PAL names.
    void addPaletteSet(const std::string& dir, const std::vector<uint16_t>& reference,
                       const std::vector<std::vector<uint16_t>>& sets)
    {
        const auto file = [](const std::vector<uint16_t>& colours)
        {
            std::vector<palettewriter::Rgb> rgb(256);
            for (std::size_t i = 0; i < colours.size(); ++i)
                rgb[i] = palettewriter::rgbOfPsx(colours[i]);
            return palettewriter::rawPalette(rgb);
        };
        folder.write(dir + "/default.pal", file(reference));
        for (std::size_t k = 0; k < sets.size(); ++k)
            folder.write(dir + "/pal" + std::to_string(k) + ".pal", file(sets[k]));
    }

    [[nodiscard]] bool exists(const std::string& relative) const
    {
        return std::filesystem::exists(std::filesystem::path(folder.path()) / relative);
    }

    TempFolder folder;
    CapturingReporter reporter;
    TexeloContext ctx{reporter};

private:
    std::filesystem::path m_saved;
};
