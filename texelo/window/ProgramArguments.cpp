#include "ProgramArguments.h"

#include <string_view>

namespace
{
constexpr std::string_view kMapOption = "--map";

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
    return "Usage: texelo [--map FILE.png] SCRIPT [/c]\n"
           "Runs a texture script: converts its Targa textures to PSX TIM images and\n"
           "writes one texture bank (.TBK) per FIT line, then shows the VRAM map of the\n"
           "last bank in a window until it is closed.\n"
           "  /c              end as soon as the script is done (batch builds)\n"
           "  --map FILE.png  also save that VRAM map as a picture, one pixel per VRAM\n"
           "                  word below the message line, with or without a display\n"
           "  --help          show this text\n"
           "  --version       show the version\n"
           "Exit status: 0 when the run reported no error; 1 when it reported one (a\n"
           "texture missing or undecodable, a bank that did not fit, a file not written)\n"
           "or the map could not be saved; 2 when the command line is wrong.\n";
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
        if (word == kMapOption || word.starts_with("--map="))
        {
            std::string path;
            if (word == kMapOption)
            {
                if (index + 1 >= argc)
                    return usageError("--map needs the name of the picture file");
                path = argv[++index];
            }
            else
            {
                path = word.substr(kMapOption.size() + 1);
            }
            if (path.empty())
                return usageError("--map needs the name of the picture file");
            arguments.mapPath = std::move(path);
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
