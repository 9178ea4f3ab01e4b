#include "script/TexeloEntry.h"

#include "script/ScriptDriver.h"

#include <cctype>

namespace
{
constexpr std::size_t kScriptNameCapacity = 255;
constexpr std::size_t kOptionWordCapacity = 31;

// The next blank-separated word at or after `position`.
std::string nextWord(std::string_view text, std::size_t& position)
{
    while (position < text.size() && std::isspace(static_cast<unsigned char>(text[position])))
        ++position;
    const std::size_t start = position;
    while (position < text.size() && !std::isspace(static_cast<unsigned char>(text[position])))
        ++position;
    return std::string(text.substr(start, position - start));
}
} // namespace

TexeloCommandLine splitCommandLine(std::string_view text)
{
    TexeloCommandLine commandLine;
    commandLine.text = std::string(text);
    std::size_t position = 0;
    commandLine.scriptName = nextWord(text, position).substr(0, kScriptNameCapacity);
    commandLine.optionWord = nextWord(text, position).substr(0, kOptionWordCapacity);
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
