#include "RlfSave.h"

#include "BinaryOutStream.h"
#include "RlfConversion.h"

#include <cerrno>
#include <limits>

namespace
{
// Offsets in the file are 32-bit and the reported size a signed 32-bit
// number; a larger list cannot be stored faithfully.
constexpr int64_t kLargestFile = std::numeric_limits<int32_t>::max();
} // namespace

RlfSaveResult saveRlf(const MdfRoot& model, int yOffset, const std::string& path, const RlfSizeReport& reportSize)
{
    RlfSaveResult result;
    BinaryOutStream stream;
    if (!stream.open(path, "wb", true))
    {
        result.status = RlfSaveStatus::CannotOpen;
        result.message = "Couldn't open file for writing";
        result.error = stream.error();
        return result;
    }
    std::unique_ptr<RlfFile> rlf = buildRlf(model, yOffset);
    const int64_t size = rlf->size();
    if (size > kLargestFile)
    {
        result.status = RlfSaveStatus::WriteFailed;
        result.message = "Couldn't write RLF file: " + std::to_string(size) + " bytes is above the 2 GiB limit";
        result.error = EFBIG;
        return result;
    }
    if (reportSize)
        reportSize(size);
    rlf->layout();
    const bool written = rlf->write(stream);
    if (!stream.close() || !written)
    {
        result.status = RlfSaveStatus::WriteFailed;
        result.message = "Couldn't write RLF file";
        result.error = stream.error();
        return result;
    }
    result.status = RlfSaveStatus::Saved;
    return result;
}
