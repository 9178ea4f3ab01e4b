#include "BankExtract.h"

#include "AtomicOutputFile.h"
#include "BankFieldText.h"
#include "RecordImage.h"
#include "StreamText.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <iomanip>
#include <sstream>

namespace tbk
{
namespace
{

std::string recordName(std::size_t group, std::size_t record, uint32_t id)
{
    std::ostringstream name;
    name << 'g' << group << "-r" << std::setfill('0') << std::setw(2) << record << "-id" << std::setw(4)
         << id;
    return name.str();
}


// An existing folder, or one made now; false after a message on `err`.
bool ensureFolder(const std::string& folder, std::FILE* err)
{
    struct stat info
    {
    };
    if (stat(folder.c_str(), &info) == 0)
    {
        if (S_ISDIR(info.st_mode))
            return true;
        writeMessage(err, MessageText{} << "tbkinfo: cannot extract into " << folder << ": Not a directory\n");
        return false;
    }
    if (mkdir(folder.c_str(), 0777) == 0)
        return true;
    writeMessage(err, MessageText{} << "tbkinfo: cannot create folder " << folder << ": " << std::strerror(errno)
                             << "\n");
    return false;
}

} // namespace

std::optional<Extraction> prepareExtraction(const Bank& bank, std::span<const uint8_t> bytes,
                                            std::string& error)
{
    Extraction extraction;
    for (std::size_t g = 0; g < bank.groups.size(); ++g)
    {
        const std::vector<BankRecord>& records = bank.groups[g].records;
        for (std::size_t r = 0; r < records.size(); ++r)
        {
            const std::string name = recordName(g + 1, r + 1, records[r].id);
            std::string why;
            std::optional<std::vector<uint8_t>> tim = standardTim(records[r], bytes, why);
            std::optional<RgbaPicture> preview = recordPreview(records[r], bytes, why);
            if (!tim || !preview)
            {
                error = MessageText{} << name << ": " << why;
                return std::nullopt;
            }
            extraction.files.push_back({name + ".tim", std::move(*tim)});
            if (preview->width == 0 || preview->height == 0)
            {
                extraction.notes.push_back(MessageText{} << name << " has no pixels: no preview");
                continue;
            }
            std::optional<std::vector<uint8_t>> png = encodePng(*preview, why);
            if (!png)
            {
                error = MessageText{} << name << ": " << why;
                return std::nullopt;
            }
            extraction.files.push_back({name + ".png", std::move(*png)});
        }
    }
    return extraction;
}

int writeExtraction(const Extraction& extraction, const std::string& folder, std::FILE* out, std::FILE* err)
{
    if (!ensureFolder(folder, err))
        return 1;
    for (const std::string& note : extraction.notes)
        writeMessage(err, "tbkinfo: " + note + "\n");
    const std::string prefix = folder.ends_with('/') ? folder : folder + "/";
    for (const ExtractedFile& file : extraction.files)
    {
        const std::string path = prefix + file.name;
        AtomicOutputFile output;
        errno = 0;
        if (!output.open(path) || !output.write(file.bytes.data(), file.bytes.size()) || !output.commit())
        {
            const int cause = errno;
            output.discard();
            writeMessage(err,
                  MessageText{} << "tbkinfo: cannot write " << path
                                << (cause != 0 ? std::string(": ") + std::strerror(cause) : std::string())
                                << "\n");
            return 1;
        }
        if (!writeText(out, path + "\n"))
        {
            writeMessage(err, std::string("tbkinfo: cannot write the list of files: ") + std::strerror(errno) + "\n");
            return 1;
        }
    }
    return 0;
}

int extractBank(const Bank& bank, std::span<const uint8_t> bytes, const std::string& bankPath,
                const std::string& folder, std::FILE* out, std::FILE* err)
{
    std::string error;
    const std::optional<Extraction> extraction = prepareExtraction(bank, bytes, error);
    if (!extraction)
    {
        writeMessage(err, MessageText{} << "tbkinfo: cannot extract " << bankPath << ": " << error << "\n");
        return 1;
    }
    return writeExtraction(*extraction, folder, out, err);
}

} // namespace tbk
