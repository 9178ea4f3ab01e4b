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

// TINY cut at every length and with single fields corrupted: refused at the
// byte where it stops making sense, naming the field, without allocating
// what the file cannot justify; the largest legal values still read.
TEST(TbkinfoDamage, EveryCutAndCorruptedFieldIsNamedWhereItIs)
{
    TempFolder folder;
    makeBanks(folder);
    const Bytes tiny = folder.read("TINY.TBK");
    ASSERT_EQ(tiny.size(), 100u);
    // A bank has no group count: cut right after the header it holds none.
    for (std::size_t length = 0; length < tiny.size(); ++length)
    {
        const tbk::BankReadResult result = tbk::readBank(std::span(tiny).first(length));
        ASSERT_EQ(result.damage.has_value(), length != 8) << length;
        EXPECT_EQ(result.damage ? result.damage->offset : 8, length < 28 ? length / 4 * 4 : 20) << length;
    }
    constexpr std::size_t kRecord = 20, kFlags = 32, kClutBlock = 36, kPixelBlock = 80;
    struct Write
    {
        std::size_t offset;
        uint32_t value;
        int bytes = 4;
    };
    struct Case
    {
        std::vector<Write> writes;
        uint64_t offset; // of the damage; without `what`, the bank reads
        std::string what = "";
        std::size_t length = 100; // the file cut to
    };
    const Case cases[] = {
        {{{8, 16}}, 0},
        {{{12, 256}}, 0},
        {{}, 24, "record Id ends past the end of the file", 26},
        {{}, 20, "record of 72 bytes passes the end of the file (71 bytes remain)", 99},
        {{{0, 0}}, 0, "TextureTotal 0 is less than the 1 records in the file"},
        {{{8, 0}}, 8, "GroupColumns 0 is not 1 to 16"},
        {{{8, 17}}, 8, "GroupColumns 17 is not 1 to 16"},
        {{{12, 0}}, 12, "GroupLines 0 is not 1 to 256"},
        {{{12, 257}}, 12, "GroupLines 257 is not 1 to 256"},
        {{{16, 0xFFFFFFFF}}, 100, "record Size ends past the end of the file"},
        {{{kRecord, 74}}, kRecord, "record of 74 bytes passes the end of the file (72 bytes remain)"},
        {{{kRecord, 19}}, kRecord, "record Size 19 is too small for an image"},
        {{{kRecord, 70}},
         kPixelBlock,
         "pixel block length 20 does not match the 18 bytes left in the record"},
        {{{28, 0x11}}, 28, "image id 0x00000011 is not 0x00000010"},
        {{{kFlags, 0xB}}, kFlags, "pixel mode 3 is not 4-, 8- or 16-bit"},
        {{{kFlags, 0}}, kFlags, "a 4-bit image without a CLUT block"},
        {{{kFlags, 0x48}}, kFlags, "image flags 0x00000048 set unknown bits"},
        {{{kFlags, 0x18}}, kFlags, "transparency mode 1 without flag bit 15"},
        {{{kFlags, 0x8038}}, kFlags, "transparency mode 3 is unknown"},
        {{{kClutBlock, 45}}, kClutBlock, "CLUT block length 45 does not fit the 64 bytes left in the record"},
        {{{kClutBlock, 54}}, kClutBlock, "CLUT block length 54 does not fit the 64 bytes left in the record"},
        {{{kClutBlock, 52}}, 44, "CLUT of 16 x 1 needs 44 bytes, its block holds 52"},
        {{{44, 17, 2}}, 44, "CLUT of 17 x 1 needs 46 bytes, its block holds 44"},
        {{{46, 0, 2}}, 44, "CLUT of 16 x 0 has no entries"},
        {{{44, 8, 2}, {kClutBlock, 28}},
         44,
         "a 4-bit CLUT area of 8 entries is no whole number of 16-entry CLUTs"},
        {{{kPixelBlock, 22}},
         kPixelBlock,
         "pixel block length 22 does not match the 20 bytes left in the record"},
        {{{88, 12, 2}}, 88, "a 4-bit image of 12 x 2 pixels needs 24 bytes, its block holds 20"},
        {{{kRecord, 0xE0000048}},
         kRecord,
         "record Size 0xE0000048 has bit 31 set but no PAL, HOMEPAL or AWAYPAL tag"},
        {{{kRecord, 0x80000000 | 74}},
         kRecord,
         "palette record of 74 bytes passes the end of the file (72 bytes remain)"},
        {{{kRecord, 0xC0000048}}, 32, "palette W 8 needs 24 bytes, the record holds 72"},
        {{{kRecord, 0xA0000048}, {32, 32, 2}, {34, 0, 2}}, 34, "palette H is 0"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Bytes bytes = tiny;
        for (const Write& write : c.writes)
            patchLittleEndian(bytes, write.offset, write.value, write.bytes);
        bytes.resize(c.length);
        resetLargestAllocation();
        const tbk::BankReadResult result = tbk::readBank(bytes);
        EXPECT_LT(largestAllocation(), 1024u);
        ASSERT_EQ(result.damage.has_value(), !c.what.empty());
        EXPECT_EQ(result.damage ? result.damage->offset : 0, c.offset);
        EXPECT_EQ(result.damage ? result.damage->what : "", c.what);
    }
}

namespace
{
// A stand-alone TIM read by the bank's record reader, wrapped in a record
// whose image width is in pixels, as a bank stores it.
std::optional<tbk::BankRecord> readTim(Bytes tim)
{
    const std::size_t widthAt = (tim.at(4) & 8 ? 8 + littleEndianAt(tim, 8, 4) : 8) + 8;
    const int perWord = 4 >> (tim.at(4) & 3); // 4-bit: 4 pixels a word, 8-bit: 2, 16-bit: 1
    patchLittleEndian(tim, widthAt, littleEndianAt(tim, widthAt, 2) * perWord, 2);
    Bytes record(8);
    patchLittleEndian(record, 0, tim.size(), 4);
    record.insert(record.end(), tim.begin(), tim.end());
    ByteReader reader(record);
    tbk::BankDamage damage;
    std::vector<tbk::BankWarning> warnings;
    std::optional<tbk::BankRecord> read = tbk::readBankRecord(reader, damage, warnings);
    EXPECT_TRUE(read) << damage.what;
    return read;
}

// Colour k of a source as a preview shows it: 5-bit channels widened, black
// transparent.
tgawriter::Rgba shown(int k)
{
    const auto widened = [](uint8_t c5) { return static_cast<uint8_t>(c5 * 8 + c5 / 4); };
    const tgawriter::Rgba c = psxColour(k);
    return {widened(c.r), widened(c.g), widened(c.b), static_cast<uint8_t>(k == 0 ? 0 : 255)};
}
} // namespace

// Every record as a TIM file that reads back as the record, and a preview
// that gives back its source's colours at every depth.
TEST(TbkinfoExtract, PreviewsGiveBackTheSourceColoursAndTimFilesTheRecords)
{
    TempFolder folder;
    makeBanks(folder);
    struct Want
    {
        std::string file; // in the bank's folder
        std::string source;
        // A palette line gives the colours of its texture (of this many
        // colours) where those of the source, the texture before it, first
        // occur: a strip of 16 in the source's CLUT order.
        int paletteColours = 0;
    };
    const std::pair<std::string, std::vector<Want>> banks[] = {
        {"MIXED",
         {{"g1-r01-id0000", "a"},
          {"g1-r02-id0001", "b"},
          {"g1-r03-id0002", "b", 3},
          {"g1-r04-id0003", "c"},
          {"g1-r05-id0004", ""},
          {"g1-r06-id0006", "d"},
          {"g1-r07-id0007", "d", 12},
          {"g1-r08-id0008", "e"}}},
        {"EIGHT", {{"g1-r01-id0000", "f"}}},
        {"DUP", {{"g1-r01-id0000", "d"}}},
    };
    for (const auto& [bank, wants] : banks)
    {
        const Bytes bytes = folder.read(bank + ".TBK");
        const tbk::BankReadResult read = tbk::readBank(bytes);
        ASSERT_FALSE(read.damage);
        const ProgramRun run = tbkinfo({"--extract", folder.file(bank), folder.file(bank + ".TBK")});
        EXPECT_EQ(run.exitStatus, 0);
        std::string listing;
        for (const Want& want : wants)
            listing += folder.file(bank + "/" + want.file + ".tim\n") +
                       (want.source.empty() ? "" : folder.file(bank + "/" + want.file + ".png\n"));
        EXPECT_EQ(run.out, listing);
        ASSERT_EQ(read.bank.groups.at(0).records.size(), wants.size());
        for (std::size_t r = 0; r < wants.size(); ++r)
        {
            const Want& want = wants[r];
            const tbk::BankRecord& record = read.bank.groups[0].records[r];
            SCOPED_TRACE(bank + "/" + want.file);
            const Picture png = readPng(folder.file(bank + "/" + want.file + ".png"));
            const Source* source = std::ranges::find(kSources, want.source, &Source::name);
            if (want.paletteColours > 0)
            {
                const int used = source->colours;
                std::vector<tgawriter::Rgba> colours(16, tgawriter::Rgba{0, 0, 0, 0});
                for (int k = 0; k < used; ++k)
                    colours[std::size_t(k)] = shown(k % want.paletteColours);
                EXPECT_EQ(png.width, 16);
                EXPECT_TRUE(
                    std::is_permutation(png.pixels.begin(), png.pixels.begin() + used, colours.begin()));
                EXPECT_TRUE(std::equal(png.pixels.begin() + used, png.pixels.end(), colours.begin() + used));
            }
            else if (!want.source.empty())
            {
                std::vector<tgawriter::Rgba> pixels;
                for (int p = 0; p < source->width * source->height; ++p)
                    pixels.push_back(shown(p % source->colours));
                EXPECT_EQ(png.width, source->width);
                EXPECT_EQ(png.height, source->height);
                EXPECT_EQ(png.pixels, pixels);
            }
            const Bytes timBytes = folder.read(bank + "/" + want.file + ".tim");
            const std::optional<tbk::BankRecord> tim = readTim(timBytes);
            ASSERT_TRUE(tim && tim->pixels);
            const auto stored = [&](uint64_t at, uint64_t count)
            { return Bytes(&bytes.at(at), &bytes.at(at) + count); };
            if (record.form == tbk::RecordForm::Palette)
            {
                // A 16-bit line of the stored colours, where the CLUT goes.
                EXPECT_EQ(tim->mode, tbk::PixelMode::Direct16);
                EXPECT_EQ(std::tuple(tim->pixels->dx, tim->pixels->dy, tim->pixels->widthWords,
                                     tim->pixels->height),
                          std::tuple(record.clut->dx, record.clut->dy, record.clut->w, 1));
                EXPECT_EQ(Bytes(timBytes.begin() + 20, timBytes.end()),
                          stored(record.clut->offset + 8, 2 * record.clut->w));
                continue;
            }
            EXPECT_EQ(std::tuple(tim->form, tim->mode, tim->transparency, tim->clut.has_value()),
                      std::tuple(record.form, record.mode, record.transparency, record.clut.has_value()));
            EXPECT_EQ(
                std::tuple(tim->pixels->dx, tim->pixels->dy, tim->pixels->widthWords, tim->pixels->height),
                std::tuple(record.pixels->dx, record.pixels->dy, record.pixels->widthWords,
                           record.pixels->height));
            const auto clutOf = [](const tbk::BankRecord& of)
            {
                return of.clut ? std::vector<uint32_t>{of.clut->dx, of.clut->dy, of.clut->w, of.clut->h,
                                                       of.clut->count}
                               : std::vector<uint32_t>{};
            };
            EXPECT_EQ(clutOf(*tim), clutOf(record));
            // The record's image byte for byte, but for the width in words.
            Bytes image = stored(record.offset + 8, record.size);
            patchLittleEndian(image, record.pixels->offset + 4 - (record.offset + 8),
                              record.pixels->widthWords, 2);
            EXPECT_EQ(timBytes, image);
        }
    }
}

// Every cut and every corrupted byte of a bank either reads and extracts or
// is refused without the folder or any file appearing.
TEST(TbkinfoExtract, ADamagedBankWritesNothing)
{
    TempFolder folder;
    makeBanks(folder);
    const Bytes good = folder.read("DUP.TBK");
    std::vector<Bytes> damaged;
    for (std::size_t length = 0; length < good.size(); ++length)
        damaged.emplace_back(good.begin(), good.begin() + std::ptrdiff_t(length));
    for (std::size_t at = 0; at < good.size(); ++at)
    {
        damaged.push_back(good);
        damaged.back()[at] ^= 0xA5;
    }
    const std::string bank = folder.file("bad.tbk"), into = folder.file("out");
    const std::vector<std::string_view> args{"--extract", into, bank};
    std::size_t refused = 0;
    for (const Bytes& bytes : damaged)
    {
        folder.write("bad.tbk", bytes);
        std::filesystem::remove_all(into);
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        const int status = tbk::runTbkinfo(args, out, err);
        const bool readable = !tbk::readBank(bytes).damage;
        EXPECT_EQ(status, readable ? 0 : 1);
        EXPECT_TRUE(readable || (std::ftell(out) == 0 && !folder.exists("out")));
        refused += !readable;
        std::fclose(out);
        std::fclose(err);
    }
    EXPECT_GT(refused, good.size());
}
