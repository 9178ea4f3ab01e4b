#pragma once

// The dependency file a build tool (Make, Ninja, CMake's DEPFILE) reads after
// a run: one rule whose targets are the files the run wrote and whose
// prerequisites are the files it read or looked for.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class RunFiles;

// A path as Make and Ninja read it back: a blank, '#' and ':' after a
// backslash, '$' doubled.
[[nodiscard]] std::string escapeForDependencyFile(std::string_view path);

// "targets: prerequisites", then an empty rule for each prerequisite so that
// Make does not stop when one of them has gone (a texture that was removed,
// a candidate path that never existed). Without a target there is no rule to
// give, and the text is empty: a build tool then learns nothing and reruns
// the command because the outputs it expects are missing.
[[nodiscard]] std::string dependencyFileText(const std::vector<std::string>& targets,
                                             const std::vector<std::string>& prerequisites);

// Writes the run's dependency file to `path` as a whole or not at all;
// empty when written, otherwise why not (the system's reason). A name with a line break cannot be
// written in the format, and nothing is written then.
[[nodiscard]] std::optional<std::string> writeDependencyFile(const std::string& path, const RunFiles& files);
