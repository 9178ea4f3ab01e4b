#pragma once

// Banks as the inspector's reader sees them, and scripts run in process in a
// scratch folder that is also the working folder: scripts name their files
// relative to it and in upper case, and the lookup finds the lower-case
// files written here.

#include "BankReader.h"
#include "CapturingReporter.h"
#include "TempFolder.h"
#include "TgaWriter.h"
#include "script/ScriptDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

// Bytes from fields written as hex numbers, each stored little-endian in as
// many bytes as it has digit pairs; "x*n" is x n times. "00000010 8421*2"
// gives 10 00 00 00 21 84 21 84.
inline Bytes fields(const std::string& text)
{
    Bytes out;
    std::istringstream in(text);
    for (std::string field; in >> field;)
    {
        const std::size_t star = field.find('*');
        const int times = star == std::string::npos ? 1 : std::stoi(field.substr(star + 1));
        field = field.substr(0, star);
        const unsigned long value = std::stoul(field, nullptr, 16);
        for (int n = 0; n < times; ++n)
            for (std::size_t i = 0; i < field.size() / 2; ++i)
                out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
    return out;
}

// The bank in the file as the reader sees it. What makes it damaged, and the
// reader's warnings (an image or CLUT leaving its group or the separate CLUT
// area), are added to `problems`.
inline tbk::Bank readBack(const std::string& path, std::string& problems)
{
    tbk::BankReadResult read = tbk::readBank(readFileBytes(path));
    if (read.damage)
        problems += "damaged at " + std::to_string(read.damage->offset) + ": " + read.damage->what + "; ";
    for (const tbk::BankWarning& warning : read.bank.warnings)
        problems += warning.what + "; ";
    return read.bank;
}

class ScriptRun : public ::testing::Test
{
protected:
    // A 24-bit Targa of width x height pixels cycling through `count`
    // colours; the i-th is the 15-bit colour first + i, so its CLUT entry is
    // 0x8000 | (first + i) and the CLUT lists them in this order.
    void texture(const std::string& name, int width, int height, int count, int first = 0x421)
    {
        std::vector<tgawriter::Rgba> pixels;
        for (int i = 0; i < width * height; ++i)
        {
            const int c = first + i % count;
            pixels.push_back({static_cast<uint8_t>((c & 31) << 3), static_cast<uint8_t>(((c >> 5) & 31) << 3),
                              static_cast<uint8_t>(((c >> 10) & 31) << 3), 0});
        }
        folder.write(name + ".tga", tgawriter::encodeTga(tgawriter::fromColours(width, height, pixels, 24)));
    }

    // Runs `text` as the script `name` (a .fit script when the name says so)
    // in a run of its own.
    void run(const std::string& name, const std::string& text)
    {
        folder.write(name, text);
        ctx.reset();
        reporter = std::make_unique<CapturingReporter>();
        ctx = std::make_unique<TexeloContext>(*reporter);
        RunScript(*ctx, name);
    }

    TempFolder folder;
    WorkingFolder working{folder.path()};
    std::unique_ptr<CapturingReporter> reporter;
    std::unique_ptr<TexeloContext> ctx;
};
