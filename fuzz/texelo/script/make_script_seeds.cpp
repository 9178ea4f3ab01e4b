// make_script_seeds OUTDIR: writes the seed corpus of script_reader_fuzz,
// scripts of both dialects that name the fuzz folder's textures (A, B, C, D,
// FLATCRD) and its palette set (PALS).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace
{

bool writeSeed(const std::filesystem::path& folder, const std::string& name, const std::string& text)
{
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

// Cell lines, their prefixes, NULL, RESTART, the CLUT options and two banks.
constexpr const char* kLayout = "# a layout level\n"
                                "PATH:\n"
                                "a A 0 0 8 4 &a 0 0 8 4 ?B 8 0 8 8  *d 0 8 6 3 NULL 0 0 0 0\n"
                                "RESTART\n"
                                "b c 0 0 17 16 FLATCRD.TGA 0 16 5 4\n"
                                "q D.tga 4 4 6 3\n"
                                "FIT:LAYOUT1\n"
                                "; a second bank with CLUT copies and a separate CLUT area\n"
                                "DUPLICATE:3\n"
                                "SEPERATE:ON\n"
                                "e a -5 0 8 4 a 60 0 8 4\n"
                                "PALETTES:PALS 2\n"
                                "REMAP:DOWN\n"
                                "f b 0 0 8 8\n"
                                "z a 0 0 8 4\n"
                                "FIT:BANKS\\LAYOUT2\n";

// Every .fit keyword, options with messages, and FIT.
constexpr const char* kFit = "* a .fit level\n"
                             "MESSAGES:ON\n"
                             "MATCHCLUTS:OFF\n"
                             "SORT:OFF\n"
                             "EDGE:ON\n"
                             "SEPERATE:ON\n"
                             "CLUT:32\n"
                             "B\n"
                             "ALPHA:A\n"
                             "TILE:C\n"
                             "PAL:A\n"
                             "HOMEPAL:B\n"
                             "AWAYPAL:FLATCRD\n"
                             "SUB:D.TGA\n"
                             "TRANS:NULL\n"
                             "FILES:?.TGA\n"
                             "FIT:FIT1\n"
                             "FIT:EMPTY\n";

// Palette sets, remapping and the argument carried over to a bare keyword.
constexpr const char* kPalettes = "PALETTES:PALS 2\n"
                                  "REMAP:ACROSS\n"
                                  "A\n"
                                  "REMAP:OFF\n"
                                  "S O R T : ON\n"
                                  "SORT\n"
                                  "PATH:PALS\\\n"
                                  "PALETTES:. 300\n"
                                  "OUTPATH:BANKS\\\n"
                                  "BACKDROP:A\n"
                                  "FIT:PALS\n";

// Cell lines of odd shape: two blanks, short entries, letters beyond z.
constexpr const char* kOddCells = "a  A 0 0 8 4\n"
                                  "b A 0\n"
                                  "~ A 0 0 8 4\n"
                                  "A\tB 1 2 3 4 C\n"
                                  " # not a comment\n"
                                  "FIT:\n";

// Numbers at and beyond the int limits: a y whose sum with the cell base once
// overflowed, CLUT sizes that wrap to 16 bits, and two blanks before entries.
constexpr const char* kLargeNumbers = "z a 0 2222222222222222222222 8 4\n"
                                      "b  a -2222222222222222222222 0 8 4  a 4 -1 8 4\n"
                                      "FIT:B\n";
constexpr const char* kClutSizes = "CLUT:-1\nB\nCLUT:65553\nB\nCLUT:99999999999\nB\nFIT:C\n";

// Colour reduction in both dialects, with levels in and out of range.
constexpr const char* kReduceFit = "REDUCE:16\nDITHER:0\nB\nC\nD.TGA\nPAL:B\nREDUCE:256\nDITHER:100\nC\n"
                                   "REDUCE:17\nDITHER:-1\nFILES:?.TGA\nREDUCE:OFF\nC\nFIT:R\n";
constexpr const char* kReduceLayout = "REDUCE:16\nDITHER:75\na B 0 0 8 8 c 8 0 17 16 &b 0 8 8 8\n"
                                      "REDUCE:256\nb D.tga 0 0 6 3 FLATCRD.TGA 0 16 5 4\nFIT:RL\n";

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: make_script_seeds OUTDIR\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
    {
        std::fprintf(stderr, "make_script_seeds: cannot create %s\n", argv[1]);
        return 1;
    }
    const std::vector<std::pair<std::string, std::string>> seeds = {
        {"layout", kLayout},
        {"fit", kFit},
        {"palettes", kPalettes},
        {"odd_cells", kOddCells},
        {"large_numbers", kLargeNumbers},
        {"clut_sizes", kClutSizes},
        {"reduce_fit", kReduceFit},
        {"reduce_layout", kReduceLayout},
    };
    bool ok = true;
    for (const auto& [name, text] : seeds)
        ok = writeSeed(folder, name, text) && ok;
    if (!ok)
        std::fprintf(stderr, "make_script_seeds: cannot write into %s\n", argv[1]);
    return ok ? 0 : 1;
}
