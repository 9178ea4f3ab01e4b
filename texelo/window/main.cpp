// Texelo's entry: runs a texture script. Until the VRAM map window exists the
// program always runs without a window.

#include "TexeloEntry.h"

#include <cstdio>
#include <string>

namespace
{
constexpr const char* kUsage = "Usage: texelo SCRIPT [/c]\n"
                               "Runs a texture script: converts its Targa textures to PSX TIM images and\n"
                               "writes one texture bank (.TBK) per FIT line.\n"
                               "  /c         end as soon as the script is done (batch builds)\n"
                               "  --help     show this text\n"
                               "  --version  show the version\n";
} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--help")
    {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "--version")
    {
        std::fputs("texelo 1.0\n", stdout);
        return 0;
    }
    std::string text;
    for (int i = 1; i < argc; ++i)
    {
        if (i > 1)
            text.push_back(' ');
        text.append(argv[i]);
    }
    const TexeloCommandLine commandLine = splitCommandLine(text);

    TexeloReporter reporter;
    TexeloContext ctx(reporter);
    runTexelo(ctx, commandLine);
    if (!commandLine.batch())
        std::fputs("texelo: the VRAM map cannot be shown: this build has no window\n", stderr);
    return 0;
}
