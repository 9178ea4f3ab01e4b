// make_large_mdf OUTPUT.mdf: writes the layout the benchmarks convert, for
// timing the lumarc executable on it (see lumarc_cli_bench.sh).
#include "LargeLayout.h"

#include <cstdio>
#include <string_view>

int main(int argc, char** argv)
{
    constexpr const char* kUsage = "usage: make_large_mdf OUTPUT.mdf\n"
                                   "Writes the benchmark layout: 10,000 gadgets, 1,000,000 primitives.\n";
    if (argc == 2 && std::string_view(argv[1]) == "--help")
    {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc != 2 || std::string_view(argv[1]).starts_with("-"))
    {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const mdfwriter::Bytes bytes = makeLargeMdf();
    if (!mdfwriter::writeFile(argv[1], bytes))
    {
        std::fprintf(stderr, "make_large_mdf: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%zu bytes\n", bytes.size());
    return 0;
}
