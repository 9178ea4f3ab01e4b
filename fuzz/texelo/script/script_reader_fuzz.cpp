// libFuzzer target for whole scripts: every input runs through the engine
// twice, once as a layout script and once as a .fit script, in a private
// folder that holds a few tiny textures and a palette set for the scripts to
// name. The process works inside that folder, so banks land there; they are
// removed after every input.
#include "TgaWriter.h"
#include "report/TexeloReporter.h"
#include "script/TexeloContext.h"
#include "script/TexeloEntry.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace
{

namespace fs = std::filesystem;
using tgawriter::Rgba;

constexpr const char* kLayoutScript = "level.txt";
constexpr const char* kFitScript = "level.fit";
// An upper-case folder, so that a bank name such as BANKS\X can be written.
constexpr const char* kBankFolder = "BANKS";
constexpr const char* kPaletteFolder = "pals";

[[noreturn]] void fail(const std::string& what)
{
    std::perror(("script_reader_fuzz: " + what).c_str());
    std::abort();
}

// Any bytes, not only Targa files.
void writeFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    if (!tgawriter::writeTgaFile(path.string(), bytes))
        fail("cannot write " + path.string());
}

// A width x height picture of `colours` different colours; `alpha` gives
// every other colour no alpha.
std::vector<Rgba> picture(int width, int height, int colours, bool alpha = false)
{
    std::vector<Rgba> pixels;
    for (int i = 0; i < width * height; ++i)
    {
        const int colour = i % colours;
        pixels.push_back(
            {static_cast<uint8_t>(8 * (colour % 32)), static_cast<uint8_t>(8 * (colour / 32 % 32)),
             static_cast<uint8_t>(255 - colour % 200), static_cast<uint8_t>(alpha && colour % 2 ? 0 : 255)});
    }
    return pixels;
}

// A raw palette file: 256 RGB triplets.
std::vector<uint8_t> rawPalette(int shift)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 256; ++i)
        for (int channel = 0; channel < 3; ++channel)
            bytes.push_back(static_cast<uint8_t>(i * (channel + 1) + shift));
    return bytes;
}

// The private folder with the textures a script can name: A (4 bits), B (8
// bits), C (16 bits), D (32-bit alpha, run-length), FLATCRD (8 bits, the
// name that shifts the texel indices), and the palette set PALS with two
// palettes. The files are lower case on disk, while scripts name them in
// upper case, as real ones do.
class FuzzFolder
{
public:
    FuzzFolder()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/script_fuzz_XXXXXX";
        if (!mkdtemp(pattern.data()))
            fail("mkdtemp");
        m_root = fs::absolute(pattern);

        using tgawriter::encodeTga;
        using tgawriter::fromColours;
        writeFile(m_root / "a.tga", encodeTga(fromColours(8, 4, picture(8, 4, 5), 24)));
        writeFile(m_root / "b.tga", encodeTga(fromColours(8, 8, picture(8, 8, 40), 16)));
        writeFile(m_root / "c.tga", encodeTga(fromColours(17, 16, picture(17, 16, 272), 24)));
        tgawriter::TgaImage alpha = fromColours(6, 3, picture(6, 3, 4, true), 32);
        alpha.rle = true;
        writeFile(m_root / "d.tga", encodeTga(alpha));
        std::vector<uint8_t> indices(5 * 4);
        for (std::size_t i = 0; i < indices.size(); ++i)
            indices[i] = static_cast<uint8_t>(i);
        writeFile(m_root / "flatcrd.tga",
                  encodeTga(tgawriter::indexedImage(5, 4, indices, picture(20, 1, 20))));

        std::error_code error;
        fs::create_directory(m_root / kBankFolder, error);
        fs::create_directory(m_root / kPaletteFolder, error);
        if (error)
            fail("cannot make the folders");
        writeFile(m_root / kPaletteFolder / "default.pal", rawPalette(0));
        writeFile(m_root / kPaletteFolder / "pal0.pal", rawPalette(3));
        writeFile(m_root / kPaletteFolder / "pal1.pal", rawPalette(7));

        if (chdir(m_root.c_str()) != 0)
            fail("chdir");
        for (const fs::path& folder : {m_root, m_root / kBankFolder, m_root / kPaletteFolder})
            for (const fs::directory_entry& entry : fs::directory_iterator(folder))
                m_ours.insert(entry.path());
        m_ours.insert(m_root / kLayoutScript);
        m_ours.insert(m_root / kFitScript);
    }
    ~FuzzFolder()
    {
        std::error_code error;
        fs::remove_all(m_root, error);
    }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    // Removes what a run wrote: banks, and anything else that is not ours.
    void clean() const
    {
        for (const fs::path& folder : {m_root, m_root / kBankFolder, m_root / kPaletteFolder})
        {
            std::error_code error;
            std::vector<fs::path> written;
            for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
                if (!m_ours.contains(entry.path()))
                    written.push_back(entry.path());
            for (const fs::path& path : written)
                fs::remove_all(path, error);
        }
    }

private:
    fs::path m_root;
    std::set<fs::path> m_ours;
};

// Paths that leave the private folder: ".." anywhere, or an argument that
// starts with a separator (the reader skips blanks after the colon). Such
// inputs are not run, so no bank is ever written elsewhere.
bool leavesFolder(std::string_view text)
{
    if (text.find("..") != std::string_view::npos)
        return true;
    for (std::size_t colon = text.find(':'); colon != std::string_view::npos;
         colon = text.find(':', colon + 1))
    {
        std::size_t start = colon + 1;
        while (start < text.size() && (text[start] == ' ' || text[start] == '\t'))
            ++start;
        if (start < text.size() && (text[start] == '/' || text[start] == '\\'))
            return true;
    }
    return false;
}

void runScript(const char* scriptName)
{
    static std::FILE* const sink = std::fopen("/dev/null", "w");
    if (!sink)
        fail("/dev/null");
    TexeloReporter reporter(sink, sink);
    TexeloContext ctx(reporter);
    runTexelo(ctx, commandLineOf({scriptName, "/c"}));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const FuzzFolder folder;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (leavesFolder(text))
        return -1; // not added to the corpus
    const std::vector<uint8_t> bytes(data, data + size);
    writeFile(kLayoutScript, bytes);
    writeFile(kFitScript, bytes);
    runScript(kLayoutScript);
    runScript(kFitScript);
    folder.clean();
    return 0;
}
