// make_large_mdf OUTPUT.mdf: writes the layout the benchmarks convert, for
// timing the lumarc executable on it (see lumarc_cli_bench.sh).
#include "LargeLayout.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fputs("usage: make_large_mdf OUTPUT.mdf\n", stderr);
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
