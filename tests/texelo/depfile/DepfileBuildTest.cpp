// The dependency file as builds use it: Make and Ninja run a script that
// writes a backdrop and a bank, and rerun it exactly when an input changes:
// a texture touched, a file added that FILES matches, a file created where it
// was only looked for. Places only looked in (the palette set's default
// palettes, a texture's first folder) are listed through their folders, so
// a second build does nothing. Under Make the default palettes are looked for
// in the folder the outputs are written to; Ninja writes its own logs there,
// so its palettes folder is another.

#include "ProgramInputs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

TEST(TexeloDepfile, MakeAndNinjaRerunExactlyWhenAnInputChanges)
{
    const std::string texelo = std::string("TEXELO_TEXTURE_FOLDER=../shared '") + TEXELO_EXECUTABLE +
                               "' --depfile sky.d '../src/sky.fit' /c";
    // clang-format off
    const struct { std::string tool, buildFile, palettes, paletteFolder; } builds[] = {
        {MAKE_PROGRAM, "all: SKY LEVEL.TBK\nSKY LEVEL.TBK &: ../src/sky.fit\n\t" + texelo + "\n-include sky.d\n", ".", "."},
        {NINJA_PROGRAM, "rule texelo\n  command = " + texelo + "\n  depfile = sky.d\nbuild SKY LEVEL.TBK: texelo ../src/sky.fit\n",
         "..\\SRC", "../src"},
    };
    // clang-format on
    for (const auto& b : builds)
    {
        SCOPED_TRACE(b.tool);
        TempFolder folder;
        folder.write("src/sky.tga", texture(640, 512, 2));
        folder.write("shared/a.tga", texture(8, 8, 3));
        for (const char* name : {"b.tga", "x1.tga"})
            folder.write(std::string("src/tex dir/") + name, texture(8, 8, 3));
        // Upper case in the script: the dependency file must name the files
        // as they are spelt on disk.
        folder.write("src/sky.fit", "PALETTES: " + b.palettes + " 0\nPATH: ..\\SRC\\\nBACKDROP: SKY\n" +
                                        "PATH: ..\\SRC\\TEX DIR\\\nA\nB\nFILES: X*.TGA\nFIT: LEVEL\n");
        folder.write(b.tool == MAKE_PROGRAM ? "out/Makefile" : "out/build.ninja", b.buildFile);
        const auto build = [&](const char* what, bool rebuilt)
        {
            const ProgramRun built = runProgram({b.tool}, within(folder.file("out")));
            EXPECT_EQ(built.exitStatus, 0) << what << "\n" << built.out << built.err;
            EXPECT_EQ(built.out.find("--depfile") != std::string::npos, rebuilt) << what << "\n" << built.out;
        };
        build("first build", true);
        // Each prerequisite also has an empty rule of its own.
        const std::string depfile = folder.text("out/sky.d");
        for (const std::string& listed :
             {b.paletteFolder, std::string("../src/tex\\ dir"), std::string("../src/tex\\ dir/b.tga")})
            EXPECT_NE(depfile.find("\n" + listed + ":\n"), std::string::npos) << listed << "\n" << depfile;
        EXPECT_EQ(depfile.find("Default"), std::string::npos) << depfile;
        build("nothing touched", false);
        build("still nothing touched", false);
        // Edits come later than the build: file times move in ticks of a few
        // milliseconds, and one in the same tick as the stamp is no change.
        const auto later = [] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); };
        later();
        std::filesystem::last_write_time(folder.file("src/tex dir/b.tga"),
                                         std::filesystem::file_time_type::clock::now());
        build("a texture touched", true);
        later();
        folder.write("src/tex dir/X2.tga", texture(8, 8, 2));
        build("a texture added that FILES matches", true);
        later();
        folder.write("src/tex dir/A.TGA", texture(8, 8, 2));
        build("the texture appeared in its first place", true);
        build("nothing touched at the end", false);
    }
}
