#include "files/RunFiles.h"

#include "files/PathLookup.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace
{

// Longer than any file system's time stamp step.
constexpr std::time_t kSettledSeconds = 2;

std::string lowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

struct DirCloser
{
    void operator()(DIR* dir) const { closedir(dir); }
};

// Every entry of `folder` by its lower-cased name; of names that differ only
// in case, the first in name order, as a search of the folder would pick.
std::unordered_map<std::string, std::string> readFolder(const std::string& folder)
{
    std::unordered_map<std::string, std::string> names;
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir.get()))
    {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        auto [slot, added] = names.try_emplace(lowerCase(name), name);
        if (!added && name < slot->second)
            slot->second = name;
    }
    return names;
}

std::string folderOf(const std::string& posixPath)
{
    const std::size_t slash = posixPath.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : posixPath.substr(0, slash);
}

} // namespace

void RunFiles::OrderedSet::add(const std::string& item)
{
    if (seen.insert(item).second)
        items.push_back(item);
}

// The run writes files too, and other programs may: a name missing from a
// listing is looked for again when the folder has changed since, or when it
// changed so shortly before it was read that a later change could carry the
// same time stamp.
std::string RunFiles::findIgnoringCase(const std::string& folder, std::string_view name)
{
    const std::string opened = folder.empty() ? "." : folder;
    struct stat info
    {
    };
    if (stat(opened.c_str(), &info) != 0)
        return {};
    const std::string key = lowerCase(name);
    auto [entry, added] = m_folders.try_emplace(FolderId{info.st_dev, info.st_ino});
    FolderListing& listing = entry->second;
    const bool changed =
        info.st_mtim.tv_sec != listing.modified.tv_sec || info.st_mtim.tv_nsec != listing.modified.tv_nsec;
    if (added || (!listing.names.contains(key) && (changed || !listing.settled)))
    {
        listing.names = readFolder(opened);
        listing.modified = info.st_mtim;
        listing.settled = std::time(nullptr) - info.st_mtim.tv_sec > kSettledSeconds;
    }
    const auto match = listing.names.find(key);
    return match == listing.names.end() ? std::string{} : match->second;
}

PathLookup RunFiles::lookUp(std::string_view path)
{
    return lookUpPath(path, [this](const std::string& folder, std::string_view name)
                      { return findIgnoringCase(folder, name); });
}

std::FILE* RunFiles::openForReading(std::string_view path, const char* mode)
{
    const PathLookup lookup = lookUp(path);
    if (!lookup.path.empty())
        m_prerequisites.add(lookup.path);
    return lookup.found ? openExistingFile(lookup.path, mode) : nullptr;
}

std::optional<std::vector<uint8_t>> RunFiles::readWholeFile(std::string_view path)
{
    return readWholeStream(openForReading(path, "rb"));
}

std::vector<std::string> RunFiles::findMatchingFiles(std::string_view folderAndPattern)
{
    const WildcardSearch search = splitWildcardSearch(folderAndPattern);
    if (search.folder.empty())
    {
        m_prerequisites.add(".");
        return matchingFilesIn(".", search.pattern);
    }
    const PathLookup folder = lookUp(search.folder);
    // A folder is named without its closing slash, as build tools name it.
    std::string named = folder.path;
    while (named.size() > 1 && named.back() == '/')
        named.pop_back();
    m_prerequisites.add(named);
    return matchingFilesIn(folder.found ? folder.path : std::string{}, search.pattern);
}

void RunFiles::noteWritten(const std::string& posixPath)
{
    m_targets.add(posixPath);
    struct stat info
    {
    };
    if (stat(folderOf(posixPath).c_str(), &info) == 0)
        m_folders.erase(FolderId{info.st_dev, info.st_ino});
}
