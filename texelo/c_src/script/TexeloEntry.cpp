#include "script/TexeloEntry.h"

#include "files/PathLookup.h"
#include "script/ScriptDriver.h"

#include <cstdlib>

namespace
{
constexpr std::size_t kScriptNameCapacity = 255;
} // namespace

bool isBatchSwitch(std::string_view word)
{
    return equalsIgnoringCase(word, "/c") || word == "-c";
}

// The words arrive one by one, as the shell or the desktop passed them, so a
// name with blanks stays whole; joined, they are the text a user would have
// typed.
TexeloCommandLine commandLineOf(const std::vector<std::string>& words)
{
    TexeloCommandLine commandLine;
    bool named = false;
    for (const std::string& word : words)
    {
        if (&word != &words.front())
            commandLine.text.push_back(' ');
        commandLine.text.append(word);
        if (isBatchSwitch(word))
            commandLine.batch = true;
        else if (!named)
        {
            named = true;
            commandLine.scriptAsNamed = word;
        }
    }
    commandLine.scriptName = commandLine.scriptAsNamed.substr(0, kScriptNameCapacity);
    for (char& c : commandLine.scriptName)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return commandLine;
}

void runTexelo(TexeloContext& ctx, const TexeloCommandLine& commandLine)
{
    // Every machine keeps its shared textures somewhere else; the default is
    // where the studio's Windows machines kept them.
    if (const char* folder = std::getenv("TEXELO_TEXTURE_FOLDER"); folder != nullptr && *folder != '\0')
    {
        ctx.TextureFolder = folder;
        if (ctx.TextureFolder.back() != '/' && ctx.TextureFolder.back() != '\\')
            ctx.TextureFolder.push_back('/');
    }
    ctx.reporter.setScript(commandLine.scriptAsNamed);
    RunScript(ctx, commandLine.scriptName);
    ctx.reporter.setLine(0);
    ctx.reporter.repaint();
}
