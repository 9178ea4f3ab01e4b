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
