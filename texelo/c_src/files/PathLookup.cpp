#include "files/PathLookup.h"

#include "WholeFile.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace
{

char lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool lessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return lower(x) < lower(y); });
}

struct DirCloser
{
    void operator()(DIR* dir) const { closedir(dir); }
};

// The entries of a folder other than "." and "..", sorted by name.
std::vector<std::string> folderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir.get()))
    {
        std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The entry of `folder` equal to `name` ignoring case that comes first in
// name order; empty when there is none. One pass, no sorting: scripts look
// up every texture this way in folders of hundreds of files.
std::string firstNameIgnoringCase(const std::string& folder, std::string_view name)
{
    std::string best;
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir)
        return best;
    while (const dirent* entry = readdir(dir.get()))
    {
        const std::string_view candidate = entry->d_name;
        if (equalsIgnoringCase(candidate, name) && (best.empty() || candidate < best))
            best = candidate;
    }
    return best;
}

bool exists(const std::string& path)
{
    struct stat info
    {
    };
    return stat(path.c_str(), &info) == 0;
}

bool isDirectory(const std::string& path)
{
    struct stat info
    {
    };
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string joinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

} // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

bool containsIgnoringCase(std::string_view text, std::string_view part)
{
    for (std::size_t at = 0; at + part.size() <= text.size(); ++at)
        if (equalsIgnoringCase(text.substr(at, part.size()), part))
            return true;
    return false;
}

std::string toPosixPath(std::string_view path)
{
    std::string result(path);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

PathLookup lookUpPath(std::string_view scriptPath, const FindIgnoringCase& findIgnoringCase)
{
    const std::string path = toPosixPath(scriptPath);
    if (path.empty())
        return {};
    if (exists(path))
        return {true, path};

    std::string resolved = path.front() == '/' ? "/" : "";
    std::size_t start = path.front() == '/' ? 1 : 0;
    while (start <= path.size())
    {
        const std::size_t slash = path.find('/', start);
        const std::size_t end = slash == std::string::npos ? path.size() : slash;
        const std::string component = path.substr(start, end - start);
        const std::size_t componentStart = start;
        start = end + 1;
        if (component.empty() || component == "." || component == "..")
        {
            if (!component.empty())
                resolved = joinPath(resolved, component);
            if (slash == std::string::npos)
                break;
            continue;
        }
        std::string candidate = joinPath(resolved, component);
        if (!exists(candidate))
        {
            const std::string match = findIgnoringCase(resolved, component);
            if (match.empty())
                return {false, joinPath(resolved, path.substr(componentStart))};
            candidate = joinPath(resolved, match);
        }
        resolved = std::move(candidate);
        if (slash == std::string::npos)
            break;
    }
    if (exists(resolved))
        return {true, resolved};
    return {false, path};
}

std::string resolveExistingPath(std::string_view scriptPath)
{
    PathLookup lookup = lookUpPath(scriptPath, firstNameIgnoringCase);
    return lookup.found ? std::move(lookup.path) : std::string{};
}

std::optional<std::vector<uint8_t>> readExistingFile(const std::string& resolvedPath)
{
    if (resolvedPath.empty())
        return std::nullopt;
    WholeFile file = readWholeFile(resolvedPath, kLongestInput);
    if (file.status != WholeFileStatus::Read)
        return std::nullopt;
    return std::move(file.bytes);
}

std::optional<std::vector<uint8_t>> readWholeFile(std::string_view path)
{
    return readExistingFile(resolveExistingPath(path));
}

bool wildcardMatch(std::string_view pattern, std::string_view name)
{
    // Iterative matching with one backtrack point for the last `*`, so long
    // names with many stars stay linear in practice.
    std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size())
    {
        if (p < pattern.size() && pattern[p] == '*')
        {
            starP = p++;
            starN = n;
        }
        else if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n])))
        {
            ++p;
            ++n;
        }
        else if (starP != std::string_view::npos)
        {
            p = starP + 1;
            n = ++starN;
        }
        else
            return false;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

WildcardSearch splitWildcardSearch(std::string_view folderAndPattern)
{
    const std::string path = toPosixPath(folderAndPattern);
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {"", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

std::vector<std::string> matchingFilesIn(const std::string& folder, std::string_view pattern)
{
    std::vector<std::string> matches;
    if (folder.empty())
        return matches;
    for (std::string& name : folderEntries(folder))
        if (wildcardMatch(pattern, name) && !isDirectory(joinPath(folder, name)))
            matches.push_back(std::move(name));
    std::stable_sort(matches.begin(), matches.end(), lessIgnoringCase);
    return matches;
}

std::vector<std::string> findMatchingFiles(std::string_view folderAndPattern)
{
    const WildcardSearch search = splitWildcardSearch(folderAndPattern);
    return matchingFilesIn(search.folder.empty() ? "." : resolveExistingPath(search.folder), search.pattern);
}
