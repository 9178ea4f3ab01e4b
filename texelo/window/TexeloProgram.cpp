#include "TexeloProgram.h"

#include <cstdio>

namespace
{
constexpr const char* kUsage = "Usage: texelo SCRIPT [/c]\n"
                               "Runs a texture script: converts its Targa textures to PSX TIM images and\n"
                               "writes one texture bank (.TBK) per FIT line, then shows the VRAM map of the\n"
                               "last bank in a window until it is closed.\n"
                               "  /c         end as soon as the script is done (batch builds)\n"
                               "  --help     show this text\n"
                               "  --version  show the version\n";
} // namespace

std::optional<int> answerInformationRequest(int argc, const char* const* argv)
{
    if (argc != 2)
        return std::nullopt;
    const std::string_view word = argv[1];
    if (word == "--help")
        std::fputs(kUsage, stdout);
    else if (word == "--version")
        std::fputs("texelo 1.0\n", stdout);
    else
        return std::nullopt;
    return 0;
}

std::string joinArguments(int argc, const char* const* argv)
{
    std::string text;
    for (int i = 1; i < argc; ++i)
    {
        if (i > 1)
            text.push_back(' ');
        text.append(argv[i]);
    }
    return text;
}

AfterRun afterRun(const TexeloCommandLine& commandLine, bool windowSeen)
{
    if (commandLine.batch())
        return AfterRun::Exit;
    return windowSeen ? AfterRun::WaitForClose : AfterRun::ExplainNoWindow;
}

int runTexeloProgram(std::string_view commandLineText, TexeloFrontEnd& frontEnd)
{
    const TexeloCommandLine commandLine = splitCommandLine(commandLineText);
    TexeloContext ctx(frontEnd.reporter());
    frontEnd.showWindow(ctx, commandLine.text);
    runTexelo(ctx, commandLine);

    const std::optional<std::string> unseen = frontEnd.whyWindowIsUnseen();
    switch (afterRun(commandLine, !unseen))
    {
    case AfterRun::Exit:
        break;
    case AfterRun::WaitForClose:
        frontEnd.waitUntilClosed();
        break;
    case AfterRun::ExplainNoWindow:
        ctx.reporter.printError("texelo: the VRAM map cannot be shown: " + *unseen + "\n");
        break;
    }
    frontEnd.closeWindow();
    return 0; // ShownList goes with the context
}
