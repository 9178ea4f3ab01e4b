#include "ProgramArguments.h"

#include "script/TexeloEntry.h"

#include <string_view>

namespace
{
// The options that take a file name, and what a missing name is called.
struct FileOption
{
    std::string_view word;
    std::string_view what;
    std::optional<std::string> ProgramArguments::*path;
};
constexpr FileOption kFileOptions[] = {
    {"--map", "the picture file", &ProgramArguments::mapPath},
    {"--depfile", "the dependency file", &ProgramArguments::depfilePath},
    {"--report", "the report file", &ProgramArguments::reportPath},
};

ProgramArguments usageError(std::string text)
{
    ProgramArguments arguments;
    arguments.request = ProgramArguments::Request::UsageError;
    arguments.usageError = std::move(text);
    return arguments;
}

const FileOption* fileOptionOf(std::string_view word)
{
    for (const FileOption& option : kFileOptions)
        if (word == option.word || (word.starts_with(option.word) && word[option.word.size()] == '='))
            return &option;
    return nullptr;
}
} // namespace

const char* programUsage()
{
    return "Usage: texelo [-q] [--dry-run] [--map FILE.png] [--depfile FILE] [--report FILE.json]\n"
           "              SCRIPT [/c]\n"
           "Runs a texture script: converts its Targa textures to PSX TIM images and\n"
           "writes one texture bank (.TBK) per FIT line, then shows the VRAM map of the\n"
           "last bank in a window until it is closed.\n"
           "  /c, -c          end as soon as the script is done (batch builds); /C too\n"
           "  -q, --quiet     leave out the progress lines on standard output (\"Opened\n"
           "                  ...\", \"Reduced ...\", the depth fallbacks, \"N unique CLUTs\",\n"
           "                  \"Saving Textures...\"); errors and warnings stay\n"
           "  --map FILE.png  also save that VRAM map as a picture, one pixel per VRAM\n"
           "                  word below the message line, with or without a display\n"
           "  --depfile FILE  also write a Make dependency file: the banks and backdrops\n"
           "                  written depend on every file read or looked for, named\n"
           "                  as the script named them from the working folder\n"
           "  --report FILE.json\n"
           "                  also write a report of the run: every bank written, and\n"
           "                  where each of its textures and CLUTs landed in VRAM\n"
           "  --dry-run       run the whole script, converting and placing, but write no\n"
           "                  bank, backdrop, map or dependency file; the messages and\n"
           "                  the exit status are a real run's, and a --report lists the\n"
           "                  banks the run would write\n"
           "  --help          show this text\n"
           "  --version       show the version\n"
           "Problems are also said on standard error, one line each, as compilers say\n"
           "them: \"texelo: SCRIPT:LINE: error: WHAT\" (or \"warning:\").\n"
           "TEXELO_TEXTURE_FOLDER names the folder searched for a texture that the\n"
           "script's PATH does not hold.\n"
           "Exit status: 0 when the run reported no error; 1 when it reported one (a\n"
           "texture missing or undecodable, a bank that did not fit, a file not written)\n"
           "or the map or the dependency file could not be saved; 2 when the command\n"
           "line is wrong.\n";
}

ProgramArguments parseProgramArguments(int argc, const char* const* argv)
{
    ProgramArguments arguments;
    bool optionsEnded = false;
    bool named = false;
    for (int index = 1; index < argc; ++index)
    {
        const std::string_view word = argv[index];
        if (isBatchSwitch(word))
        {
            arguments.scriptArguments.emplace_back(word);
            continue;
        }
        const bool option = !optionsEnded && word.size() > 1 && word.front() == '-';
        if (!option)
        {
            if (named)
                return usageError("unexpected argument '" + std::string(word) + "'");
            named = true;
            arguments.scriptArguments.emplace_back(word);
            continue;
        }
        if (word == "--")
            optionsEnded = true;
        else if (word == "--help" || word == "--version")
        {
            arguments.request =
                word == "--help" ? ProgramArguments::Request::Help : ProgramArguments::Request::Version;
            return arguments;
        }
        else if (word == "-q" || word == "--quiet")
            arguments.quiet = true;
        else if (word == "--dry-run")
            arguments.dryRun = true;
        else if (const FileOption* fileOption = fileOptionOf(word))
        {
            std::string path;
            if (word == fileOption->word)
                path = index + 1 < argc ? argv[++index] : "";
            else
                path = word.substr(fileOption->word.size() + 1);
            if (path.empty())
                return usageError(std::string(fileOption->word) + " needs the name of " +
                                  std::string(fileOption->what));
            arguments.*fileOption->path = std::move(path);
        }
        else
            return usageError("unknown option '" + std::string(word) + "'");
    }
    if (!named)
        return usageError("no script named");
    return arguments;
}
