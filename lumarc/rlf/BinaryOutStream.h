#pragma once

#include "AtomicOutputFile.h"

#include <cstdint>
#include <memory>
#include <string>

// A binary output file in a chosen byte order. The bytes go to a temporary
// file beside the target; close() moves it into place only when every write,
// the flush and the close succeeded, so a failed write never leaves a
// truncated file behind or damages the file it was meant to replace.
class BinaryOutStream
{
public:
    BinaryOutStream() = default;
    BinaryOutStream(const BinaryOutStream&) = delete;
    BinaryOutStream& operator=(const BinaryOutStream&) = delete;
    // A stream still open here was never completed: its temporary file is
    // removed and the target is left as it was.
    ~BinaryOutStream() = default;

    // Prepares to write `path` (created or replaced on close) with the
    // C-library write mode `fileMode`, e.g. "wb". False when the target
    // cannot be written: its folder is missing or not writable, or it is a
    // folder or a read-only file.
    [[nodiscard]] bool open(const std::string& path, const char* fileMode, bool littleEndian);
    // Completes the file: true when it is in place with every byte written.
    // Harmless (and true) when the stream is not open.
    bool close();

    // Writes bytes already in the stream's byte order (see putValue).
    bool writeRaw(const uint8_t* bytes, std::size_t count);
    // Stores `value` in `Count` bytes at `out` in the stream's byte order,
    // for records that are assembled first and written with one writeRaw.
    template <int Count>
    void putValue(uint8_t* out, uint32_t value) const
    {
        const bool littleEndian = m_littleEndian;
        for (int i = 0; i < Count; ++i)
            out[i] = static_cast<uint8_t>(value >> (littleEndian ? 8 * i : 8 * (Count - 1 - i)));
    }

    bool writeU8(uint8_t value) { return writeBytes<1>(value); }
    bool writeU16(uint16_t value) { return writeBytes<2>(value); }
    bool writeU32(uint32_t value) { return writeBytes<4>(value); }

    [[nodiscard]] bool isOpen() const { return m_output.isOpen(); }
    // True once any write has failed since open().
    [[nodiscard]] bool failed() const { return m_output.failed(); }
    // The errno of the failed open, write or close; 0 when none failed.
    [[nodiscard]] int error() const { return m_output.error(); }

private:
    template <int Count>
    bool writeBytes(uint32_t value)
    {
        if (m_pendingSize + Count > m_room && !makeRoom())
            return false;
        putValue<Count>(m_pending.get() + m_pendingSize, value);
        m_pendingSize += Count;
        return true;
    }
    // Hands the collected bytes to the file; false once a write has failed.
    bool flush();
    // Empties the block for more values; false when the stream cannot take
    // any (not open, or a write has failed).
    bool makeRoom();

    AtomicOutputFile m_output;
    bool m_littleEndian = false;
    // Values are collected here and written in large blocks: a call into
    // stdio per byte would dominate the save of a large list.
    static constexpr std::size_t kBlockSize = 1 << 16;
    std::unique_ptr<uint8_t[]> m_pending = std::make_unique<uint8_t[]>(kBlockSize);
    std::size_t m_pendingSize = 0;
    std::size_t m_room = 0; // kBlockSize while values can be taken, else 0
};
