// texelo --map: the VRAM map of the last bank as a picture, one pixel per
// VRAM word below the message line and above the bank's name and the legend,
// the same with and without a display; the run itself does not change.

#include "ProgramInputs.h"

#include <gtest/gtest.h>

TEST(MapPicture, ShowsTheLastBankWordForWordWithOrWithoutADisplay)
{
    TempFolder folder;
    folder.write("eight.tga", texture(32, 16, 20));
    folder.write("tiled.tga", texture(32, 32, 2));
    folder.write("four.tga", texture(64, 32, 3));
    folder.write("direct.tga", texture(16, 20, 300));
    folder.write("job.fit", "DIRECT\nFIT: FIRST\nFOUR\nEIGHT\nDIRECT\nTILE: tiled\nFIT: BANK\n"); // the last bank alone
    const ProgramRun plain = texelo({"job.fit", "/c"}, folder.path());
    ASSERT_EQ(plain.exitStatus, 0);
    const Bytes bank = folder.read("BANK.TBK");

    const ProgramRun mapped = texelo({"--map", "my map.png", "job.fit", "/c"}, folder.path());
    EXPECT_EQ(mapped.exitStatus, 0);
    EXPECT_EQ(mapped.out, plain.out);
    EXPECT_EQ(mapped.err, "");
    EXPECT_EQ(folder.read("BANK.TBK"), bank);
    const Picture picture = readPng(folder.file("my map.png"));
    // The message line, then the map, then a strip 8 pixels taller than
    // the line: the bank's name and, at the right, 7 swatches 96 apart.
    const int top = (picture.height - 520) / 2;
    const int legend = 512 + (top + 8) / 2;
    ASSERT_EQ(picture.width, 1024);
    ASSERT_GT(top, 8);

    using tgawriter::Rgba;
    const Rgba white{255, 255, 255, 255}, black{0, 0, 0, 255}, magenta{255, 0, 255, 255}, red{255, 0, 0, 255},
        cyan{0, 255, 255, 255}, yellow{255, 255, 0, 255}, green{0, 255, 0, 255}, blue{0, 0, 255, 255},
        darkGreen{0, 128, 0, 255}, orange{255, 128, 0, 255};
    // clang-format off
    struct Word { int x, y; Rgba colour; };
    // clang-format on
    // Word for word: the engine put the 8-bit image (16 x 16 words) at 0,0,
    // the tiled one (8 x 32) at 16,0, the 4-bit one (16 x 32) at 24,0 and the
    // 16-bit one (16 x 20) at 40,0, each outlined in black; the 8-bit CLUT on
    // line 32, the two 4-bit CLUTs after each other on line 33. Under them,
    // the grid frames each 64 x 256 page on its inside edges.
    // clang-format off
    struct Box { int x, y, w, h; Rgba colour; };
    // clang-format on
    const Box boxes[] = {{0, 0, 16, 16, cyan},    {16, 0, 8, 32, green},      {24, 0, 16, 32, red},
                         {40, 0, 16, 20, yellow}, {0, 32, 256, 1, darkGreen}, {0, 33, 32, 1, blue}};
    int wrong = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 1024; ++x)
        {
            Rgba want = x % 64 == 0 || x % 64 == 63 || y % 256 == 0 || y % 256 == 255 ? magenta : white;
            for (const Box& b : boxes)
                if (x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h)
                    want = b.h > 1 && (x == b.x || x == b.x + b.w - 1 || y == b.y || y == b.y + b.h - 1)
                               ? black
                               : b.colour;
            if (!(picture.at(x, top + y) == want) && wrong++ < 3)
                ADD_FAILURE() << "word " << x << "," << y;
        }
    EXPECT_EQ(wrong, 0);
    const Word legendWords[] = {{345, legend, white},     {352, legend, black},  {358, legend, red},
                                {454, legend, green},     {550, legend, blue},   {646, legend, cyan},
                                {742, legend, darkGreen}, {838, legend, yellow}, {934, legend, orange}};
    for (const Word& word : legendWords)
        EXPECT_EQ(picture.at(word.x, top + word.y), word.colour) << word.x;

    const ProgramRun shown =
        runOnVirtualDisplay({"/usr/bin/timeout", "20", TEXELO_EXECUTABLE, "--map=shown.png", "job.fit", "/c"},
                            within(folder.path()));
    EXPECT_EQ(shown.exitStatus, 0) << shown.err;
    EXPECT_EQ(shown.out, plain.out);
    EXPECT_EQ(folder.read("shown.png"), folder.read("my map.png"));

    const ProgramRun unwritable = texelo({"--map", "no/map.png", "job.fit", "/c"}, folder.path());
    EXPECT_EQ(unwritable.exitStatus, 1);
    EXPECT_EQ(unwritable.out, plain.out);
    EXPECT_EQ(unwritable.err,
              "texelo: job.fit: error: cannot write the VRAM map no/map.png: No such file or directory\n");

    // A bank that does not fit: its placed texture, and an orange outline
    // where the one that found no place was first refused: beside the
    // 4-bit image (16 x 32 words at 0,0), 2 words wide and the band tall.
    folder.write("tall.tga", texture(8, 256, 3));
    folder.write("fail.fit", "FOUR\nTALL\nFIT: FAILED\n");
    const ProgramRun failed = texelo({"--map", "failed.png", "fail.fit", "/c"}, folder.path());
    EXPECT_EQ(failed.exitStatus, 1);
    EXPECT_FALSE(folder.exists("FAILED.TBK"));
    const Picture failedMap = readPng(folder.file("failed.png"));
    ASSERT_EQ(failedMap.width, 1024);
    const Word failedWords[] = {{8, 8, red},       {0, 255, blue},   {16, 0, orange},  {17, 128, orange},
                                {16, 255, orange}, {18, 128, white}, {15, 128, white}, {16, 256, magenta}};
    for (const Word& word : failedWords)
        EXPECT_EQ(failedMap.at(word.x, top + word.y), word.colour) << word.x << "," << word.y;

    // Separate CLUTs lie in the last page column of the bottom band, not
    // beside their image.
    folder.write("separate.fit", "SEPERATE: ON\nFOUR\nFIT: SEPARATE\n");
    EXPECT_EQ(texelo({"--map", "separate.png", "separate.fit", "/c"}, folder.path()).exitStatus, 0);
    const Picture separate = readPng(folder.file("separate.png"));
    const Word separateWords[] = {{960, 256, blue},  {975, 256, blue}, {976, 256, magenta},
                                  {961, 257, white}, {8, 0, black},    {8, 8, red}};
    for (const Word& word : separateWords)
        EXPECT_EQ(separate.at(word.x, top + word.y), word.colour) << word.x << "," << word.y;

    // WIDE fills the first group, so DIRECT opens a second one at word 64 and is drawn there.
    folder.write("wide.tga", texture(64, 255, 300));
    folder.write("wide.fit", "WIDE\nDIRECT\nFIT: WIDE\n");
    ASSERT_EQ(texelo({"--map", "wide.png", "wide.fit", "/c"}, folder.path()).exitStatus, 0);
    EXPECT_EQ(readPng(folder.file("wide.png")).at(70, top + 10), yellow);
}

// Qt is loaded, through the window module beside the program, only for a run
// that shows a window or draws its picture: a copy of the program beside a
// module that cannot be loaded says so for those runs alone, and they go on
// as runs without a window.
TEST(MapPicture, OnlyRunsThatShowOrDrawTheWindowLoadIt)
{
    TempFolder folder;
    folder.write("a.tga", texture(16, 16, 3));
    folder.write("job.fit", "A\nFIT: BANK\n");
    const std::string program = folder.file("program/texelo");
    std::filesystem::create_directories(folder.file("program"));
    std::filesystem::copy_file(TEXELO_EXECUTABLE, program);
    folder.write("program/texelo-window.so", "");
    const std::string out = "Opened A.tga\n1 unique CLUTs\nSaving Textures...\n";
    // clang-format off
    const std::string cannotLoad = "texelo: the window module cannot be loaded: " + folder.file("program/texelo-window.so") + ": file too short\n";
    struct Case { std::vector<std::string> args; int status; std::string err; };
    const Case cases[] = {
        {{"job.fit", "/c"}, 0, ""},
        {{"--map", "map.png", "job.fit", "/c"}, 1, cannotLoad + "texelo: job.fit: error: cannot write the VRAM map map.png: the window module cannot be loaded\n"},
        {{"job.fit"}, 0, cannotLoad + "texelo: the VRAM map cannot be shown: the window module cannot be loaded\n"},
    };
    // clang-format on
    for (const Case& c : cases)
    {
        std::vector<std::string> command = c.args;
        command.insert(command.begin(), program);
        const ProgramRun run = runProgram(command, within(folder.path()));
        EXPECT_EQ(run.exitStatus, c.status) << c.args.front();
        EXPECT_EQ(run.out, out) << c.args.front();
        EXPECT_EQ(run.err, c.err) << c.args.front();
    }
    EXPECT_FALSE(folder.exists("map.png"));
}
