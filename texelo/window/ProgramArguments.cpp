#include "ProgramArguments.h"

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
};

ProgramArguments usageError(std::string text)
{
    ProgramArguments arguments;
    arguments.request = ProgramArguments::Request::UsageError;
    arguments.usageError = std::move(text);
    return arguments;
}
} // namespace

const char* programUsage()
{
    return "Usage: texelo [--map FILE.png] [--depfile FILE] SCRIPT [/c]\n"
           "Runs a texture script: converts its Targa textures to PSX TIM images and\n"
           "writes one texture bank (.TBK) per FIT line, then shows the VRAM map of the\n"
           "last bank in a window until it is closed.\n"
           "  /c              end as soon as the script is done (batch builds)\n"
           "  --map FILE.png  also save that VRAM map as a picture, one pixel per VRAM\n"
           "                  word below the message line, with or without a display\n"
           "  --depfile FILE  also write a Make dependency file: the banks and backdrops\n"
           "                  written depend on every file read or looked for, named\n"
           "                  as the script named them from the working folder\n"
           "  --help          show this text\n"
           "  --version       show the version\n"
           "Exit status: 0 when the run reported no error; 1 when it reported one (a\n"
           "texture missing or undecodable, a bank that did not fit, a file not written)\n"
           "or the map or the dependency file could not be saved; 2 when the command\n"
           "line is wrong.\n";
}

ProgramArguments parseProgramArguments(int argc, const char* const* argv)
{
    ProgramArguments arguments;
    int index = 1;
    for (; index < argc; ++index)
    {
        const std::string_view word = argv[index];
        if (!word.starts_with("--"))
            break;
        if (word == "--")
        {
            ++index;
            break;
        }
        if (word == "--help" || word == "--version")
        {
            arguments.request =
                word == "--help" ? ProgramArguments::Request::Help : ProgramArguments::Request::Version;
            return arguments;
        }
        const FileOption* option = nullptr;
        for (const FileOption& candidate : kFileOptions)
            if (word == candidate.word ||
                (word.starts_with(candidate.word) && word[candidate.word.size()] == '='))
                option = &candidate;
        if (option != nullptr)
        {
            std::string path;
            if (word == option->word)
                path = index + 1 < argc ? argv[++index] : "";
            else
                path = word.substr(option->word.size() + 1);
            if (path.empty())
                return usageError(std::string(option->word) + " needs the name of " +
                                  std::string(option->what));
            arguments.*option->path = std::move(path);
            continue;
        }
        std::string text = "unknown option ";
        text.append(word);
        return usageError(std::move(text));
    }
    for (; index < argc; ++index)
        arguments.scriptArguments.emplace_back(argv[index]);
    return arguments;
}
