// libFuzzer target for ReadPaletteFile: every input is written to one
// temporary file of this process and read back as a palette in whichever
// format its content selects.
#include "convert/PaletteSet.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

// The scratch file, made on first use and removed when the process ends.
class ScratchFile
{
public:
    ScratchFile()
    {
        const char* folder = std::getenv("TMPDIR");
        m_path = std::string(folder && *folder ? folder : "/tmp") + "/palette_fuzz_XXXXXX";
        const int handle = mkstemp(m_path.data());
        if (handle < 0)
        {
            std::perror("palette_reader_fuzz: mkstemp");
            std::abort();
        }
        close(handle);
    }
    ~ScratchFile() { std::remove(m_path.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    [[nodiscard]] const std::string& path() const { return m_path; }

    void write(const uint8_t* data, std::size_t size) const
    {
        std::FILE* file = std::fopen(m_path.c_str(), "wb");
        if (!file || (size > 0 && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0)
        {
            std::perror("palette_reader_fuzz: writing the scratch file");
            std::abort();
        }
    }

private:
    std::string m_path;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const ScratchFile scratch;
    scratch.write(data, size);
    RunFiles files;
    const std::optional<PaletteImage> image = ReadPaletteFile(files, scratch.path());
    if (!image)
        std::abort(); // the file exists, so it must always be read
    return 0;
}
