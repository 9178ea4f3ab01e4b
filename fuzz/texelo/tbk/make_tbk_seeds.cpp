// make_tbk_seeds OUTDIR: writes the seed corpus of tbk_reader_fuzz.
//
// Banks written by Texelo's engine from Targa files made by our own writer:
// a tiny layout bank, a bank with separate CLUTs, palette lines of every tag,
// all three pixel modes and transparency modes, one whose CLUTs were
// remapped through a palette set, and one with a short 8-bit CLUT. The
// output is deterministic.
#include "TgaWriter.h"
#include "script/ScriptDriver.h"
#include "script/TexeloContext.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace
{

namespace fs = std::filesystem;

// A texture of `count` colours, each pixel cycling through them.
tgawriter::Bytes texture(int width, int height, int count, int first)
{
    std::vector<tgawriter::Rgba> pixels;
    for (int i = 0; i < width * height; ++i)
    {
        const int colour = first + i % count;
        pixels.push_back({static_cast<uint8_t>(colour % 32 * 8), static_cast<uint8_t>(colour / 32 % 32 * 8),
                          static_cast<uint8_t>(colour / 1024 % 32 * 8 + 8), 0});
    }
    return tgawriter::encodeTga(tgawriter::fromColours(width, height, pixels, 24));
}

// 256 raw RGB triplets; `shift` makes each palette of a set differ.
std::vector<uint8_t> palette(int shift)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 256; ++i)
        bytes.insert(bytes.end(),
                     {static_cast<uint8_t>(i * 8 + shift * 16), static_cast<uint8_t>(shift * 40), 8});
    return bytes;
}

bool writeFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool writeInputs(const fs::path& work)
{
    bool ok =
        writeFile(work / "a.tga", texture(8, 2, 3, 1)) && writeFile(work / "b.tga", texture(12, 4, 40, 64)) &&
        writeFile(work / "c.tga", texture(20, 15, 300, 100)) &&
        writeFile(work / "d.tga", texture(5, 3, 2, 9)) && writeFile(work / "e.tga", texture(8, 4, 20, 500));
    fs::create_directories(work / "pals");
    ok &= writeFile(work / "pals" / "default.pal", palette(0));
    for (int k = 0; k < 3; ++k)
        ok &= writeFile(work / "pals" / ("pal" + std::to_string(k) + ".pal"), palette(k + 1));
    const std::pair<const char*, const char*> scripts[] = {
        {"tiny.lay", "a A 0 0 8 2\nFIT: tiny\n"},
        {"layout.lay", "a A 0 0 8 2 NULL 16 0 4 4 *D 32 0 8 2\nq B 0 0 12 4\nFIT: layout\n"},
        {"modes.fit", "SEPERATE: ON\nALPHA: a\nHOMEPAL: a\nSUB: c\nNULL\nTRANS: d\nPAL: d\nAWAYPAL: a\n"
                      "FIT: separate\nB\nA\nFIT: plain\n"},
        {"remap.fit", "PALETTES: pals 3\nREMAP: ACROSS\nA\nB\nFIT: across\nPALETTES: pals 3\nREMAP: DOWN\nA\n"
                      "FIT: down\nCLUT: 20\nE\nFIT: short\n"},
    };
    for (const auto& [name, text] : scripts)
        ok &= writeFile(work / name, std::vector<uint8_t>(text, text + std::char_traits<char>::length(text)));
    return ok;
}

std::FILE* nullStream()
{
    static std::FILE* stream = std::fopen("/dev/null", "w");
    return stream;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: make_tbk_seeds OUTDIR\n");
        return 2;
    }
    std::error_code error;
    const fs::path out = fs::absolute(argv[1], error);
    fs::create_directories(out, error);
    std::string pattern = (fs::temp_directory_path() / "tbk_seeds_XXXXXX").string();
    if (error || mkdtemp(pattern.data()) == nullptr || nullStream() == nullptr)
    {
        std::fprintf(stderr, "make_tbk_seeds: cannot prepare %s\n", argv[1]);
        return 1;
    }
    const fs::path work = pattern;
    bool ok = writeInputs(work);
    // Scripts name their files relative to the working folder.
    const fs::path saved = fs::current_path();
    fs::current_path(work);
    TexeloReporter reporter(nullStream(), nullStream());
    TexeloContext ctx(reporter);
    for (const char* script : {"tiny.lay", "layout.lay", "modes.fit", "remap.fit"})
        RunScript(ctx, script);
    fs::current_path(saved);
    int banks = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(work))
        if (entry.path().extension() == ".TBK")
        {
            ok &= fs::copy_file(entry.path(), out / entry.path().filename(),
                                fs::copy_options::overwrite_existing, error);
            ++banks;
        }
    fs::remove_all(work, error);
    if (!ok || banks != 7)
    {
        std::fprintf(stderr, "make_tbk_seeds: wrote %d of 7 banks\n", banks);
        return 1;
    }
    return 0;
}
