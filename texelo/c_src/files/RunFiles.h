#pragma once

#include "files/FolderListing.h"
#include "files/PathLookup.h"
#include "files/RunOutput.h"

#include <sys/types.h>

#include <ctime>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// Whether a file the run reads must be there. A required file that is
// missing makes a build tool rerun the script until it appears; an optional
// one (a place only looked in) is remembered through the folder that would
// hold it, so a run that did not need it leaves the build up to date, and
// creating it still triggers a rebuild.
enum class Presence : uint8_t
{
    Required,
    Optional,
    Undecided, // a missing file is not remembered: the caller says later which it was
};

// What reading a script-named file gave.
struct FileRead
{
    bool found = false;
    std::string path; // where it was found, or would be (PathLookup)
    std::optional<std::vector<uint8_t>> bytes;
    std::string failure; // why not read: the system's reason, or that it is too long
};

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

    // Reads a script-given path whole (PathLookup.h's readWholeFile). The
    // path found is a prerequisite; when there is none, the path it would be
    // found at (Required) or the nearest existing folder on the way to it
    // (Optional) is.
    [[nodiscard]] FileRead read(std::string_view path, Presence presence = Presence::Required);
    // read(path).bytes.
    [[nodiscard]] std::optional<std::vector<uint8_t>> readWholeFile(std::string_view path);
    // A file the run needed and found nowhere, as a lookup named it: its
    // absence keeps a build rerunning the script.
    void noteMissing(const std::string& path);
    // A place only looked in, as a lookup named it: the nearest existing
    // folder on the way to it.
    void noteLookedIn(const std::string& path);

    // The names FILES matches (findMatchingFiles). The folder searched is a
    // prerequisite, since adding a matching file changes it; the matches
    // become prerequisites when they are opened.
    [[nodiscard]] std::vector<std::string> findMatchingFiles(std::string_view folderAndPattern);

    // The run has written the file at `posixPath`: it is a target, and it is
    // added to the listing of its folder so that later lookups see it.
    void noteWritten(const std::string& posixPath);

    // A dry run writes nothing: its outputs only check that they could be
    // written.
    void setDryRun(bool dryRun) { m_dryRun = dryRun; }
    [[nodiscard]] RunOutput output() const { return RunOutput(m_dryRun); }

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
    bool m_dryRun = false;
};
