#include "TbkinfoCommandLine.h"

#include "BankExtract.h"
#include "StreamText.h"
#include "BankFieldText.h"
#include "BankJson.h"
#include "BankReader.h"
#include "BankText.h"
#include "StandardOutput.h"
#include "WholeFile.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace tbk
{
namespace
{

constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kUsageError = 2;

// Far more than a bank can hold (VRAM is 1 MiB), and a bound on what is read
// into memory.
constexpr uint64_t kLongestBank = uint64_t{1} << 30;

constexpr std::string_view kUsage =
    "usage: tbkinfo [--json] BANK.TBK\n"
    "       tbkinfo --extract DIR BANK.TBK\n"
    "Prints what a texture bank holds: the header, each page group (columns,\n"
    "lines, records, occupancy = image area / group area) and each record\n"
    "(form, tag, Id, pixel mode, transparency, image and CLUT positions, size).\n"
    "Text: \"key: value\" header lines, then \"group N:\" lines and indented\n"
    "\"record N.M:\" lines of key=value fields in a fixed order, then\n"
    "\"warning: offset=N\" lines for images or CLUTs outside their area.\n"
    "  --json     print one JSON document instead\n"
    "  --extract DIR\n"
    "             write each record as a TIM image and a PNG preview into DIR\n"
    "             (made if missing; its parent must exist), named by group,\n"
    "             record and Id (g1-r03-id0007.tim/.png), and list their paths;\n"
    "             a damaged bank writes nothing\n"
    "  --help     print this text\n"
    "  --version  print the version\n"
    "Exit status: 0 read, 1 cannot be read or damaged (the byte is named) or a\n"
    "file cannot be written, 2 usage.\n";


struct Options
{
    bool json = false;
    bool help = false;
    bool version = false;
    std::optional<std::string> extractFolder;
    std::vector<std::string_view> files;
    bool bad = false;
};

Options parseArguments(std::span<const std::string_view> args)
{
    Options options;
    bool onlyFiles = false;
    bool folderNext = false;
    for (const std::string_view arg : args)
    {
        if (folderNext)
        {
            options.extractFolder = std::string(arg);
            folderNext = false;
        }
        else if (onlyFiles || arg.empty() || arg == "-" || arg.front() != '-')
            options.files.push_back(arg);
        else if (arg == "--")
            onlyFiles = true;
        else if (arg == "--json")
            options.json = true;
        else if (arg == "--extract")
        {
            options.bad = options.bad || options.extractFolder.has_value();
            folderNext = true;
        }
        else if (arg == "--help")
            options.help = true;
        else if (arg == "--version")
            options.version = true;
        else
            options.bad = true;
    }
    options.bad = options.bad || folderNext || options.files.size() != 1 ||
                  (options.json && options.extractFolder.has_value());
    return options;
}

} // namespace

int runTbkinfo(std::span<const std::string_view> args, std::FILE* out, std::FILE* err)
{
    const Options options = parseArguments(args);
    if (options.help)
    {
        std::fwrite(kUsage.data(), 1, kUsage.size(), out);
        return outputReached(out, err, "tbkinfo") ? kSuccess : kFailure;
    }
    if (options.version)
    {
        std::fputs("tbkinfo 1.0\n", out);
        return outputReached(out, err, "tbkinfo") ? kSuccess : kFailure;
    }
    if (options.bad)
    {
        writeMessage(err, kUsage);
        return kUsageError;
    }
    const std::string path(options.files.front());
    const WholeFile file = readWholeFile(path, kLongestBank);
    if (file.status != WholeFileStatus::Read)
    {
        MessageText reason;
        if (file.status == WholeFileStatus::TooLong)
            reason << "longer than " << kLongestBank << " bytes, more than a texture bank holds";
        else
            reason << file.reason;
        writeMessage(err, std::string(MessageText{} << "tbkinfo: cannot open " << path << ": " << std::string(reason)
                                             << "\n"));
        return kFailure;
    }
    const BankReadResult result = readBank(file.bytes);
    if (result.damage)
    {
        writeMessage(err,
              std::string(MessageText{} << "tbkinfo: " << path << " is damaged at byte "
                                        << result.damage->offset << ": " << result.damage->what << "\n"));
        return kFailure;
    }
    if (options.extractFolder)
        return extractBank(result.bank, file.bytes, path, *options.extractFolder, out, err);
    // A report cut short by a full disk or a closed pipe must not pass for a whole one.
    if (!writeText(out, options.json ? bankJson(result.bank, path) : bankText(result.bank, path)))
    {
        writeMessage(err, std::string("tbkinfo: cannot write the report: ") + std::strerror(errno) + "\n");
        return kFailure;
    }
    return kSuccess;
}

} // namespace tbk
