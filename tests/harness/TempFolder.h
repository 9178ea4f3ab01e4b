#pragma once

// A private scratch folder for one test, removed with everything in it (also
// what the test made read-only) when the test ends. A folder that cannot be
// made fails the test, so no test runs silently against nothing.

#include "Bytes.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "psx-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            ADD_FAILURE() << "cannot create a scratch folder";
        else
            m_path = pattern;
    }
    ~TempFolder()
    {
        namespace fs = std::filesystem;
        std::error_code ignored;
        if (m_path.empty())
            return;
        for (const auto& entry : fs::recursive_directory_iterator(m_path, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    [[nodiscard]] const std::string& path() const { return m_path; }
    // The path of `relative` (slash-separated) inside the folder.
    [[nodiscard]] std::string file(std::string_view relative) const
    {
        return m_path + "/" + std::string(relative);
    }
    // Writes `relative`, making its folders; returns its path.
    std::string write(std::string_view relative, const Bytes& bytes) const
    {
        const std::string path = file(relative);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        EXPECT_TRUE(writeFileBytes(path, bytes)) << "cannot write " << path;
        return path;
    }
    std::string write(std::string_view relative, std::string_view text) const
    {
        return write(relative, Bytes(text.begin(), text.end()));
    }
    [[nodiscard]] Bytes read(std::string_view relative) const { return readFileBytes(file(relative)); }
    [[nodiscard]] std::string text(std::string_view relative) const
    {
        const Bytes bytes = read(relative);
        return std::string(bytes.begin(), bytes.end());
    }
    [[nodiscard]] bool exists(std::string_view relative) const
    {
        std::error_code ignored;
        return std::filesystem::exists(file(relative), ignored);
    }
    // The names directly inside the folder, or its folder `relative`, sorted.
    [[nodiscard]] std::vector<std::string> entries(std::string_view relative = "") const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(file(relative)))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string m_path;
};

// Makes `folder` the working folder until the end of the scope: the engine
// resolves script-named files against it.
class WorkingFolder
{
public:
    explicit WorkingFolder(const std::string& folder) : m_previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~WorkingFolder()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
    }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    std::filesystem::path m_previous;
};
