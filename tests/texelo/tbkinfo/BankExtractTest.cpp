// tbkinfo --extract on banks the engine writes from generated Targa files:
// the previews give back the source colours reduced to 5 bits, the TIM files
// read back as the records, a damaged bank writes nothing, and the program
// lists what it wrote.
#include "BankReader.h"
#include "BankRecordReader.h"
#include "ScriptFixture.h"
#include "TbkinfoCommandLine.h"
#include "TgaWriter.h"

#include <png.h>
#include <sys/wait.h>

#include <algorithm>
#include <map>

namespace
{

using tgawriter::Rgba;

struct Source
{
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels; // 8-bit channels as the Targa file holds them
};

// `count` colours spread over the cube, black first, each pixel one of them.
Source makeSource(int width, int height, int count)
{
    Source source{width, height, {}};
    for (int p = 0; p < width * height; ++p)
    {
        const int i = p * 7 % count;
        source.pixels.push_back(i == 0 ? Rgba{2, 3, 1, 0}
                                       : Rgba{static_cast<uint8_t>(i * 37 + 11),
                                              static_cast<uint8_t>(i * 91 + 5),
                                              static_cast<uint8_t>(i * 53 + 200), 0});
    }
    return source;
}

// What a preview must show for a source pixel: each channel rounded to 5
// bits and widened back; a pixel that rounds to black is transparent.
Rgba expectedPixel(Rgba source)
{
    const auto channel = [](int c) { return std::min((c + 4) / 8, 31); };
    const auto widened = [](int c5) { return static_cast<uint8_t>(c5 * 8 + c5 / 4); };
    const int r = channel(source.r), g = channel(source.g), b = channel(source.b);
    const bool black = r == 0 && g == 0 && b == 0;
    return {widened(r), widened(g), widened(b), static_cast<uint8_t>(black ? 0 : 255)};
}

// A PSX colour as a preview must show it.
Rgba expectedPsx(uint16_t colour)
{
    const auto widened = [](int c5) { return static_cast<uint8_t>(c5 * 8 + c5 / 4); };
    return {widened(colour & 31), widened(colour >> 5 & 31), widened(colour >> 10 & 31),
            static_cast<uint8_t>(colour == 0 ? 0 : 255)};
}

struct Png
{
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;
};

Png readPng(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Png png;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
    {
        ADD_FAILURE() << path << ": " << image.message;
        return png;
    }
    image.format = PNG_FORMAT_RGBA;
    png.width = static_cast<int>(image.width);
    png.height = static_cast<int>(image.height);
    png.pixels.resize(std::size_t{image.width} * image.height);
    if (!png_image_finish_read(&image, nullptr, png.pixels.data(), 0, nullptr))
        ADD_FAILURE() << path << ": " << image.message;
    return png;
}

// A stand-alone TIM read through the bank's record reader: put into a record
// with its width turned back from words into the pixels the bank stores.
std::optional<tbk::BankRecord> readTim(expected::Bytes tim)
{
    const uint32_t flags = tim.at(4);
    const std::size_t pixelBlock = flags & 8 ? 8 + (tim.at(8) | tim.at(9) << 8) : 8;
    const int perWord = (flags & 7) == 0 ? 4 : (flags & 7) == 1 ? 2 : 1;
    const int pixels = (tim.at(pixelBlock + 8) | tim.at(pixelBlock + 9) << 8) * perWord;
    tim.at(pixelBlock + 8) = static_cast<uint8_t>(pixels);
    tim.at(pixelBlock + 9) = static_cast<uint8_t>(pixels >> 8);
    const auto size = static_cast<uint32_t>(tim.size());
    expected::Bytes record{static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8), 0, 0, 0, 0, 0, 0};
    record.insert(record.end(), tim.begin(), tim.end());
    ByteReader reader(record);
    tbk::BankDamage damage;
    std::vector<tbk::BankWarning> warnings;
    std::optional<tbk::BankRecord> read = tbk::readBankRecord(reader, damage, warnings);
    EXPECT_TRUE(read) << damage.what;
    return read;
}

struct ProgramRun
{
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// The real program, through the shell; the arguments are paths the test made
// (no quotes in them), and its standard error goes to a file of the folder.
ProgramRun runProgram(const char* program, const std::vector<std::string>& args)
{
    std::string command = program;
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    command += " 2>tbkinfo.err";
    ProgramRun run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char chunk[4096];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        run.out.append(chunk, got);
    const int status = pclose(pipe);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const expected::Bytes err = expected::readFile("tbkinfo.err");
    run.err.assign(err.begin(), err.end());
    return run;
}

} // namespace

class BankExtract : public ScriptTest
{
protected:
    void addSource(const std::string& name, const Source& source)
    {
        folder.write(name, tgawriter::encodeTga(
                               tgawriter::fromColours(source.width, source.height, source.pixels, 24)));
        sources[name] = source;
    }

    // Runs tbkinfo in this process; its standard output in `out`.
    int extract(const std::string& bank, const std::string& into)
    {
        std::FILE* outFile = std::tmpfile();
        std::FILE* errFile = std::tmpfile();
        const std::vector<std::string_view> args{"--extract", into, bank};
        const int status = tbk::runTbkinfo(args, outFile, errFile);
        out = expected::Bytes(static_cast<std::size_t>(std::ftell(outFile)));
        std::rewind(outFile);
        EXPECT_EQ(std::fread(out.data(), 1, out.size(), outFile), out.size());
        std::fclose(outFile);
        std::fclose(errFile);
        return status;
    }

    std::map<std::string, Source> sources;
    expected::Bytes out;
};

TEST_F(BankExtract, PreviewsGiveBackTheSourceColoursAndTimFilesReadAsTheRecords)
{
    // Odd widths, so both the 4-bit and the 8-bit lines carry padding.
    addSource("a.tga", makeSource(5, 3, 12));
    addSource("b.tga", makeSource(7, 5, 40));
    addSource("c.tga", makeSource(20, 15, 300));
    const expected::Texture four = expected::pattern(16, 16, 2);
    addTexture("d.tga", four);
    // A set of four palettes, all different, over the texture's two colours.
    std::vector<std::vector<uint16_t>> sets;
    for (uint16_t k = 0; k < 4; ++k)
        sets.push_back({static_cast<uint16_t>(0x1000 + k), static_cast<uint16_t>(0x2000 + k)});
    addPaletteSet("pals", four.colours, sets);
    run("all.fit", "ALPHA: c\nB\nA\nPAL: a\nFIT: all\nPALETTES: pals 4\nREMAP: ACROSS\nD\nFIT: sets\n");
    ASSERT_EQ(extract("ALL.TBK", "all"), 0);
    ASSERT_EQ(extract("SETS.TBK", "sets"), 0);

    // The palette strip: A's colours in CLUT order (ascending PSX value), then
    // the unused entries of its 16, transparent.
    std::vector<std::pair<int, Rgba>> ordered;
    for (const Rgba& pixel : sources["a.tga"].pixels)
    {
        const Rgba want = expectedPixel(pixel);
        const int key = want.b >> 3 << 10 | want.g >> 3 << 5 | want.r >> 3;
        if (std::ranges::find(ordered, std::pair{key, want}) == ordered.end())
            ordered.emplace_back(key, want);
    }
    std::ranges::sort(ordered, {}, &std::pair<int, Rgba>::first);
    std::vector<Rgba> strip(16);
    std::ranges::transform(ordered, strip.begin(), &std::pair<int, Rgba>::second);

    // Through the first palette of the set; the second would give 0x1001, 0x2001.
    std::vector<Rgba> remapped;
    for (uint16_t index : four.pixels)
        remapped.push_back(expectedPsx(sets[0][index]));

    struct Case
    {
        const char* bank;
        const char* file;
        uint32_t id;
        tbk::RecordForm form;
        std::optional<tbk::PixelMode> mode;
        int width, height;
        std::vector<Rgba> pixels;
    };
    const auto fromSource = [&](const char* name)
    {
        std::vector<Rgba> pixels;
        std::ranges::transform(sources[name].pixels, std::back_inserter(pixels), expectedPixel);
        return pixels;
    };
    const Case cases[] = {
        {"ALL.TBK", "all/g1-r01-id0000", 0, tbk::RecordForm::Texture, tbk::PixelMode::Direct16, 20, 15,
         fromSource("c.tga")},
        {"ALL.TBK", "all/g1-r02-id0001", 1, tbk::RecordForm::Texture, tbk::PixelMode::Indexed8, 7, 5,
         fromSource("b.tga")},
        {"ALL.TBK", "all/g1-r03-id0002", 2, tbk::RecordForm::Texture, tbk::PixelMode::Indexed4, 5, 3,
         fromSource("a.tga")},
        {"ALL.TBK", "all/g1-r04-id0003", 3, tbk::RecordForm::Palette, std::nullopt, 16, 1, strip},
        {"SETS.TBK", "sets/g1-r01-id0000", 0, tbk::RecordForm::SeveralCluts, tbk::PixelMode::Indexed4, 16, 16,
         remapped},
    };
    std::map<std::string, expected::Bytes> banks;
    for (const Case& want : cases)
    {
        SCOPED_TRACE(want.file);
        const Png png = readPng(want.file + std::string(".png"));
        EXPECT_EQ(png.width, want.width);
        EXPECT_EQ(png.height, want.height);
        EXPECT_EQ(png.pixels, want.pixels);

        banks.try_emplace(want.bank, expected::readFile(want.bank));
        const expected::Bytes& bytes = banks[want.bank];
        const tbk::BankReadResult bank = tbk::readBank(bytes);
        const auto& records = bank.bank.groups.at(0).records;
        const auto record = std::ranges::find(records, want.id, &tbk::BankRecord::id);
        ASSERT_NE(record, records.end());
        EXPECT_EQ(record->form, want.form);
        EXPECT_EQ(record->mode, want.mode);
        const std::optional<tbk::BankRecord> tim =
            readTim(expected::readFile(want.file + std::string(".tim")));
        ASSERT_TRUE(tim && tim->pixels);
        const auto storedAt = [&](uint64_t offset, uint64_t count)
        { return expected::Bytes(bytes.begin() + offset, bytes.begin() + offset + count); };
        const expected::Bytes timBytes = expected::readFile(want.file + std::string(".tim"));
        if (want.form == tbk::RecordForm::Palette)
        {
            // A 16-bit line of the colours, where the CLUT goes.
            EXPECT_EQ(tim->mode, tbk::PixelMode::Direct16);
            EXPECT_EQ(tim->pixels->dx, record->clut->dx);
            EXPECT_EQ(tim->pixels->dy, record->clut->dy);
            EXPECT_EQ(tim->pixels->widthWords, 16);
            EXPECT_EQ(tim->pixels->height, 1);
            EXPECT_EQ(expected::Bytes(timBytes.begin() + 20, timBytes.end()),
                      storedAt(record->clut->offset + 8, 32));
            continue;
        }
        EXPECT_EQ(tim->form, record->form);
        EXPECT_EQ(tim->mode, record->mode);
        EXPECT_EQ(tim->transparency, record->transparency);
        EXPECT_EQ(tim->pixels->dx, record->pixels->dx);
        EXPECT_EQ(tim->pixels->dy, record->pixels->dy);
        EXPECT_EQ(tim->pixels->widthWords, record->pixels->widthWords);
        EXPECT_EQ(tim->pixels->height, record->pixels->height);
        EXPECT_EQ(tim->clut.has_value(), record->clut.has_value());
        if (tim->clut)
        {
            EXPECT_EQ(std::tie(tim->clut->dx, tim->clut->dy, tim->clut->w, tim->clut->h, tim->clut->count),
                      std::tie(record->clut->dx, record->clut->dy, record->clut->w, record->clut->h,
                               record->clut->count));
        }
        // Byte for byte the record's image, but for the width field in words.
        expected::Bytes stored = storedAt(record->offset + 8, record->size);
        const std::size_t widthAt = record->pixels->offset + 4 - (record->offset + 8);
        stored[widthAt] = static_cast<uint8_t>(record->pixels->widthWords);
        EXPECT_EQ(timBytes, stored);
    }
}

// Every cut and every corrupted byte of a bank either still reads (and is
// extracted) or is refused without the folder or any file appearing.
TEST_F(BankExtract, ADamagedBankWritesNothing)
{
    // Two groups, so that a damaged second group follows a whole first one.
    addSource("a.tga", makeSource(8, 2, 3));
    run("tiny.lay", "a A 0 0 8 2\nq A 0 0 8 2\nFIT: tiny\n");
    const expected::Bytes good = expected::readFile("TINY.TBK");
    std::vector<expected::Bytes> damaged;
    for (std::size_t length = 0; length < good.size(); ++length)
        damaged.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
    for (std::size_t at = 0; at < good.size(); ++at)
    {
        damaged.push_back(good);
        damaged.back()[at] ^= 0xA5;
    }
    int refused = 0;
    for (std::size_t i = 0; i < damaged.size(); ++i)
    {
        SCOPED_TRACE(i);
        folder.write("bad.tbk", damaged[i]);
        std::filesystem::remove_all("out");
        const bool readable = !tbk::readBank(damaged[i]).damage;
        const int status = extract("bad.tbk", "out");
        if (readable)
        {
            EXPECT_EQ(status, 0);
            continue;
        }
        ++refused;
        EXPECT_EQ(status, 1);
        EXPECT_TRUE(out.empty());
        EXPECT_FALSE(std::filesystem::exists("out"));
    }
    EXPECT_GT(refused, static_cast<int>(good.size()));
}

TEST_F(BankExtract, ProgramListsTheFilesAndExitsWithItsStatus)
{
    addSource("a.tga", makeSource(8, 2, 3));
    run("tiny.fit", "A\nPAL: a\nFIT: tiny\n");
    const std::string bank = folder.path() + "/TINY.TBK";
    const std::string into = folder.path() + "/out";
    const ProgramRun ran = runProgram(TBKINFO_EXECUTABLE, {"--extract", into, bank});
    EXPECT_EQ(ran.exitStatus, 0);
    EXPECT_EQ(ran.err, "");
    EXPECT_EQ(ran.out, into + "/g1-r01-id0000.tim\n" + into + "/g1-r01-id0000.png\n" + into +
                           "/g1-r02-id0001.tim\n" + into + "/g1-r02-id0001.png\n");
    EXPECT_EQ(runProgram(TBKINFO_EXECUTABLE, {"--extract", into + "/", bank}).out.substr(0, into.size() + 19),
              into + "/g1-r01-id0000.tim\n");

    // A file that cannot be replaced stops the run; what was listed is whole.
    std::filesystem::remove_all(into);
    folder.makeFolder("out/g1-r02-id0001.tim");
    const ProgramRun blocked = runProgram(TBKINFO_EXECUTABLE, {"--extract", into, bank});
    EXPECT_EQ(blocked.exitStatus, 1);
    EXPECT_EQ(blocked.out, into + "/g1-r01-id0000.tim\n" + into + "/g1-r01-id0000.png\n");
    EXPECT_EQ(blocked.err, "tbkinfo: cannot write " + into + "/g1-r02-id0001.tim\n");

    struct Failure
    {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const Failure failures[] = {
        {{"--extract", folder.path() + "/no/out", bank},
         1,
         "tbkinfo: cannot create folder " + folder.path() + "/no/out: No such file or directory\n"},
        {{"--extract", bank, bank}, 1, "tbkinfo: cannot extract into " + bank + ": Not a directory\n"},
        {{"--extract", into, folder.path() + "/none.tbk"},
         1,
         "tbkinfo: cannot open " + folder.path() + "/none.tbk: No such file or directory\n"},
        {{"--extract", into}, 2, ""},
        {{bank, "--extract"}, 2, ""},
        {{"--extract", into, "--json", bank}, 2, ""},
        {{"--extract", into, "--extract", into, bank}, 2, ""},
    };
    for (const Failure& failure : failures)
    {
        const ProgramRun run = runProgram(TBKINFO_EXECUTABLE, failure.args);
        SCOPED_TRACE(::testing::PrintToString(failure.args));
        EXPECT_EQ(run.exitStatus, failure.status);
        EXPECT_EQ(run.out, "");
        if (failure.status == 2)
            EXPECT_EQ(run.err.substr(0, 6), "usage:");
        else
            EXPECT_EQ(run.err, failure.err);
    }
}
