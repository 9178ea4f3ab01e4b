#pragma once

// A scratch folder for one test, removed with everything in it at the end.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "texelo_test_XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            ADD_FAILURE() << "cannot create a scratch folder";
        m_path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    [[nodiscard]] const std::string& path() const { return m_path; }

    // Writes `bytes` to `relative` (slash-separated), making its folders.
    std::string write(std::string_view relative, const std::vector<uint8_t>& bytes) const
    {
        const std::filesystem::path file = std::filesystem::path(m_path) / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }
    std::string write(std::string_view relative, std::string_view text) const
    {
        return write(relative, std::vector<uint8_t>(text.begin(), text.end()));
    }
    void makeFolder(std::string_view relative) const
    {
        std::filesystem::create_directories(std::filesystem::path(m_path) / relative);
    }

private:
    std::string m_path;
};
