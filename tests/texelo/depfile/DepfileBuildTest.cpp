// The dependency file as a build uses it: a CMake project built by Ninja runs
// texelo through add_custom_command(DEPFILE), and must rebuild the bank
// exactly when a texture changes or a FILES pattern gains a match.

#include "ProgramInputs.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(TexeloDepfile, NinjaRebuildsTheBankWhenItsInputsChange)
{
    TempFolder folder;
    for (const char* name : {"a.tga", "b.tga", "x1.tga"})
        folder.write(std::string("src/tex dir/") + name, texture(8, 8, 3));
    // Upper case in the script: the dependency file must name the files as
    // they are spelt on disk.
    folder.write("src/level.fit", "PATH:..\\SRC\\TEX DIR\\\nA\nB\nFILES: X*.TGA\nFIT: LEVEL\n");
    folder.write("src/CMakeLists.txt", "cmake_minimum_required(VERSION 3.20)\nproject(banks NONE)\n"
                                       "add_custom_command(OUTPUT LEVEL.TBK\n"
                                       "  COMMAND \"" TEXELO_EXECUTABLE "\" --depfile level.d\n"
                                       "    \"${CMAKE_CURRENT_SOURCE_DIR}/level.fit\" /c\n"
                                       "  DEPFILE level.d VERBATIM)\n"
                                       "add_custom_target(bank ALL DEPENDS LEVEL.TBK)\n");
    const ProgramRun configured =
        runProgram({CMAKE_PROGRAM, "-G", "Ninja", "-DCMAKE_MAKE_PROGRAM=" NINJA_PROGRAM, "-S",
                    folder.file("src"), "-B", folder.file("build")});
    ASSERT_EQ(configured.exitStatus, 0) << "ninja: '" NINJA_PROGRAM "'\n" << configured.out << configured.err;

    const auto build = [&](const char* what, bool rebuilt)
    {
        const ProgramRun built = runProgram({NINJA_PROGRAM, "-C", folder.file("build")});
        EXPECT_EQ(built.exitStatus, 0) << what << "\n" << built.out;
        EXPECT_EQ(built.out.find("Generating LEVEL.TBK") != std::string::npos, rebuilt) << what << "\n"
                                                                                        << built.out;
    };
    build("first build", true);
    build("nothing touched", false);
    std::filesystem::last_write_time(folder.file("src/tex dir/b.tga"),
                                     std::filesystem::file_time_type::clock::now());
    build("a texture touched", true);
    build("nothing touched after that", false);
    folder.write("src/tex dir/X2.tga", texture(8, 8, 2));
    build("a texture added that FILES matches", true);
    build("nothing touched at the end", false);
    EXPECT_TRUE(folder.exists("build/LEVEL.TBK"));
}

// Make and Ninja run a script that writes a backdrop and a bank. Places only
// looked in (the palette set's default palettes, a texture's first folder)
// are listed through their folders, so the second build does nothing, and
// creating a file in such a place reruns the script. Under Make the default
// palettes are looked for in the folder the outputs are written to; Ninja
// writes its own logs there, so its palettes folder is another.
TEST(TexeloDepfile, MakeAndNinjaSettleAfterOneBuild)
{
    const std::string texelo = std::string("TEXELO_TEXTURE_FOLDER=../shared '") + TEXELO_EXECUTABLE +
                               "' --depfile sky.d ../src/sky.fit /c";
    const struct
    {
        std::string tool, buildFile, palettes, paletteFolder;
    } builds[] = {
        {MAKE_PROGRAM,
         "all: SKY LEVEL.TBK\nSKY LEVEL.TBK &: ../src/sky.fit\n\t" + texelo + "\n-include sky.d\n", ".", "."},
        {NINJA_PROGRAM,
         "rule texelo\n  command = " + texelo +
             "\n  depfile = sky.d\n"
             "build SKY LEVEL.TBK: texelo ../src/sky.fit\n",
         "..\\SRC", "../src"},
    };
    for (const auto& b : builds)
    {
        SCOPED_TRACE(b.tool);
        TempFolder folder;
        folder.write("src/sky.tga", texture(640, 512, 2));
        folder.write("shared/a.tga", texture(8, 8, 3));
        folder.write("src/local/readme", "the first place textures are looked in");
        folder.write("src/sky.fit", "PALETTES: " + b.palettes +
                                        " 0\nPATH: ..\\SRC\\\nBACKDROP: SKY\n"
                                        "PATH: ..\\SRC\\LOCAL\\\nA\nFIT: LEVEL\n");
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
        for (const std::string& listed : {b.paletteFolder, std::string("../src/local")})
            EXPECT_NE(depfile.find("\n" + listed + ":\n"), std::string::npos) << listed << "\n" << depfile;
        EXPECT_EQ(depfile.find("Default"), std::string::npos) << depfile;
        build("nothing touched", false);
        build("still nothing touched", false);
        folder.write("src/local/A.TGA", texture(8, 8, 2));
        build("the texture appeared in its first place", true);
        build("nothing touched at the end", false);
    }
}
