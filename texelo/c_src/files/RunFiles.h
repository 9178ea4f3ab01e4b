#pragma once

#include "files/FolderListing.h"
#include "files/PathLookup.h"

#include <sys/types.h>

#include <ctime>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// The files of one script run. Every stage that opens a file does it here:
// lookups find script-named files as PathLookup.h does, but a folder is read
// at most once for the case-blind part (a level looks up hundreds of
// upper-cased texture names in one folder), and the run's reads and writes
// are remembered for the dependency file a build tool asks for.
class RunFiles
{
public:
    // Where a script-given path leads, as lookUpPath says; records nothing.
    [[nodiscard]] PathLookup lookUp(std::string_view path);

    // Reads a script-given path whole (PathLookup.h's readWholeFile); nothing
    // when there is no such file. Either way the path found, or the one it
    // would be found at, is a prerequisite: creating the missing file must
    // make a build tool rerun.
    [[nodiscard]] std::optional<std::vector<uint8_t>> readWholeFile(std::string_view path);

    // The names FILES matches (findMatchingFiles). The folder searched is a
    // prerequisite, since adding a matching file changes it; the matches
    // become prerequisites when they are opened.
    [[nodiscard]] std::vector<std::string> findMatchingFiles(std::string_view folderAndPattern);

    // The run has written the file at `posixPath`: it is a target, and it is
    // added to the listing of its folder so that later lookups see it.
    void noteWritten(const std::string& posixPath);

    // In the order first met, each once.
    [[nodiscard]] const std::vector<std::string>& prerequisites() const { return m_prerequisites.items; }
    [[nodiscard]] const std::vector<std::string>& targets() const { return m_targets.items; }

private:
    struct FolderId
    {
        dev_t device;
        ino_t inode;
        auto operator<=>(const FolderId&) const = default;
    };
    struct OrderedSet
    {
        void add(const std::string& item);
        std::vector<std::string> items;
        std::unordered_set<std::string> seen;
    };

    [[nodiscard]] std::string findIgnoringCase(const std::string& folder, std::string_view name);

    // A folder as last read, and its modification time then.
    struct ReadFolder
    {
        FolderListing names;
        timespec modified{};
        bool settled = false; // modified long enough before it was read
    };

    std::map<FolderId, ReadFolder> m_folders;
    OrderedSet m_prerequisites;
    OrderedSet m_targets;
};
