#include "script/TexeloEntry.h"

#include "script/ScriptDriver.h"

namespace
{
constexpr std::size_t kScriptNameCapacity = 255;
constexpr std::size_t kOptionWordCapacity = 31;
} // namespace

// The arguments arrive one by one, as the shell or the desktop passed them,
// so a name with blanks stays whole; joined, they are the text a user would
// have typed.
TexeloCommandLine commandLineOf(const std::vector<std::string>& arguments)
{
    TexeloCommandLine commandLine;
    for (const std::string& argument : arguments)
    {
        if (&argument != &arguments.front())
            commandLine.text.push_back(' ');
        commandLine.text.append(argument);
    }
    if (!arguments.empty())
        commandLine.scriptName = arguments[0].substr(0, kScriptNameCapacity);
    if (arguments.size() > 1)
        commandLine.optionWord = arguments[1].substr(0, kOptionWordCapacity);
    for (char& c : commandLine.scriptName)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return commandLine;
}

void runTexelo(TexeloContext& ctx, const TexeloCommandLine& commandLine)
{
    RunScript(ctx, commandLine.scriptName);
    ctx.reporter.repaint();
}
