#pragma once

#include <cstdio>
#include <string>

// Owns one C stdio file and remembers the mode it was opened with.
class ScriptFileHandle
{
public:
    // Open modes by index; kModeNone means the handle has never been opened.
    enum OpenMode : int
    {
        kReadText = 0,      // "rt"
        kReadBinary = 1,    // "rb"
        kWriteText = 2,     // "wt"
        kWriteBinary = 3,   // "wb"
        kUpdateText = 4,    // "r+t"
        kUpdateBinary = 5,  // "r+b"
        kCreateText = 6,    // "w+t"
        kCreateBinary = 7,  // "w+b"
        kAppendText = 8,    // "a+t"
        kAppendBinary = 9,  // "a+b"
        kModeNone = 10,
    };

    ScriptFileHandle() = default;
    ScriptFileHandle(const ScriptFileHandle&) = delete;
    ScriptFileHandle& operator=(const ScriptFileHandle&) = delete;
    ~ScriptFileHandle() { close(); }

    // Closes an open file first; records the new mode index. An index
    // outside 0..9 opens nothing.
    [[nodiscard]] bool open(const std::string& path, int modeIndex);
    void close();

    [[nodiscard]] std::FILE* file() const { return m_file; }
    [[nodiscard]] int modeIndex() const { return m_modeIndex; }

    [[nodiscard]] static const char* modeText(int modeIndex);

private:
    std::FILE* m_file = nullptr;
    int m_modeIndex = kModeNone;
};
