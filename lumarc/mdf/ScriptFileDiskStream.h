#pragma once

#include "ByteReader.h"
#include "ScriptFileHandle.h"
#include "ScriptFileStream.h"

#include <memory>
#include <string>
#include <vector>

// A stream over a file on disk, read through buffered stdio in large chunks
// (a layout is read a few bytes at a time, and a call into stdio per field
// would dominate the load). Fields are decoded from the chunk through the
// common byte reader. It knows the file's length from the start, so a read or
// skip that would pass the end is refused before it touches the file.
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
    // The errno of the failed open; 0 when the file opened.
    [[nodiscard]] int openError() const { return m_openError; }
    // The file's length in bytes; -1 when the handle has no open file, 0 when
    // there is no handle.
    [[nodiscard]] long long length() const;

    [[nodiscard]] uint64_t position() const override { return m_block.offset(); }
    [[nodiscard]] uint64_t remaining() const override;

private:
    // Reads exactly n bytes or fails the stream; false when nothing was read.
    bool readExactly(unsigned char* buffer, uint32_t n);
    // Reads one little-endian field of `Width` bytes with `decode`; the value
    // is left as it was when the read fails.
    template <std::size_t Width, typename Value, typename Decode>
    void readField(Value& value, Decode decode);
    // Refills the chunk from the file; false when the file gave nothing.
    bool refill();

    std::unique_ptr<ScriptFileHandle> m_handle;
    int m_openError = 0;
    uint64_t m_length = 0;
    std::vector<uint8_t> m_chunk;
    // The chunk's bytes not read yet, never past the file's length; its
    // offsets, and so position(), are the file's.
    ByteReader m_block{{}};
};
