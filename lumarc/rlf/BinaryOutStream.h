#pragma once

#include "AtomicOutputFile.h"

#include <cstdint>
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
    // Abandons the file: removes the temporary file, keeps the target.
    void discard();

    bool writeU8(uint8_t value);
    bool writeU16(uint16_t value);
    bool writeU32(uint32_t value);

    [[nodiscard]] bool isOpen() const { return m_output.isOpen(); }
    [[nodiscard]] bool littleEndian() const { return m_littleEndian; }
    // True once any write has failed since open().
    [[nodiscard]] bool failed() const { return m_output.failed(); }

private:
    bool writeBytes(uint32_t value, int count);

    AtomicOutputFile m_output;
    bool m_littleEndian = false;
};
