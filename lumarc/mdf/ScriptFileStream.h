#pragma once

#include <cstdint>

class ChunkArena;
#include <string>
#include <utility>

// The byte source every chunk reads itself from. Multi-byte values are
// little-endian. A read or skip that cannot be completed puts the stream into
// a sticky failed state and changes nothing: the out value keeps what it held,
// and every later read and skip does nothing. Readers check `failed()` after
// reading to stop early; the failure keeps what went wrong and where.
class ScriptFileStream
{
public:
    ScriptFileStream() = default;
    ScriptFileStream(const ScriptFileStream&) = delete;
    ScriptFileStream& operator=(const ScriptFileStream&) = delete;

    virtual ScriptFileStream& read16(uint16_t& value) = 0;
    virtual ScriptFileStream& read32(uint32_t& value) = 0;
    virtual ScriptFileStream& read8(uint8_t& value) = 0;
    // Returns n when all n bytes were read, 0 when fewer were available, -1
    // when there is no open file.
    virtual int readBytes(void* buffer, uint32_t n) = 0;
    // Moves n bytes forward; 0 on success (and when there is no open file).
    virtual int skip(uint32_t n) = 0;
    virtual ~ScriptFileStream() = default;

    ScriptFileStream& read16(int16_t& value);

    // Bytes consumed so far and bytes left before the end of the data.
    [[nodiscard]] virtual uint64_t position() const = 0;
    [[nodiscard]] virtual uint64_t remaining() const = 0;

    // Fails the stream unless `bytes` more bytes are available; readers call
    // it before allocating storage that a count from the file asks for.
    [[nodiscard]] bool require(uint64_t bytes);

    // Puts the stream into the failed state; the first failure is kept.
    void fail(std::string reason, uint64_t offset);
    void fail(std::string reason) { fail(std::move(reason), position()); }

    [[nodiscard]] bool failed() const { return m_failed; }
    [[nodiscard]] const std::string& failureReason() const { return m_failureReason; }
    [[nodiscard]] uint64_t failureOffset() const { return m_failureOffset; }

    // Where lists read from this stream keep their items: the arena of the
    // model being read, which outlives them; null for their own storage.
    void setItemArena(ChunkArena* arena) { m_itemArena = arena; }
    [[nodiscard]] ChunkArena* itemArena() const { return m_itemArena; }

protected:
    static constexpr const char* kEndOfData = "unexpected end of file";

private:
    bool m_failed = false;
    std::string m_failureReason;
    uint64_t m_failureOffset = 0;
    ChunkArena* m_itemArena = nullptr;
};
