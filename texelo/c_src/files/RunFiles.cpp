#include "files/RunFiles.h"

#include "files/PathLookup.h"

#include "WholeFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace
{

// Longer than any file system's time stamp step.
constexpr std::time_t kSettledSeconds = 2;

std::string folderOf(const std::string& posixPath)
{
    const std::size_t slash = posixPath.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : posixPath.substr(0, slash);
}

// The nearest folder that exists on the way to `posixPath`: where the file
// would appear, or where the first missing folder on its way would.
std::string nearestExistingFolder(const std::string& posixPath)
{
    std::string folder = folderOf(posixPath);
    for (;;)
    {
        struct stat info
        {
        };
        if (folder == "." || folder == "/" || (stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)))
            return folder;
        folder = folderOf(folder);
    }
}

std::string_view nameOf(const std::string& posixPath)
{
    return std::string_view(posixPath).substr(posixPath.rfind('/') + 1);
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
    auto [entry, added] = m_folders.try_emplace(FolderId{info.st_dev, info.st_ino});
    ReadFolder& folderRead = entry->second;
    const bool changed = info.st_mtim.tv_sec != folderRead.modified.tv_sec ||
                         info.st_mtim.tv_nsec != folderRead.modified.tv_nsec;
    std::string_view match = added ? std::string_view{} : folderRead.names.find(name);
    if (added || (match.empty() && (changed || !folderRead.settled)))
    {
        folderRead.names = FolderListing::read(opened);
        folderRead.modified = info.st_mtim;
        folderRead.settled = std::time(nullptr) - info.st_mtim.tv_sec > kSettledSeconds;
        match = folderRead.names.find(name);
    }
    return std::string(match);
}

PathLookup RunFiles::lookUp(std::string_view path)
{
    return lookUpPath(path, [this](const std::string& folder, std::string_view name)
                      { return findIgnoringCase(folder, name); });
}

FileRead RunFiles::read(std::string_view path, Presence presence)
{
    const PathLookup lookup = lookUp(path);
    FileRead result{lookup.found, lookup.path, std::nullopt, {}};
    if (lookup.path.empty())
    {
        result.failure = std::strerror(ENOENT);
        return result;
    }
    if (!lookup.found)
    {
        if (presence == Presence::Required)
            noteMissing(lookup.path);
        else if (presence == Presence::Optional)
            noteLookedIn(lookup.path);
        result.failure = std::strerror(ENOENT);
        return result;
    }
    m_prerequisites.add(lookup.path);
    WholeFile file = ::readWholeFile(lookup.path, kLongestInput);
    if (file.status == WholeFileStatus::Read)
        result.bytes = std::move(file.bytes);
    else if (file.status == WholeFileStatus::TooLong)
        result.failure = "longer than " + std::to_string(kLongestInput >> 30) + " GiB";
    else
        result.failure = std::move(file.reason);
    return result;
}

std::optional<std::vector<uint8_t>> RunFiles::readWholeFile(std::string_view path)
{
    return read(path).bytes;
}

void RunFiles::noteMissing(const std::string& path)
{
    if (!path.empty())
        m_prerequisites.add(path);
}

void RunFiles::noteLookedIn(const std::string& path)
{
    if (!path.empty())
        m_prerequisites.add(nearestExistingFolder(path));
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

// The file is added to its folder's listing rather than the folder read
// again: a run that writes its banks beside its textures would otherwise read
// that folder once per bank. The time stamp kept stays the one the listing
// was read at. Our own write has changed the folder's, but so may another
// program have, just before the write: only the time stamp from before the
// write could tell the two apart, and only the writer saw that moment. So a
// name the listing lacks still has the folder read again, as after any other
// change, and names it holds (the run's own files among them) are found
// without a read.
void RunFiles::noteWritten(const std::string& posixPath)
{
    m_targets.add(posixPath);
    struct stat info
    {
    };
    if (stat(folderOf(posixPath).c_str(), &info) != 0)
        return;
    const auto entry = m_folders.find(FolderId{info.st_dev, info.st_ino});
    if (entry != m_folders.end())
        entry->second.names.add(nameOf(posixPath));
}
