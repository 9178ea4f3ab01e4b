#pragma once

// The files room owns finding the files scripts name and reading them whole:
// backslashes, any letter case, and the wildcard search of FILES.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Scripts name files the way their authors' machines did: backslashes as
// separators and names in upper case. These helpers find such files on a
// case-sensitive POSIX file system.

// The path with every backslash turned into a slash.
[[nodiscard]] std::string toPosixPath(std::string_view path);

// The existing file a script's path means: the exact path first, otherwise
// each component matched case-insensitively against its folder (first match
// in name order). Empty when nothing matches.
[[nodiscard]] std::string resolveExistingPath(std::string_view path);

// The longest file a script may name: far beyond any picture a bank or
// backdrop can take, short of what reading it whole would do to a machine.
inline constexpr uint64_t kLongestInput = uint64_t{1} << 32;
// How a lookup ended: the file found, or, when there is none, the path as far
// as its folders exist (with their real letter case) followed by the rest as
// the script formed it; that is where the file would be found once created.
struct PathLookup
{
    bool found = false;
    std::string path;
};

// The entry of `folder` equal to `name` ignoring letter case that comes first
// in name order; empty when there is none.
using FindIgnoringCase = std::function<std::string(const std::string& folder, std::string_view name)>;

// resolveExistingPath with the case-blind match of a component left to
// `findIgnoringCase`.
[[nodiscard]] PathLookup lookUpPath(std::string_view path, const FindIgnoringCase& findIgnoringCase);

// The whole regular file a script's path means, or nothing when it cannot be
// found, is no regular file, is longer than kLongestInput or cannot be read.
[[nodiscard]] std::optional<std::vector<uint8_t>> readWholeFile(std::string_view path);
// The same for a path lookUpPath found.
[[nodiscard]] std::optional<std::vector<uint8_t>> readExistingFile(const std::string& resolvedPath);

// Names of the files (not folders) in the folder of `folderAndPattern` whose
// names match its last component, with `*` and `?` matched ignoring letter
// case; in case-insensitive name order, each with its own letter case.
[[nodiscard]] std::vector<std::string> findMatchingFiles(std::string_view folderAndPattern);

// A FILES argument taken apart: the folder as the script gave it ("" for the
// working folder, else ending in '/') and the pattern of names.
struct WildcardSearch
{
    std::string folder;
    std::string pattern;
};
[[nodiscard]] WildcardSearch splitWildcardSearch(std::string_view folderAndPattern);
// findMatchingFiles in an existing folder; nothing for "".
[[nodiscard]] std::vector<std::string> matchingFilesIn(const std::string& folder, std::string_view pattern);

// Compares ASCII letters ignoring case.
[[nodiscard]] bool equalsIgnoringCase(std::string_view a, std::string_view b);
// True when `part` stands somewhere in `text`, ASCII letters compared ignoring case.
[[nodiscard]] bool containsIgnoringCase(std::string_view text, std::string_view part);

// `*` any run, `?` one character, everything else ignoring ASCII case.
[[nodiscard]] bool wildcardMatch(std::string_view pattern, std::string_view name);
