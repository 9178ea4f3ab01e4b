#include "files/DependencyFile.h"

#include "files/RunFiles.h"

#include "AtomicOutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

std::string escapeForDependencyFile(std::string_view path)
{
    std::string escaped;
    escaped.reserve(path.size());
    for (const char c : path)
    {
        if (c == ' ' || c == '#' || c == ':')
            escaped.push_back('\\');
        else if (c == '$')
            escaped.push_back('$');
        escaped.push_back(c);
    }
    return escaped;
}

std::string dependencyFileText(const std::vector<std::string>& targets,
                               const std::vector<std::string>& prerequisites)
{
    if (targets.empty())
        return {};
    std::string text;
    for (const std::string& target : targets)
    {
        if (!text.empty())
            text.push_back(' ');
        text.append(escapeForDependencyFile(target));
    }
    text.push_back(':');
    for (const std::string& prerequisite : prerequisites)
        text.append(" \\\n  ").append(escapeForDependencyFile(prerequisite));
    text.push_back('\n');
    for (const std::string& prerequisite : prerequisites)
        text.append("\n").append(escapeForDependencyFile(prerequisite)).append(":\n");
    return text;
}

std::optional<std::string> writeDependencyFile(const std::string& path, const RunFiles& files)
{
    const auto hasLineBreak = [](const std::string& name)
    { return name.find_first_of("\r\n") != std::string::npos; };
    for (const std::vector<std::string>* names : {&files.targets(), &files.prerequisites()})
        if (const auto broken = std::find_if(names->begin(), names->end(), hasLineBreak);
            broken != names->end())
        {
            std::string shown; // the break spelt out, so that the message stays on one line
            for (const char c : *broken)
                shown += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
            return "the file name \"" + shown + "\" holds a line break";
        }
    const std::string text = dependencyFileText(files.targets(), files.prerequisites());
    AtomicOutputFile file;
    if (!file.open(path, "w") || !file.write(text.data(), text.size()) || !file.commit())
        return std::strerror(file.error());
    // Every file the run wrote changed its folder after its own time stamp,
    // and a folder may be a prerequisite (a place only looked in, a folder
    // FILES searched); the targets are stamped now, after the last change the
    // run made, so that one run leaves the build up to date.
    for (const std::string& target : files.targets())
        utimensat(AT_FDCWD, target.c_str(), nullptr, 0);
    return std::nullopt;
}
