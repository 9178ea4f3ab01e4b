#pragma once

#include "ScriptFileHandle.h"
#include "ScriptFileStream.h"

#include <memory>
#include <string>
#include <vector>

// A stream over a file on disk, read through buffered stdio in large chunks
// (a layout is read a few bytes at a time, and a call into stdio per field
// would dominate the load). It knows the file's length from the start, so a
// read or skip that would pass the end is refused before it touches the file.
class ScriptFileDiskStream final : public ScriptFileStream
{
public:
    // Opens `path` for binary reading; when the open fails, the stream keeps
    // no handle (see hasHandle()).
    explicit ScriptFileDiskStream(const std::string& path);
    ~ScriptFileDiskStream() override;

    using ScriptFileStream::read16;
    ScriptFileStream& read16(uint16_t& value) override;
    ScriptFileStream& read32(uint32_t& value) override;
    ScriptFileStream& read8(uint8_t& value) override;
    int readBytes(void* buffer, uint32_t n) override;
    int skip(uint32_t n) override;

    [[nodiscard]] bool hasHandle() const { return m_handle != nullptr; }
    // The file's length in bytes; -1 when the handle has no open file, 0 when
    // there is no handle.
    [[nodiscard]] long long length() const;

    [[nodiscard]] uint64_t position() const override { return m_position; }
    [[nodiscard]] uint64_t remaining() const override;

private:
    // Reads exactly n bytes or fails the stream; false when nothing was read.
    bool readExactly(unsigned char* buffer, uint32_t n);
    // Refills the chunk from the file; false when the file gave nothing.
    bool refill();
    [[nodiscard]] std::size_t buffered() const { return m_chunkEnd - m_chunkPos; }

    std::unique_ptr<ScriptFileHandle> m_handle;
    uint64_t m_length = 0;
    uint64_t m_position = 0;
    std::vector<unsigned char> m_chunk;
    std::size_t m_chunkPos = 0;
    std::size_t m_chunkEnd = 0;
};
