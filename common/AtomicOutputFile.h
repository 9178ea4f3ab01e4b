#pragma once

#include <cstdio>
#include <string>

// An output file that appears at its path only when complete. The bytes go
// to a temporary file beside the target; commit() moves it into place when
// every write, the flush and the close succeeded. A file that is never
// committed, or whose commit fails, leaves no trace and leaves any earlier
// file at the target untouched.
class AtomicOutputFile
{
public:
    AtomicOutputFile() = default;
    AtomicOutputFile(const AtomicOutputFile&) = delete;
    AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;
    ~AtomicOutputFile() { discard(); }

    // False when the target cannot be written: its folder is missing or not
    // writable, or it is a folder or a read-only file. `fileMode` is a
    // C-library write mode such as "wb".
    [[nodiscard]] bool open(const std::string& path, const char* fileMode = "wb");
    // Completes the file; true when it is in place. True when not open.
    bool commit();
    // Abandons the file.
    void discard();

    [[nodiscard]] bool isOpen() const { return m_file != nullptr; }
    // The open temporary file, for writing; nullptr when not open.
    [[nodiscard]] std::FILE* file() const { return m_file; }
    // Marks the file as failed, so that commit() refuses it.
    void setFailed() { m_failed = true; }
    [[nodiscard]] bool failed() const { return m_failed; }
    // The errno of the step that failed in open(), write() or commit(); 0
    // when none has failed since open().
    [[nodiscard]] int error() const { return m_error; }

    // What open() would refuse `path` for, without making anything: the
    // errno of a target that may not be replaced or a folder that cannot
    // take a new file; 0 when it would be opened.
    [[nodiscard]] static int refusalOf(const std::string& path);

    // Writes all of `size` bytes; false (and failed) when they cannot be.
    bool write(const void* data, std::size_t size);

private:
    std::FILE* m_file = nullptr;
    bool m_failed = false;
    int m_error = 0;
    std::string m_targetPath;
    std::string m_tempPath;
};
