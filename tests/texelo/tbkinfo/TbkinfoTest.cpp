// tbkinfo and its reader on banks the engine wrote from generated textures:
// the reports, every damage named where it is, and --extract giving back the
// source colours and the records.

#include "AllocationHook.h"
#include "BankReader.h"
#include "BankRecordReader.h"
#include "ProgramInputs.h"
#include "TbkinfoCommandLine.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

namespace
{
ProgramRun tbkinfo(std::vector<std::string> args)
{
    args.insert(args.begin(), TBKINFO_EXECUTABLE);
    return runProgram(args);
}

// The textures of the banks, each pixel p colour p % colours.
struct Source
{
    std::string name;
    int width, height, colours;
};
const Source kSources[] = {{"a", 16, 16, 3}, {"b", 10, 6, 12}, {"c", 20, 15, 300}, {"d", 5, 3, 2},
                           {"e", 64, 8, 7},  {"f", 7, 5, 35},  {"t", 8, 2, 3}};

// MIXED: 4- and 16-bit images, every transparency mode and palette tag,
// CLUTs in the separate area; the PAL line after the 16-bit texture finds no
// colours. EIGHT: an 8-bit image whose CLUT leaves its layout group. DUP: an
// image with three CLUTs. TINY: one 4-bit 8 x 2 image, its CLUT under it.
void makeBanks(const TempFolder& folder)
{
    for (const Source& source : kSources)
        folder.write(source.name + ".tga", texture(source.width, source.height, source.colours));
    const std::pair<const char*, const char*> scripts[] = {
        {"mixed.fit", "SEPERATE: ON\nALPHA: a\nB\nHOMEPAL: a\nSUB: c\nPAL: e\nNULL\nTRANS: d\nAWAYPAL: "
                      "b\nE\nFIT: mixed\n"},
        {"eight.lay", "b F 0 0 7 5\nFIT: eight\n"},
        {"dup.lay", "DUPLICATE: 3\na D 0 0 5 3\nFIT: dup\n"},
        {"tiny.lay", "a T 0 0 8 2\nFIT: tiny\n"}};
    for (const auto& [name, text] : scripts)
    {
        folder.write(name, text);
        EXPECT_EQ(texelo({name, "/c"}, folder.path()).exitStatus, 0) << name;
    }
}

std::string header(const std::string& path, int bytes, int total, int rows, int records, int warnings)
{
    return "bank: " + path + "\nbytes: " + std::to_string(bytes) +
           "\ntexture_total: " + std::to_string(total) + "\nseparate_rows: " + std::to_string(rows) +
           "\ngroups: 1\nrecords: " + std::to_string(records) + "\nwarnings: " + std::to_string(warnings) +
           "\n";
}
} // namespace

TEST(Tbkinfo, RunsPrintExitAndWrite)
{
    TempFolder folder;
    makeBanks(folder);
    const std::string mixed = folder.file("MIXED.TBK"), eight = folder.file("EIGHT.TBK");
    const std::string tiny = folder.file("TINY.TBK"), out = folder.file("out");
    Bytes cut = folder.read("TINY.TBK");
    cut.resize(60);
    const std::string cutPath = folder.write("cut.tbk", cut);
    ASSERT_EQ(mkfifo(folder.file("pipe.tbk").c_str(), 0600), 0);
    std::filesystem::copy_file(tiny, folder.file("huge.tbk"));
    std::filesystem::resize_file(folder.file("huge.tbk"), (uint64_t{1} << 30) + 1); // sparse
    std::filesystem::create_directories(folder.file("blocked/g1-r02-id0001.tim"));
    const ProgramRun help = tbkinfo({"--help"});
    EXPECT_EQ(help.out.rfind("usage: tbkinfo [--json] BANK.TBK\n       tbkinfo --extract DIR BANK.TBK\n", 0),
              0u);

    const std::string blocked = folder.file("blocked");
    struct Case
    {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err = "";
    };
    const Case cases[] = {
        {{mixed},
         0,
         header(mixed, 1480, 9, 2, 8, 0) +
             "group 1: offset=8 columns=1 lines=17 records=8 occupancy=47.4%\n"
             "  record 1.1: offset=20 form=texture id=0 mode=4-bit trans=ALPHA x=36 y=0 words=4 pixels=16 "
             "height=16 clut_x=16 clut_y=0 clut_w=16 clut_h=1 cluts=1 size=192\n"
             "  record 1.2: offset=220 form=texture id=1 mode=4-bit trans=none x=40 y=0 words=3 pixels=10 "
             "height=6 clut_x=32 clut_y=0 clut_w=16 clut_h=1 cluts=1 size=100\n"
             "  record 1.3: offset=328 form=palette tag=HOMEPAL id=2 clut_x=0 clut_y=1 clut_w=16 clut_h=1 "
             "cluts=1 size=40\n"
             "  record 1.4: offset=376 form=texture id=3 mode=16-bit trans=SUB x=0 y=0 words=20 pixels=20 "
             "height=15 size=620\n"
             "  record 1.5: offset=1004 form=palette tag=PAL id=4 clut_x=0 clut_y=0 clut_w=0 clut_h=1 "
             "cluts=1 "
             "size=8\n"
             "  record 1.6: offset=1020 form=texture id=6 mode=4-bit trans=TRANS x=43 y=0 words=2 pixels=5 "
             "height=3 clut_x=48 clut_y=0 clut_w=16 clut_h=1 cluts=1 size=76\n"
             "  record 1.7: offset=1104 form=palette tag=AWAYPAL id=7 clut_x=48 clut_y=0 clut_w=16 clut_h=1 "
             "cluts=1 size=40\n"
             "  record 1.8: offset=1152 form=texture id=8 mode=4-bit trans=none x=20 y=0 words=16 pixels=64 "
             "height=8 clut_x=0 clut_y=0 clut_w=16 clut_h=1 cluts=1 size=320\n"},
        {{"--", eight},
         0,
         header(eight, 612, 1, 0, 1, 1) +
             "group 1: offset=8 columns=1 lines=7 records=1 occupancy=4.5%\n"
             "  record 1.1: offset=20 form=texture id=0 mode=8-bit trans=none x=16 y=0 words=4 pixels=7 "
             "height=5 clut_x=0 clut_y=6 clut_w=256 clut_h=1 cluts=1 size=584\n"
             "warning: offset=40 CLUT at 0,6 of 256 x 1 words leaves its group of 64 x 7 words\n"},
        {{cutPath, "--json"},
         1,
         "",
         "tbkinfo: " + cutPath +
             " is damaged at byte 20: record of 72 bytes passes the end of the file (32 bytes remain)\n"},
        {{folder.file("none.tbk")},
         1,
         "",
         "tbkinfo: cannot open " + folder.file("none.tbk") + ": No such file or directory\n"},
        {{folder.path()}, 1, "", "tbkinfo: cannot open " + folder.path() + ": Is a directory\n"},
        // Neither may keep the program waiting or fill its memory.
        {{folder.file("pipe.tbk")},
         1,
         "",
         "tbkinfo: cannot open " + folder.file("pipe.tbk") + ": not a regular file\n"},
        {{folder.file("huge.tbk")},
         1,
         "",
         "tbkinfo: cannot open " + folder.file("huge.tbk") +
             ": longer than 1073741824 bytes, more than a texture bank holds\n"},
        {{"--extract", tiny, tiny}, 1, "", "tbkinfo: cannot extract into " + tiny + ": Not a directory\n"},
        {{"--extract", folder.file("no/out"), tiny},
         1,
         "",
         "tbkinfo: cannot create folder " + folder.file("no/out") + ": No such file or directory\n"},
        // A file that cannot be replaced stops the run; what was listed is whole.
        {{"--extract", blocked, mixed},
         1,
         blocked + "/g1-r01-id0000.tim\n" + blocked + "/g1-r01-id0000.png\n",
         "tbkinfo: g1-r05-id0004 has no pixels: no preview\ntbkinfo: cannot write " + blocked +
             "/g1-r02-id0001.tim\n"},
        {{"--extract", out + "/", tiny}, 0, out + "/g1-r01-id0000.tim\n" + out + "/g1-r01-id0000.png\n"},
        {{}, 2, "", help.out},
        {{tiny, tiny}, 2, "", help.out},
        {{"--jsn", tiny}, 2, "", help.out},
        {{"--json"}, 2, "", help.out},
        {{"--extract", out}, 2, "", help.out},
        {{tiny, "--extract"}, 2, "", help.out},
        {{"--extract", out, "--json", tiny}, 2, "", help.out},
        {{"--extract", out, "--extract", out, tiny}, 2, "", help.out},
        {{"--version"}, 0, "tbkinfo 1.0\n"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const ProgramRun run = tbkinfo(c.args);
        EXPECT_EQ(run.exitStatus, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }

    // JSON, the option before or after the file; a name that is not UTF-8
    // is replaced, not refused.
    std::filesystem::copy_file(tiny, folder.file("\xff.tbk"));
    const ProgramRun json = tbkinfo({folder.file("\xff.tbk"), "--json"});
    EXPECT_EQ(tbkinfo({"--json", folder.file("\xff.tbk")}).out, json.out);
    const nlohmann::json doc = nlohmann::json::parse(json.out);
    EXPECT_EQ(doc["file"], folder.file("\xEF\xBF\xBD.tbk"));
    EXPECT_EQ(doc["texture_total"], 1);
    EXPECT_EQ(doc["groups"][0]["lines"], 3);
    EXPECT_DOUBLE_EQ(doc["groups"][0]["occupancy_percent"].get<double>(), 2.1);
    const nlohmann::json& record = doc["groups"][0]["records"][0];
    EXPECT_EQ(record["form"], "texture");
    EXPECT_EQ(record["pixel_mode"], "4-bit");
    EXPECT_EQ(record["pixels"]["width_words"], 2);
    EXPECT_EQ(record["pixels"]["width_pixels"], 8);
    EXPECT_EQ(record["clut"]["dy"], 2);
}
