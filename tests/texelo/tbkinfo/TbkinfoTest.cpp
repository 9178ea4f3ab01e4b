// tbkinfo and its reader on banks the engine wrote from generated textures:
// the reports, every damage named where it is, and --extract giving back the
// source colours and the records.

#include "AllocationHook.h"
#include "BankReader.h"
#include "BankRecordReader.h"
#include "ProgramInputs.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <numeric>

namespace
{
// The textures of the banks, each pixel p colour p % colours.
// clang-format off
struct Source { std::string name; int width, height, colours; };
const Source kSources[] = {{"a", 16, 16, 3}, {"b", 10, 6, 12}, {"c", 20, 15, 300}, {"d", 5, 3, 2}, {"e", 64, 8, 7}, {"f", 7, 5, 35}, {"t", 8, 2, 3}};
// clang-format on

// MIXED: 4- and 16-bit images, every transparency mode and palette tag,
// CLUTs in the separate area; the PAL line after the 16-bit texture finds no
// colours. EIGHT: an 8-bit image whose CLUT leaves its layout group. DUP: an
// image with three CLUTs. TINY: one 4-bit 8 x 2 image, its CLUT under it.
class Tbkinfo : public ::testing::Test
{
protected:
    Tbkinfo()
    {
        for (const Source& source : kSources)
            folder.write(source.name + ".tga", texture(source.width, source.height, source.colours));
        const std::pair<const char*, const char*> scripts[] = {
            {"mixed.fit",
             "SEPERATE: ON\nALPHA: a\nB\nHOMEPAL: a\nSUB: c\nPAL: e\nNULL\nTRANS: d\nAWAYPAL: b\nE\nFIT: mixed\n"},
            {"eight.lay", "b F 0 0 7 5\nFIT: eight\n"},
            {"dup.lay", "DUPLICATE: 3\na D 0 0 5 3\nFIT: dup\n"},
            {"tiny.lay", "a T 0 0 8 2\nFIT: tiny\n"}};
        for (const auto& [name, text] : scripts)
        {
            folder.write(name, text);
            EXPECT_EQ(texelo({name, "/c"}, folder.path()).exitStatus, 0) << name;
        }
    }

    [[nodiscard]] ProgramRun tbkinfo(std::vector<std::string> args, rlim_t fileSizeLimit = RLIM_INFINITY) const
    {
        args.insert(args.begin(), TBKINFO_EXECUTABLE);
        return runProgram(args, within(folder.path(), fileSizeLimit));
    }

    TempFolder folder;
};
} // namespace

TEST_F(Tbkinfo, PrintsExitsAndWrites)
{
    Bytes cut = folder.read("TINY.TBK");
    cut.resize(60);
    folder.write("cut.tbk", cut);
    ASSERT_EQ(mkfifo(folder.file("pipe.tbk").c_str(), 0600), 0);
    folder.write("huge.tbk", "");
    std::filesystem::resize_file(folder.file("huge.tbk"), (uint64_t{1} << 30) + 1); // sparse: takes no room
    std::filesystem::create_directories(folder.file("blocked/g1-r02-id0001.tim"));
    const ProgramRun help = tbkinfo({"--help"});
    EXPECT_EQ(help.out.rfind("usage: tbkinfo [--json] BANK.TBK\n       tbkinfo --extract DIR BANK.TBK\n", 0),
              0u);
    const std::string header = "bytes: 1480\ntexture_total: 9\nseparate_rows: 2\ngroups: 1\nrecords: 8\n";
    // clang-format off
    struct Case { std::vector<std::string> args; int status; std::string out; std::string err = ""; rlim_t limit = RLIM_INFINITY; };
    const Case cases[] = {
        {{"MIXED.TBK"}, 0, "bank: MIXED.TBK\n" + header + "warnings: 0\ngroup 1: offset=8 columns=1 lines=17 records=8 occupancy=47.4%\n  record "
             "1.1: offset=20 form=texture id=0 mode=4-bit trans=ALPHA x=36 y=0 words=4 pixels=16 height=16 clut_x=16 clut_y=0 clut_w=16 clut_h=1 "
             "cluts=1 size=192\n  record 1.2: offset=220 form=texture id=1 mode=4-bit trans=none x=40 y=0 words=3 pixels=10 height=6 clut_x=32 "
             "clut_y=0 clut_w=16 clut_h=1 cluts=1 size=100\n  record 1.3: offset=328 form=palette tag=HOMEPAL id=2 clut_x=0 clut_y=1 clut_w=16 "
             "clut_h=1 cluts=1 size=40\n  record 1.4: offset=376 form=texture id=3 mode=16-bit trans=SUB x=0 y=0 words=20 pixels=20 height=15 "
             "size=620\n  record 1.5: offset=1004 form=palette tag=PAL id=4 clut_x=0 clut_y=0 clut_w=0 clut_h=1 cluts=1 size=8\n  record 1.6: "
             "offset=1020 form=texture id=6 mode=4-bit trans=TRANS x=43 y=0 words=2 pixels=5 height=3 clut_x=48 clut_y=0 clut_w=16 clut_h=1 "
             "cluts=1 size=76\n  record 1.7: offset=1104 form=palette tag=AWAYPAL id=7 clut_x=48 clut_y=0 clut_w=16 clut_h=1 cluts=1 size=40\n  "
             "record 1.8: offset=1152 form=texture id=8 mode=4-bit trans=none x=20 y=0 words=16 pixels=64 height=8 clut_x=0 clut_y=0 clut_w=16 "
             "clut_h=1 cluts=1 size=320\n"},
        {{"--", "EIGHT.TBK"}, 0, "bank: EIGHT.TBK\nbytes: 612\ntexture_total: 1\nseparate_rows: 0\ngroups: 1\nrecords: 1\nwarnings: 1\ngroup 1: "
             "offset=8 columns=1 lines=7 records=1 occupancy=4.5%\n  record 1.1: offset=20 form=texture id=0 mode=8-bit trans=none x=16 y=0 "
             "words=4 pixels=7 height=5 clut_x=0 clut_y=6 clut_w=256 clut_h=1 cluts=1 size=584\nwarning: offset=40 CLUT at 0,6 of 256 x 1 words "
             "leaves its group of 64 x 7 words\n"},
        {{"cut.tbk", "--json"}, 1, "", "tbkinfo: cut.tbk is damaged at byte 20: record of 72 bytes passes the end of the file (32 bytes remain)\n"},
        {{"TINY.TBK"}, 1, "bank: TINY.TBK\nbytes: 100\ntexture_total: 1\nseparate_rows: 0\ngrou", // a report cut short
         "tbkinfo: cannot write the report: File too large\n", 64},
        {{"none.tbk"}, 1, "", "tbkinfo: cannot open none.tbk: No such file or directory\n"},
        {{"blocked"}, 1, "", "tbkinfo: cannot open blocked: Is a directory\n"},
        // Neither may keep the program waiting or fill its memory.
        {{"pipe.tbk"}, 1, "", "tbkinfo: cannot open pipe.tbk: not a regular file\n"},
        {{"huge.tbk"}, 1, "", "tbkinfo: cannot open huge.tbk: longer than 1073741824 bytes, more than a texture bank holds\n"},
        {{"--extract", "TINY.TBK", "TINY.TBK"}, 1, "", "tbkinfo: cannot extract into TINY.TBK: Not a directory\n"},
        {{"--extract", "no/out", "TINY.TBK"}, 1, "", "tbkinfo: cannot create folder no/out: No such file or directory\n"},
        // A file that cannot be replaced stops the run; what was listed is whole.
        {{"--extract", "blocked", "MIXED.TBK"}, 1, "blocked/g1-r01-id0000.tim\nblocked/g1-r01-id0000.png\n",
         "tbkinfo: g1-r05-id0004 has no pixels: no preview\ntbkinfo: cannot write blocked/g1-r02-id0001.tim\n"},
        {{"--extract", "out/", "TINY.TBK"}, 0, "out/g1-r01-id0000.tim\nout/g1-r01-id0000.png\n"}, {{"--version"}, 0, "tbkinfo 1.0\n"},
        {{}, 2, "", help.out}, {{"TINY.TBK", "TINY.TBK"}, 2, "", help.out}, {{"--jsn", "TINY.TBK"}, 2, "", help.out},
        {{"--json"}, 2, "", help.out}, {{"--extract", "out"}, 2, "", help.out}, {{"TINY.TBK", "--extract"}, 2, "", help.out},
        {{"--extract", "out", "--json", "TINY.TBK"}, 2, "", help.out}, {{"--extract", "out", "--extract", "out", "TINY.TBK"}, 2, "", help.out},
    };
    // clang-format on
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const ProgramRun run = tbkinfo(c.args, c.limit);
        EXPECT_EQ(run.exitStatus, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }
    // JSON, asked for before or after the file; a name that is not UTF-8 is
    // replaced, not refused.
    std::filesystem::copy_file(folder.file("MIXED.TBK"), folder.file("\xff.tbk"));
    const ProgramRun json = tbkinfo({"\xff.tbk", "--json"});
    EXPECT_EQ(tbkinfo({"--json", "\xff.tbk"}).out, json.out);
    const nlohmann::json doc = nlohmann::json::parse(json.out);
    EXPECT_EQ(doc["file"], "\xEF\xBF\xBD.tbk");
}

namespace
{
using Fields = std::map<std::string, std::string>; // a JSON place ("/pixels/dx"), its value as text

// The "key=value" fields of a text line, placed through `places`; an unknown key stays a key.
Fields textFields(const std::string& line, const Fields& places)
{
    Fields fields;
    std::istringstream in(line);
    for (std::string field; in >> field;)
    {
        const std::string key = field.substr(0, field.find('='));
        std::string value = field.substr(key.size() + 1);
        if (value.ends_with('%'))
            value.pop_back();
        fields[places.contains(key) ? places.at(key) : key] = value;
    }
    return fields;
}

// The values of `object` that are no list: the text leaves out nulls, and the CLUT's entry count.
Fields jsonFields(nlohmann::json object)
{
    for (const char* list : {"groups", "records", "warnings"})
        object.erase(list);
    Fields fields;
    const nlohmann::json flat = object.flatten();
    for (const auto& [place, value] : flat.items())
        if (!value.is_null() && place != "/clut/entries")
            fields[place] = value.is_string() ? value.get<std::string>() : value.dump();
    return fields;
}
} // namespace

// Every field of every line of the text report is in the JSON report with
// the same value, and the JSON report holds nothing more.
TEST_F(Tbkinfo, TheJsonReportSaysWhatTheTextReportSays)
{
    // clang-format off
    const Fields bankPlaces{{"bank", "/file"}, {"bytes", "/bytes"}, {"texture_total", "/texture_total"}, {"separate_rows", "/separate_rows"}, {"records", "/record_count"}};
    const Fields groupPlaces{{"offset", "/offset"}, {"columns", "/columns"}, {"lines", "/lines"}, {"records", "/record_count"}, {"occupancy", "/occupancy_percent"}};
    const Fields recordPlaces{{"offset", "/offset"}, {"form", "/form"}, {"tag", "/palette_tag"}, {"id", "/id"}, {"mode", "/pixel_mode"}, {"trans", "/transparency"},
        {"x", "/pixels/dx"}, {"y", "/pixels/dy"}, {"words", "/pixels/width_words"}, {"pixels", "/pixels/width_pixels"}, {"height", "/pixels/height"},
        {"clut_x", "/clut/dx"}, {"clut_y", "/clut/dy"}, {"clut_w", "/clut/w"}, {"clut_h", "/clut/h"}, {"cluts", "/clut/count"}, {"size", "/size"}};
    // clang-format on
    std::size_t warningsSeen = 0;
    for (const char* bank : {"MIXED.TBK", "EIGHT.TBK", "DUP.TBK", "TINY.TBK"})
    {
        SCOPED_TRACE(bank);
        const nlohmann::json doc = nlohmann::json::parse(tbkinfo({"--json", bank}).out);
        std::istringstream text(tbkinfo({bank}).out);
        std::string bankFields;
        std::size_t group = 0, record = 0, warning = 0;
        for (std::string line; std::getline(text, line);)
        {
            const std::string fields = line.substr(line.find(": ") + 2);
            if (std::sscanf(line.c_str(), "  record %zu.%zu:", &group, &record) == 2)
                EXPECT_EQ(textFields(fields, recordPlaces), jsonFields(doc["groups"][group - 1]["records"][record - 1]))
                    << line;
            else if (std::sscanf(line.c_str(), "group %zu:", &group) == 1)
                EXPECT_EQ(textFields(fields, groupPlaces), jsonFields(doc["groups"][group - 1])) << line;
            else if (line.starts_with("warning: "))
            {
                const nlohmann::json& w = doc["warnings"].at(warning++);
                EXPECT_EQ(fields, "offset=" + w.at("offset").dump() + " " + w.at("what").get<std::string>());
            }
            else if (line.starts_with("groups: ") || line.starts_with("warnings: "))
                EXPECT_EQ(fields, std::to_string(doc[line.substr(0, line.find(':'))].size())) << line;
            else
                bankFields += line.substr(0, line.find(':')) + "=" + fields + " ";
        }
        EXPECT_EQ(textFields(bankFields, bankPlaces), jsonFields(doc));
        EXPECT_EQ(warning, doc["warnings"].size());
        warningsSeen += warning;
    }
    EXPECT_GT(warningsSeen, 0u);
}

// TINY cut at every length and with single fields corrupted: refused at the
// byte where it stops making sense, naming the field, without allocating
// what the file cannot justify, and extracting nothing; the largest legal
// values still read.
TEST_F(Tbkinfo, DamageIsNamedWhereItIsAndExtractsNothing)
{
    const Bytes tiny = folder.read("TINY.TBK");
    ASSERT_EQ(tiny.size(), 100u);
    const auto expectNothingExtracted = [&](const Bytes& bytes)
    {
        folder.write("bad.tbk", bytes);
        const ProgramRun run = tbkinfo({"--extract", "out", "bad.tbk"});
        EXPECT_EQ(std::tuple(run.exitStatus, run.out), std::tuple(1, ""));
        EXPECT_FALSE(folder.exists("out"));
    };
    // A bank has no group count: cut right after the header it holds none.
    for (std::size_t length = 0; length < tiny.size(); ++length)
    {
        const Bytes cut(tiny.begin(), tiny.begin() + std::ptrdiff_t(length));
        const tbk::BankReadResult result = tbk::readBank(cut);
        ASSERT_EQ(result.damage.has_value(), length != 8) << length;
        EXPECT_EQ(result.damage ? result.damage->offset : 8, length < 28 ? length / 4 * 4 : 20) << length;
        if (result.damage)
            expectNothingExtracted(cut);
    }
    constexpr std::size_t R = 20, F = 32, C = 36, P = 80; // record, image flags, CLUT and pixel block
    // clang-format off
    struct Write { std::size_t offset; uint32_t value; int bytes = 4; };
    // The offset of the damage (without `what`, the bank reads) and the length the file is cut to.
    struct Case { std::vector<Write> writes; uint64_t offset; std::string what = ""; std::size_t length = 100; };
    const Case cases[] = {
        {{{8, 16}}, 0}, {{{12, 256}}, 0},
        {{}, 24, "record Id ends past the end of the file", 26}, {{}, 20, "record of 72 bytes passes the end of the file (71 bytes remain)", 99},
        {{{0, 0}}, 0, "TextureTotal 0 is less than the 1 records in the file"},
        {{{8, 0}}, 8, "GroupColumns 0 is not 1 to 16"}, {{{8, 17}}, 8, "GroupColumns 17 is not 1 to 16"},
        {{{12, 0}}, 12, "GroupLines 0 is not 1 to 256"}, {{{12, 257}}, 12, "GroupLines 257 is not 1 to 256"},
        {{{16, 0xFFFFFFFF}}, 100, "record Size ends past the end of the file"},
        {{{R, 74}}, R, "record of 74 bytes passes the end of the file (72 bytes remain)"}, {{{R, 19}}, R, "record Size 19 is too small for an image"},
        {{{R, 70}}, P, "pixel block length 20 does not match the 18 bytes left in the record"},
        {{{28, 0x11}}, 28, "image id 0x00000011 is not 0x00000010"}, {{{F, 0xB}}, F, "pixel mode 3 is not 4-, 8- or 16-bit"},
        {{{F, 0}}, F, "a 4-bit image without a CLUT block"}, {{{F, 0x48}}, F, "image flags 0x00000048 set unknown bits"},
        {{{F, 0x18}}, F, "transparency mode 1 without flag bit 15"}, {{{F, 0x8038}}, F, "transparency mode 3 is unknown"},
        {{{C, 45}}, C, "CLUT block length 45 does not fit the 64 bytes left in the record"},
        {{{C, 54}}, C, "CLUT block length 54 does not fit the 64 bytes left in the record"},
        {{{C, 52}}, 44, "CLUT of 16 x 1 needs 44 bytes, its block holds 52"}, {{{44, 17, 2}}, 44, "CLUT of 17 x 1 needs 46 bytes, its block holds 44"},
        {{{46, 0, 2}}, 44, "CLUT of 16 x 0 has no entries"},
        {{{44, 8, 2}, {C, 28}}, 44, "a 4-bit CLUT area of 8 entries is no whole number of 16-entry CLUTs"},
        {{{P, 22}}, P, "pixel block length 22 does not match the 20 bytes left in the record"},
        {{{88, 12, 2}}, 88, "a 4-bit image of 12 x 2 pixels needs 24 bytes, its block holds 20"},
        {{{R, 0xE0000048}}, R, "record Size 0xE0000048 has bit 31 set but no PAL, HOMEPAL or AWAYPAL tag"},
        {{{R, 0x80000000 | 74}}, R, "palette record of 74 bytes passes the end of the file (72 bytes remain)"},
        {{{R, 0xC0000048}}, 32, "palette W 8 needs 24 bytes, the record holds 72"}, {{{R, 0xA0000048}, {32, 32, 2}, {34, 0, 2}}, 34, "palette H is 0"},
    };
    // clang-format on
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
        EXPECT_EQ(result.damage ? result.damage->offset : 0, c.offset);
        EXPECT_EQ(result.damage ? result.damage->what : "", c.what);
        if (result.damage)
            expectNothingExtracted(bytes);
    }
}

// Every record as a TIM file that the bank's record reader reads back as the
// record, and a preview giving back its source's colours at every depth.
TEST_F(Tbkinfo, ExtractGivesBackTheSourceColoursAndTheRecords)
{
    // A palette line gives the colours of its texture (of paletteColours colours)
    // where those of the source, the texture before it, first occur: a strip of
    // 16 in the source's CLUT order.
    // clang-format off
    struct Want { std::string file /* in the bank's folder */, source; int paletteColours = 0; };
    const std::pair<std::string, std::vector<Want>> banks[] = {
        {"MIXED", {{"g1-r01-id0000", "a"}, {"g1-r02-id0001", "b"}, {"g1-r03-id0002", "b", 3}, {"g1-r04-id0003", "c"},
                   {"g1-r05-id0004", ""}, {"g1-r06-id0006", "d"}, {"g1-r07-id0007", "d", 12}, {"g1-r08-id0008", "e"}}},
        {"EIGHT", {{"g1-r01-id0000", "f"}}}, {"DUP", {{"g1-r01-id0000", "d"}}},
    };
    // clang-format on
    // Colour k as a preview shows it: 5-bit channels widened, black transparent.
    const auto shown = [](int k)
    {
        const auto widened = [](uint8_t c5) { return static_cast<uint8_t>(c5 * 8 + c5 / 4); };
        const tgawriter::Rgba c = psxColour(k);
        return tgawriter::Rgba{widened(c.r), widened(c.g), widened(c.b), uint8_t(k == 0 ? 0 : 255)};
    };
    for (const auto& [bank, wants] : banks)
    {
        const Bytes bytes = folder.read(bank + ".TBK");
        const tbk::BankReadResult read = tbk::readBank(bytes);
        ASSERT_EQ(read.bank.groups.at(0).records.size(), wants.size());
        std::string listing;
        for (const Want& want : wants)
            listing += bank + "/" + want.file + ".tim\n" +
                       (want.source.empty() ? "" : bank + "/" + want.file + ".png\n");
        EXPECT_EQ(tbkinfo({"--extract", bank, bank + ".TBK"}).out, listing);
        for (std::size_t r = 0; r < wants.size(); ++r)
        {
            const Want& want = wants[r];
            const tbk::BankRecord& record = read.bank.groups[0].records[r];
            SCOPED_TRACE(bank + "/" + want.file);
            Picture png = readPng(folder.file(bank + "/" + want.file + ".png"));
            const Source* source = std::ranges::find(kSources, want.source, &Source::name);
            const int width = source == std::end(kSources) ? 0 : want.paletteColours > 0 ? 16 : source->width;
            std::vector<tgawriter::Rgba> pixels(want.paletteColours > 0 ? 16 : 0, tgawriter::Rgba{});
            for (int p = 0; want.paletteColours == 0 && width > 0 && p < source->width * source->height; ++p)
                pixels.push_back(shown(p % source->colours));
            // A strip is in CLUT order: the source's colours by rising 15-bit value.
            std::vector<int> order(want.paletteColours > 0 ? std::size_t(source->colours) : 0);
            std::iota(order.begin(), order.end(), 0);
            std::ranges::sort(
                order, {}, [](int k) { return psxColour(k).b << 10 | psxColour(k).g << 5 | psxColour(k).r; });
            for (std::size_t j = 0; j < order.size(); ++j)
                pixels[j] = shown(order[j] % want.paletteColours);
            EXPECT_EQ(png.width, width);
            EXPECT_EQ(png.pixels, pixels);

            // The TIM wrapped in a record whose width is in pixels, as a bank stores it.
            Bytes tim = folder.read(bank + "/" + want.file + ".tim");
            Bytes wrapped(8);
            patchLittleEndian(wrapped, 0, tim.size(), 4);
            wrapped.insert(wrapped.end(), tim.begin(), tim.end());
            const std::size_t widthAt = 8 + (tim.at(4) & 8 ? 8 + littleEndianAt(tim, 8, 4) : 8) + 8;
            patchLittleEndian(wrapped, widthAt, littleEndianAt(wrapped, widthAt, 2) << (2 - (tim.at(4) & 3)), 2);
            ByteReader reader(wrapped);
            tbk::BankDamage damage;
            std::vector<tbk::BankWarning> warnings;
            const std::optional<tbk::BankRecord> fromTim = tbk::readBankRecord(reader, damage, warnings);
            ASSERT_TRUE(fromTim && fromTim->pixels) << damage.what;
            const auto stored = [&](uint64_t at, uint64_t count)
            { return Bytes(&bytes.at(at), &bytes.at(at) + count); };
            if (record.form == tbk::RecordForm::Palette)
            {
                // A 16-bit line of the stored colours, where the CLUT goes.
                const tbk::PixelArea& p = *fromTim->pixels;
                EXPECT_EQ(std::tuple(fromTim->mode, p.dx, p.dy, p.widthWords),
                          std::tuple(tbk::PixelMode::Direct16, record.clut->dx, record.clut->dy, record.clut->w));
                EXPECT_EQ(Bytes(tim.begin() + 20, tim.end()), stored(record.clut->offset + 8, 2 * record.clut->w));
                continue;
            }
            EXPECT_EQ(std::tuple(fromTim->form, fromTim->mode, fromTim->pixels->widthWords),
                      std::tuple(record.form, record.mode, record.pixels->widthWords));
            // The record's image byte for byte, but for the width in words.
            Bytes image = stored(record.offset + 8, record.size);
            patchLittleEndian(image, record.pixels->offset + 4 - (record.offset + 8),
                              record.pixels->widthWords, 2);
            EXPECT_EQ(tim, image);
        }
    }
    // Only 0x0000 is see-through: TINY's texel 0 through CLUT entry 0 (byte 48) as STP black is drawn.
    Bytes stp = folder.read("TINY.TBK");
    patchLittleEndian(stp, 48, 0x8000, 2);
    folder.write("stp.tbk", stp);
    ASSERT_EQ(tbkinfo({"--extract", "stp", "stp.tbk"}).exitStatus, 0);
    EXPECT_EQ(readPng(folder.file("stp/g1-r01-id0000.png")).pixels.at(0), (tgawriter::Rgba{0, 0, 0, 255}));
}
