// Fuzzes the MDF reader with everything that runs on a loaded layout: the
// conversion for both screens, the size and layout passes, the writer, the
// command line's gadget list, the records' member lookup and the primitives'
// corner operations.
//
// The reader takes a path, so each input is put into one in-memory file per
// process (a memfd, reached through /proc/self/fd) and rewritten for every run.
// Output files go beside a per-process name in the temporary folder and are
// removed at once, so a long run never fills the disk.
#include "BinaryOutStream.h"
#include "LumarcCommandLine.h"
#include "MdfLoader.h"
#include "MdfRoot.h"
#include "RlfConversion.h"
#include "RlfSave.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

// A broken invariant must stop the run where libFuzzer sees it as a crash.
void check(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "mdf_reader_fuzz: %s\n", what);
    std::abort();
}

class FuzzFiles
{
public:
    FuzzFiles()
    {
        const std::string pid = std::to_string(getpid());
        m_inputFd = memfd_create("mdf_reader_fuzz", 0);
        if (m_inputFd >= 0)
            m_inputPath = "/proc/self/fd/" + std::to_string(m_inputFd);
        else
        {
            // Without memfd the input is a plain file, removed at exit.
            m_inputPath = temporaryFolder() + "/mdf_reader_fuzz-" + pid + ".mdf";
            m_inputFd = ::open(m_inputPath.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
            m_inputIsFile = true;
        }
        check(m_inputFd >= 0, "cannot create the input file");
        m_outputPath = temporaryFolder() + "/mdf_reader_fuzz-" + pid + ".rlf";
        m_null = std::fopen("/dev/null", "w");
        check(m_null != nullptr, "cannot open /dev/null");
    }
    ~FuzzFiles()
    {
        if (m_inputIsFile)
            ::unlink(m_inputPath.c_str());
        ::close(m_inputFd);
        ::unlink(m_outputPath.c_str());
        std::fclose(m_null);
    }
    FuzzFiles(const FuzzFiles&) = delete;
    FuzzFiles& operator=(const FuzzFiles&) = delete;

    void setInput(const uint8_t* data, size_t size)
    {
        check(::ftruncate(m_inputFd, 0) == 0, "cannot truncate the input file");
        size_t done = 0;
        while (done < size)
        {
            const ssize_t n = ::pwrite(m_inputFd, data + done, size - done, static_cast<off_t>(done));
            check(n > 0, "cannot write the input file");
            done += static_cast<size_t>(n);
        }
    }

    // The length of the output file, -1 when there is none; removes it.
    [[nodiscard]] long long takeOutputLength() const
    {
        struct stat info = {};
        const long long length = ::stat(m_outputPath.c_str(), &info) == 0 ? info.st_size : -1;
        ::unlink(m_outputPath.c_str());
        return length;
    }

    [[nodiscard]] const std::string& inputPath() const { return m_inputPath; }
    [[nodiscard]] const std::string& outputPath() const { return m_outputPath; }
    [[nodiscard]] std::FILE* null() const { return m_null; }

private:
    static std::string temporaryFolder()
    {
        const char* folder = std::getenv("TMPDIR");
        return folder && *folder ? folder : "/tmp";
    }

    int m_inputFd = -1;
    bool m_inputIsFile = false;
    std::string m_inputPath;
    std::string m_outputPath;
    std::FILE* m_null = nullptr;
};

FuzzFiles& files()
{
    static FuzzFiles instance;
    return instance;
}

// Converts, lays out and writes with the writer's own stream; the file must
// be exactly as long as the size the conversion announced.
void convertAndWrite(const MdfRoot& model, int yOffset, bool littleEndian)
{
    std::unique_ptr<RlfFile> rlf = buildRlf(model, yOffset);
    const int64_t size = rlf->size();
    rlf->layout();
    check(rlf->size() == size, "layout() changed the size");
    BinaryOutStream stream;
    check(stream.open(files().outputPath(), "wb", littleEndian), "cannot open the output");
    const bool written = rlf->write(stream);
    const bool closed = stream.close();
    check(written && closed, "writing the render list failed");
    check(files().takeOutputLength() == size, "written length differs from size()");
}

// Saves as the command line does; the reported size must be the file's.
void saveAsCommandLine(const MdfRoot& model, int yOffset)
{
    int64_t reported = -1;
    const RlfSaveResult saved =
        saveRlf(model, yOffset, files().outputPath(), [&reported](int64_t bytes) { reported = bytes; });
    const long long length = files().takeOutputLength();
    if (saved.status != RlfSaveStatus::Saved)
    {
        // Only a list beyond the 2 GiB limit may be refused, and then no file is left.
        check(reported == -1 && length == -1, "a refused save left a file or reported a size");
        return;
    }
    check(reported == length, "reported size differs from the file");
}

// Walks a record's members by index and by tag: every member is found again
// by its own tag, and an index outside the table gives member 0.
void exerciseRecord(const ScriptFileRecord& record)
{
    const int count = record.childCount();
    for (int index = -1; index <= count; ++index)
    {
        const ScriptFileChunk& member = record.childAt(index);
        if (index < 0 || index >= count)
            check(&member == &record.childAt(0), "an index outside the table did not give member 0");
        else
            check(record.findChild(member.tag()) == &member, "a member is not found by its own tag");
    }
    check(record.findChild(ChunkTag("MDFROOT0")) == nullptr, "a record holds itself");
}

void exerciseRecords(const MdfRoot& model)
{
    exerciseRecord(model);
    exerciseRecord(model.fontTable);
    for (uint16_t i = 0; i < model.gadgets.count(); ++i)
        exerciseRecord(model.gadgets.at(i));
}

// The editor's corner operations on every loaded primitive; done last, as
// they reorder the model's vertices.
void exerciseCorners(MdfRoot& model)
{
    for (uint16_t i = 0; i < model.gadgets.count(); ++i)
    {
        for (const std::unique_ptr<MdfPrimList>& list : model.gadgets.at(i).prims.lists.items)
        {
            for (Ostrel_ScriptFilePrim_Base& prim : list->primitives)
            {
                PrimBounds before;
                prim.getBounds(before);
                prim.normaliseOrder();
                prim.rotateCorners();
                prim.swapCorners();
                PrimBounds after;
                prim.getBounds(after);
                check(before == after, "reordering the corners changed the bounds");
                (void)prim.maskedCornerBits();
                (void)prim.cornerBit5Clear();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzFiles& io = files();
    io.setInput(data, size);

    MdfLoadResult loaded = loadMdf(io.inputPath());
    const std::vector<std::string> listArgs{"--list", io.inputPath()};
    const int listStatus = runLumarcCommandLine(listArgs, io.null(), io.null());
    if (loaded.status != MdfLoadStatus::Loaded)
    {
        check(loaded.status == MdfLoadStatus::Unreadable, "an existing input could not be opened");
        check(!loaded.message.empty() && !loaded.model, "a refused input left a model or no message");
        check(listStatus == kExitFailed, "--list accepted an input the loader refused");
        return 0;
    }
    check(loaded.model != nullptr, "loaded without a model");
    check(listStatus == kExitOk, "--list refused an input the loader accepted");

    convertAndWrite(*loaded.model, 0, true);
    convertAndWrite(*loaded.model, kPsxYOffset, false);
    saveAsCommandLine(*loaded.model, kPsxYOffset);
    exerciseRecords(*loaded.model);
    exerciseCorners(*loaded.model);
    return 0;
}
